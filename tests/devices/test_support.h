#pragma once
// Test support for device pages: a UI thread stand-in that queues posted calls, and the emulator installed
// as the HID backend with helpers to find a device's collection paths.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "devices/ui_poster.h"
#include "emulator/emulator.h"
#include "hid/hid_backend.h"
#include "tests/support/queue_poster.h"

namespace norvane::devices::testing {

class InstalledEmulator {
 public:
  explicit InstalledEmulator(std::vector<emulator::DeviceModel> models);
  ~InstalledEmulator();
  InstalledEmulator(const InstalledEmulator&) = delete;
  InstalledEmulator& operator=(const InstalledEmulator&) = delete;

  emulator::EmulatorBackend& Backend() { return *backend_; }
  emulator::DeviceId Device(emulator::DeviceModel model, int nth = 0) const;
  // Path of the collection with that usage page of the nth device with this product id.
  std::string PathOf(uint16_t product_id, uint16_t usage_page, int nth = 0) const;

 private:
  std::shared_ptr<emulator::EmulatorBackend> backend_;
  std::shared_ptr<hid::HidBackend> previous_;
};

}  // namespace norvane::devices::testing
