// Installing the emulator as the program's HID backend (the demo mode). Kept in its own file: it is the only
// part of the emulator that needs the HID layer's backend registry and the user's folders.

#include "emulator/emulator.h"
#include "platform/xdg_paths.h"

namespace norvane::emulator {

std::shared_ptr<EmulatorBackend> InstallEmulator(std::string_view list, std::string* error) {
  std::shared_ptr<EmulatorBackend> backend = EmulatorBackend::FromList(list, error);
  if (backend) hid::SetActiveHidBackend(backend);
  return backend;
}

std::filesystem::path DemoMemoryFile() {
  return UserDataFolder() / "emulated_devices.txt";
}

}  // namespace norvane::emulator
