#include "devices/profile_writes.h"

#include "protocol/command_codes.h"

namespace norvane::devices {

int WriteProfileToDevice(CNorvaneUSBDevice& device) {
  if (!device.CommandChannel().IsOpen()) return protocol::kResultOk;
  int first = protocol::kResultOk;
  const auto keep = [&first](int result) {
    if (first == protocol::kResultOk) first = result;
  };
  if (KeyTableOps* keys = device.KeyTable()) keep(keys->WriteKeyTableFromProfile(0));
  if (SettingsOps* settings = device.Settings()) keep(settings->WriteSettings(0, 0));
  return first;
}

}  // namespace norvane::devices
