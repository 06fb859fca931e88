#include "app/page_lighting.h"

#include "controls/pages/device_page.h"
#include "devices/device_kinds.h"
#include "devices/lighting/light_conversion.h"
#include "editors/light_control.h"
#include "editors/lighting_editor.h"

namespace norvane::app {

bool TakesLightControl(const devices::CNorvaneUSBDevice& device) {
  const std::uint16_t kind = devices::PageKindCode(device.KindCode());
  return kind == 1 || kind == 2 || kind == 3;
}

void ShowLightParams(controls::CDevicePageUI& page, const lighting::LightParams& p) {
  devices::CNorvaneUSBDevice& device = *page.Device();
  device.SetLightParams(p);
  if (editors::CLightControlUI* panel = editors::CLightingEditor::PanelOf(page))
    panel->ShowLightEffect(lighting::ToLightEffect(p, LightEffect{}));
  // A kind that takes its lighting from the profile document on a refresh must find p there.
  SetProfileLight(device, lighting::ToLightEffect(p, ProfileLight(device)));
  device.RefreshKeyButtons();
}

int WriteDeviceLighting(controls::CDevicePageUI& page) {
  devices::SettingsOps* settings = page.Device()->Settings();
  return settings ? settings->WriteSettings(0, 0) : 1;
}

LightEffect ProfileLight(devices::CNorvaneUSBDevice& device) {
  CBasicProfiledata* document = device.ProfileDocument();
  return document ? document->GetLightInfo() : LightEffect{};
}

void SetProfileLight(devices::CNorvaneUSBDevice& device, const LightEffect& light) {
  if (CBasicProfiledata* document = device.ProfileDocument()) document->SetLightInfo(light);
}

}  // namespace norvane::app
