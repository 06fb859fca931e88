#pragma once
// The emulated devices installed as the active HID backend for a test, the ways tests find a device's HID
// collections on it, and the default data folder pointed at the source tree's DefaultData.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "emulator/emulator.h"
#include "hid/hid_backend.h"
#include "hid/hid_device.h"
#include "hid/interface_table.h"
#include "platform/xdg_paths.h"

namespace norvane::testing {

// Creates the emulator with `models` plugged in and makes it the active HID backend; the backend that was
// active before comes back when the object goes.
class ScopedEmulator {
 public:
  explicit ScopedEmulator(std::vector<emulator::DeviceModel> models)
      : backend_(std::make_shared<emulator::EmulatorBackend>(models)),
        previous_(hid::SetActiveHidBackend(backend_)) {}
  ~ScopedEmulator() { hid::SetActiveHidBackend(previous_); }
  ScopedEmulator(const ScopedEmulator&) = delete;
  ScopedEmulator& operator=(const ScopedEmulator&) = delete;

  emulator::EmulatorBackend& Backend() const { return *backend_; }

  // The nth device of that model in the list; -1 when there is none.
  emulator::DeviceId Device(emulator::DeviceModel model, int nth = 0) const {
    return backend_->FindDevice(model, nth).value_or(-1);
  }

  // Path of the collection with that usage page of the nth device with this product id; empty when none.
  std::string PathOf(uint16_t product_id, uint16_t usage_page, int nth = 0) const {
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

  // Path of the first command collection that the catalogue lists for a device of that kind (the vendor
  // collection; the headset's, which has none, on its consumer page); empty when none.
  std::string CommandPath(hid::DeviceKind kind) const {
    hid::HidDevice walker;
    if (walker.EnumerateInterfaces() != 1) return {};
    while (const std::string* path = walker.NextInterfacePath()) {
      const auto row =
          hid::FindCandidateRow(hid::ParseVendorId(*path), hid::ParseProductId(*path),
                                hid::ParseInterfaceNumber(*path), hid::ParseCollectionNumber(*path));
      if (!row) continue;
      const hid::InterfaceEntry& entry = hid::InterfaceTable()[*row];
      const bool command = entry.IsVendorCommandInterface() ||
                           (kind == hid::DeviceKind::kHeadset && entry.role == hid::InterfaceRole::kCommand);
      if (entry.kind == kind && command) return *path;
    }
    return {};
  }

 private:
  std::shared_ptr<emulator::EmulatorBackend> backend_;
  std::shared_ptr<hid::HidBackend> previous_;
};

// The source tree's default data, where the program's own defaults live.
inline std::filesystem::path SourceDefaultData() {
  return std::filesystem::path(NORVANE_SOURCE_DIR) / "DefaultData";
}

// Points the default data folder at SourceDefaultData() while the object lives.
class ScopedDefaultData {
 public:
  ScopedDefaultData() { SetDefaultDataFolderOverride(SourceDefaultData()); }
  ~ScopedDefaultData() { SetDefaultDataFolderOverride({}); }
  ScopedDefaultData(const ScopedDefaultData&) = delete;
  ScopedDefaultData& operator=(const ScopedDefaultData&) = delete;
};

}  // namespace norvane::testing
