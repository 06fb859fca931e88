#pragma once
// Storing and sending a device's lighting the way the lighting editor does it: the parameters into the
// device (which stops following a light sync) and its profile, the profile saved, the key buttons'
// colours refreshed, then the settings record written. The editor and norvanectl both change the lighting
// through here.

#include "devices/lighting/light_params.h"
#include "devices/usb_device.h"
#include "platform/atomic_file.h"

namespace norvane::devices {

struct LightWrite {
  FileResult saved;  // the profile (it is written to the device either way, as the editor does)
  int written = 1;   // the settings write's result; 1 as well for a device without a settings record
};

[[nodiscard]] LightWrite StoreAndSendLight(CNorvaneUSBDevice& device, const lighting::LightParams& params);

}  // namespace norvane::devices
