// Installing the emulator as the program's HID backend (the demo mode). Kept in its own file: it is the only
// part of the emulator that needs the HID layer's backend registry.

#include "emulator/emulator.h"

namespace norvane::emulator {

std::shared_ptr<EmulatorBackend> InstallEmulator(std::string_view list, std::string* error) {
  std::shared_ptr<EmulatorBackend> backend = EmulatorBackend::FromList(list, error);
  if (backend) hid::SetActiveHidBackend(backend);
  return backend;
}

}  // namespace norvane::emulator
