#include "devices/device_kinds.h"

#include <algorithm>
#include <mutex>

#include "devices/basic_device.h"
#include "devices/keyboard/keyboard_device.h"
#include "devices/mouse/mouse_device.h"

namespace norvane::devices {

namespace {

template <class Device>
DeviceFactory Make() {
  return [](PageServices services) -> std::unique_ptr<CNorvaneUSBDevice> {
    return std::make_unique<Device>(services);
  };
}

constexpr std::uint8_t kLightTab = FunctionTabBit(1);
constexpr std::uint8_t kKeyTab = FunctionTabBit(2);
constexpr std::uint8_t kMacroTab = FunctionTabBit(3);
constexpr std::uint8_t kSystemTab = FunctionTabBit(4);
constexpr std::uint8_t kPointerTab = FunctionTabBit(5);
constexpr std::uint8_t kHeadsetTabs = FunctionTabBit(6) | FunctionTabBit(7) | FunctionTabBit(8);

const std::vector<DeviceKindRow>& BuiltInKinds() {
  static const std::vector<DeviceKindRow> kRows = {
      {1, 9, "keyboard", "XML\\DeviceXml\\keyboarddevice.xml", true, kLightTab | kKeyTab | kMacroTab | kSystemTab,
       Make<CNorvaneKeyboardDevice>()},
      {2, 6, "mouse", "XML\\DeviceXml\\mousedevice.xml", true,
       kLightTab | kKeyTab | kMacroTab | kSystemTab | kPointerTab, Make<CNorvaneMouseDevice>()},
      {3, 0, "MousePad", "XML\\DeviceXml\\mousepaddevice.xml", true, kLightTab, Make<CNorvaneBasicDevice>()},
      // The headset page has no model index: its model comes from the headset's own chip.
      {7, 0, "HD", "XML\\DeviceXml\\hs6533device.xml", false, kLightTab | kHeadsetTabs,
       Make<CNorvaneBasicDevice>()},
  };
  return kRows;
}

struct AddedKinds {
  std::mutex mutex;
  std::vector<const DeviceKindRow*> rows;
};

AddedKinds& Added() {
  static AddedKinds added;
  return added;
}

}  // namespace

std::vector<const DeviceKindRow*> DeviceKinds() {
  std::vector<const DeviceKindRow*> rows;
  for (const DeviceKindRow& row : BuiltInKinds()) rows.push_back(&row);
  std::lock_guard lock(Added().mutex);
  rows.insert(rows.end(), Added().rows.begin(), Added().rows.end());
  return rows;
}

const DeviceKindRow* FindDeviceKind(std::uint16_t code) {
  if (code == 0) return nullptr;
  for (const DeviceKindRow& row : BuiltInKinds()) {
    if (row.code == code || row.receiver_code == code) return &row;
  }
  std::lock_guard lock(Added().mutex);
  for (const DeviceKindRow* row : Added().rows) {
    if (row->code == code || row->receiver_code == code) return row;
  }
  return nullptr;
}

std::uint16_t PageKindCode(std::uint16_t code) {
  const DeviceKindRow* row = FindDeviceKind(code);
  return row ? row->code : code;
}

bool ShowsFunctionTab(std::uint16_t kind, int code) {
  if (code < 1 || code > 8) return false;
  const DeviceKindRow* row = FindDeviceKind(kind);
  return row && (row->function_tabs & FunctionTabBit(code)) != 0;
}

std::unique_ptr<CNorvaneUSBDevice> MakeDeviceForKind(std::uint16_t code, PageServices services) {
  const DeviceKindRow* row = FindDeviceKind(code);
  if (row && row->make) return row->make(services);
  return std::make_unique<CNorvaneBasicDevice>(services);
}

ScopedDeviceKind::ScopedDeviceKind(DeviceKindRow row) : row_(std::make_unique<DeviceKindRow>(std::move(row))) {
  std::lock_guard lock(Added().mutex);
  Added().rows.push_back(row_.get());
}

ScopedDeviceKind::~ScopedDeviceKind() {
  std::lock_guard lock(Added().mutex);
  auto& rows = Added().rows;
  rows.erase(std::remove(rows.begin(), rows.end(), row_.get()), rows.end());
}

}  // namespace norvane::devices
