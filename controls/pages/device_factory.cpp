#include "controls/pages/device_factory.h"

#include "devices/basic_device.h"
#include "devices/keyboard/keyboard_device.h"

namespace norvane::controls {

std::unique_ptr<devices::CNorvaneUSBDevice> MakeDeviceForKind(hid::DeviceKind kind,
                                                              devices::PageServices services) {
  switch (kind) {
    case hid::DeviceKind::kKeyboard:
    case hid::DeviceKind::kKeyboardReceiver:
      return std::make_unique<devices::CNorvaneKeyboardDevice>(services);
    case hid::DeviceKind::kMouse:
    case hid::DeviceKind::kMouseReceiver:
    case hid::DeviceKind::kMousePad:
    case hid::DeviceKind::kHeadset:
    default:
      return std::make_unique<devices::CNorvaneBasicDevice>(services);
  }
}

}  // namespace norvane::controls
