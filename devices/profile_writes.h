#pragma once
// What a device takes when it starts working on another profile (or its profile was reset): the key
// table and the settings record of the loaded profile, as far as the device has them. The window's
// profile bar and norvanectl both write a profile through here.

#include "devices/usb_device.h"

namespace norvane::devices {

// kResultOk when everything the device has went out, or when the device is not connected (it gets them
// with its next synchronisation); else the first failing result (the writes after it are still tried).
int WriteProfileToDevice(CNorvaneUSBDevice& device);

}  // namespace norvane::devices
