#include "test_support.h"

#include <chrono>

#include "hid/hid_device.h"

namespace norvane::devices::testing {

InstalledEmulator::InstalledEmulator(std::vector<emulator::DeviceModel> models)
    : backend_(std::make_shared<emulator::EmulatorBackend>(models)),
      previous_(hid::SetActiveHidBackend(backend_)) {}

InstalledEmulator::~InstalledEmulator() {
  hid::SetActiveHidBackend(previous_);
}

emulator::DeviceId InstalledEmulator::Device(emulator::DeviceModel model, int nth) const {
  return backend_->FindDevice(model, nth).value_or(-1);
}

std::string InstalledEmulator::PathOf(uint16_t product_id, uint16_t usage_page, int nth) const {
  hid::HidDevice probe;
  probe.EnumerateInterfaces();
  while (const std::string* path = probe.NextInterfacePath()) {
    if (hid::ParseProductId(*path) != product_id) continue;
    hid::HidDevice opened;
    if (opened.Open(*path, false, false, true, false) == 0) continue;
    if (opened.Caps().usage_page == usage_page && nth-- == 0) return *path;
  }
  return {};
}

}  // namespace norvane::devices::testing
