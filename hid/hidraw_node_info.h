#pragma once
// What udev and sysfs tell about one hidraw node: identity from the parent HID device, interface number
// from the USB interface, version and interface count from the USB device, and the report descriptor.

#include <libudev.h>

#include <optional>
#include <string_view>

#include "hid/hid_backend.h"

namespace norvane::hid {

// nullopt when the node lacks what a HID node must have (device node, HID parent, readable descriptor).
std::optional<HidNodeInfo> ReadHidrawNodeInfo(udev_device* hidraw);

// Only names shaped like "/dev/hidraw<digits>" are ever opened.
bool IsHidrawNodeName(std::string_view node_id);

// The number of "/dev/hidraw12" (12); sorts nodes by number.
unsigned HidrawNodeNumber(std::string_view node_id);

}  // namespace norvane::hid
