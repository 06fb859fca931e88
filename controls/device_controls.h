#pragma once
// Registers the device strip's and device page's own control classes with the control factory.

namespace norvane::controls {

// "DeviceOption" (CDeviceOptionUI), "DeviceProfile" (CDeviceProfileUI) and "DeviceKeyButton" (CDeviceKeyButtonUI).
void RegisterDeviceControls();

}  // namespace norvane::controls
