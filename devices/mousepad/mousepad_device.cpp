#include "devices/mousepad/mousepad_device.h"

#include "devices/basic_device.h"
#include "platform/trace.h"
#include "protocol/command_codes.h"
#include "protocol/command_series.h"

namespace norvane::devices {
CNorvaneMousePadDevice::CNorvaneMousePadDevice(PageServices services)
    : CStripDevice(services, lighting::StripKind::MousePad) {}

CNorvaneMousePadDevice::~CNorvaneMousePadDevice() {
  StopWorkers();
}

std::uint8_t CNorvaneMousePadDevice::FirstRecordByte(int /*value*/) const {
  return static_cast<std::uint8_t>(ActiveProfile());
}

void CNorvaneMousePadDevice::InitialSync() {
  protocol::CommandChannel& channel = CommandChannel();
  SyncResult result = SyncResult::kNotConnected;
  if (channel.IsOpen()) {
    std::array<std::uint8_t, protocol::kDeviceInfoSize> info{};
    int code = protocol::kResultOk;
    {
      protocol::CommandSeries series(channel);
      code = series.Run([&](protocol::CommandChannel& ch) { return protocol::CmdReadDeviceInfo(ch, info); });
      const int end = series.End();
      if (code == protocol::kResultOk) code = end;
    }
    if (code == protocol::kResultOk) {
      info_ = info;
      has_info_ = true;
    }
    result = SyncResultOfCode(code);
    // Only the charging pad keeps a status; a pad without one refuses the read.
    std::array<std::uint8_t, 6> status{};
    const bool charging = code == protocol::kResultOk && protocol::CmdReadStatus(channel, status, 0) == protocol::kResultOk;
    SetWirelessCapable(charging);
    if (charging && View()) View()->ShowWirelessStatus(status);
  }
  ReportSync(result);
  LoadProfile();
  RefreshPage();
  StartLightingThread();
}

}  // namespace norvane::devices
