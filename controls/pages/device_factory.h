#pragma once
// The device object of each kind of page: the keyboard's own class; the basic device for the kinds whose
// own class comes later.

#include <memory>

#include "devices/usb_device.h"
#include "hid/interface_table.h"

namespace norvane::controls {

// A new device object for a page of `kind` (a wired or receiver code: 1 and 9 keyboard, 2 and 6 mouse,
// 3 mouse pad, 7 headset; any other kind gets the basic device too).
std::unique_ptr<devices::CNorvaneUSBDevice> MakeDeviceForKind(hid::DeviceKind kind,
                                                              devices::PageServices services);

}  // namespace norvane::controls
