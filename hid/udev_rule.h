#pragma once
// What the system must know of the supported devices, written from the interface table so that a new row
// can never be forgotten there: the udev rule that opens their HID interfaces to the user at the seat, and
// the hardware ids ("modaliases") that software centres match against attached devices.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace norvane::hid {

// The distinct vendor and product ids of the interface table, in table order.
std::vector<std::pair<uint16_t, uint16_t>> SupportedUsbIds();

// The rule file: a comment, then one line per device
//   SUBSYSTEM=="hidraw", ATTRS{idVendor}=="320f", ATTRS{idProduct}=="5055", TAG+="uaccess"
// No other device of a vendor is matched.
std::string UdevRuleText();

// One "usb:v320Fp5055d*" per device, one a line, upper-case hex as the kernel writes modaliases.
std::vector<std::string> UsbModaliases();

}  // namespace norvane::hid
