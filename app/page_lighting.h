#pragma once
// What the lighting coordination does to one device page, whatever its kind: the device takes a set of
// light parameters, its lighting panel shows them, its key buttons follow and the device is written; the
// profile document is written separately, so the caller decides what a save keeps.

#include <cstdint>

#include "devices/lighting/light_params.h"
#include "profiles/profile_records.h"

namespace norvane::controls {
class CDevicePageUI;
}
namespace norvane::devices {
class CNorvaneUSBDevice;
}

namespace norvane::app {

// Page kinds whose lighting another program may take over (keyboard, mouse, mouse pad).
[[nodiscard]] bool TakesLightControl(const devices::CNorvaneUSBDevice& device);

// The device and its panel show p; its key buttons are redrawn. Nothing is saved or written.
void ShowLightParams(controls::CDevicePageUI& page, const lighting::LightParams& p);

// Writes the device's settings record (its lighting with it). 1 when written or when the kind keeps no
// settings record, else the failing command's result.
[[nodiscard]] int WriteDeviceLighting(controls::CDevicePageUI& page);

// The profile document's "LightInfo" of the page; a default record for a page without a document.
[[nodiscard]] LightEffect ProfileLight(devices::CNorvaneUSBDevice& device);
// Sets the profile document's "LightInfo" (in memory only); nothing for a page without a document.
void SetProfileLight(devices::CNorvaneUSBDevice& device, const LightEffect& light);

}  // namespace norvane::app
