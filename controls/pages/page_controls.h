#pragma once
// Registers the device pages' own control classes with the control factory. The main window calls it next
// to RegisterDeviceControls, before it builds any skin.

namespace norvane::controls {

// "MpDevicePower" (CMpDevicePowerUI) and "LightPreview" (CLightPreviewUI).
void RegisterPageControls();

}  // namespace norvane::controls
