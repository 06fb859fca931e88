#include "devices/light_writes.h"

#include "protocol/command_codes.h"

namespace norvane::devices {

LightWrite StoreAndSendLight(CNorvaneUSBDevice& device, const lighting::LightParams& params) {
  device.SetLightSynced(false);
  device.SetLightParams(params);
  LightWrite write;
  write.saved = device.SaveProfile();
  device.RefreshKeyButtons();
  if (SettingsOps* settings = device.Settings()) write.written = settings->WriteSettings(0, 0);
  return write;
}

}  // namespace norvane::devices
