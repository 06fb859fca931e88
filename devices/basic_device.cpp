#include "devices/basic_device.h"

#include "devices/lighting/light_tables.h"
#include "platform/trace.h"
#include "protocol/command_codes.h"
#include "protocol/command_series.h"

namespace norvane::devices {

namespace {

// The live modes of the generic preview.
enum LiveMode : uint8_t {
  kModeWave = 0,
  kModeSpectrum = 1,
  kModeBreathing = 2,
  kModeStatic = 3,
  kModeFlash = 4,
  kModeOff = 8,
};

}  // namespace

SyncResult SyncResultOfCode(int code) {
  if (code == protocol::kResultOk) return SyncResult::kDone;
  if (code == protocol::kResultRefused || code == protocol::kResultRefusedOther) return SyncResult::kRefused;
  return SyncResult::kNoReply;
}

const char* SyncResultTextId(SyncResult result) {
  switch (result) {
    case SyncResult::kNotConnected:
      return "device_sync_not_connected";
    case SyncResult::kRefused:
      return "device_sync_refused";
    case SyncResult::kNoReply:
      return "device_sync_no_reply";
    case SyncResult::kNotRun:
    case SyncResult::kDone:
      break;
  }
  return "";
}

CNorvaneBasicDevice::CNorvaneBasicDevice(PageServices services) : CNorvaneUSBDevice(services) {}

CNorvaneBasicDevice::~CNorvaneBasicDevice() {
  // The threads call ComputeFrame and HandleEventCode of this object: stop them while it is whole.
  StopLightingThread();
  CloseEventInterface(EventSide::kWired);
  CloseEventInterface(EventSide::kReceiver);
}

void CNorvaneBasicDevice::InitialSync() {
  protocol::CommandChannel& channel = CommandChannel();
  if (!channel.IsOpen()) {
    Finish(SyncResult::kNotConnected, protocol::kResultNoReply);
  } else {
    std::array<uint8_t, protocol::kDeviceInfoSize> info{};
    std::array<uint8_t, 1> active{};
    // The headset has no information block (its firmware does not know the command): its first read is
    // the active profile number at the start of its settings area.
    const bool headset = Kind() == hid::DeviceKind::kHeadset;
    protocol::CommandSeries series(channel);
    int code = series.Run([&](protocol::CommandChannel& ch) {
      return headset ? protocol::CmdReadSettings(ch, active, 0) : protocol::CmdReadDeviceInfo(ch, info);
    });
    // The series is closed whatever happened inside it, so the device does not stay in a half-open one;
    // a failed close only counts when everything before it went well.
    const int end = series.End();
    if (code == protocol::kResultOk) {
      if (headset) {
        active_profile_ = active[0];
      } else {
        info_ = info;
        has_info_ = true;
      }
      code = end;
    }
    Finish(SyncResultOfCode(code), code);
  }
  // The preview runs whatever the device answered: the page stays usable.
  StartLightingThread();
}

void CNorvaneBasicDevice::Finish(SyncResult result, int code) {
  sync_result_ = result;
  sync_code_ = code;
  if (result != SyncResult::kDone) {
    Trace("device page: first synchronisation of kind " + std::to_string(KindCode()) +
          " failed with result " + std::to_string(code));
  }
  if (View()) View()->ShowSyncResult(result);
}

void CNorvaneBasicDevice::Resync() {
  TakeLastDeviceEvent();
}

int CNorvaneBasicDevice::IsWirelessLinkUp() {
  protocol::CommandChannel& channel = CommandChannel();
  if (!channel.IsWireless()) return 1;
  if (!channel.IsOpen()) return 0;
  return protocol::CmdQueryWirelessLink(channel);
}

void CNorvaneBasicDevice::ReadWirelessStatus() {
  if (!IsWirelessCapable() || WirelessState() != 0) return;
  protocol::CommandChannel& channel = CommandChannel();
  if (!channel.IsOpen()) return;
  std::array<uint8_t, kStatusSize> status{};
  const int code = protocol::CmdReadStatus(channel, status, 0);
  if (code != protocol::kResultOk) {
    Trace("device page: reading the wireless status failed with result " + std::to_string(code));
    return;
  }
  if (View()) View()->ShowWirelessStatus(status);
}

void CNorvaneBasicDevice::ComputeFrame(Clock::TimePoint now) {
  const lighting::LightParams params = GetLightParams();
  if (++tick_count_ < lighting::BlinkUnits(params.speed)) return;
  tick_count_ = 0;
  switch (params.mode) {
    case kModeWave:
    case kModeSpectrum:
      FrameSpectrum();
      break;
    case kModeBreathing:
      FrameBreathing();
      break;
    case kModeStatic:
      FrameStatic();
      break;
    case kModeFlash:
      FrameFlash(now);
      break;
    case kModeOff:
      FrameOff();
      break;
    default:
      PlayCustomSteps(now);
      break;
  }
}

}  // namespace norvane::devices
