// The headset page's object life, its first synchronisation and its lighting output.
#include "devices/headset/hs6533_device.h"

#include "devices/basic_device.h"
#include "protocol/command_codes.h"

namespace norvane::devices {

CNorvaneHS6533Device::CNorvaneHS6533Device(PageServices services)
    : CStripDevice(services, lighting::StripKind::Headset) {}

CNorvaneHS6533Device::~CNorvaneHS6533Device() {
  StopWorkers();
  sender_.WaitIdle();
}

void CNorvaneHS6533Device::InitialSync() {
  // Opened (again): what the LEDs show is unknown, and the chip is found afresh.
  sender_.Forget();
  session_.reset();
  LoadProfile();
  // The headset has no information block; its live record is its first read, and it keeps the firmware's
  // bytes for the record writes.
  const bool open = CommandChannel().IsOpen();
  const int read = open ? ReadLiveRecord() : protocol::kResultNoReply;
  ReportSync(open ? SyncResultOfCode(read) : SyncResult::kNotConnected);
  InitAudio();
  RefreshPage();
  StartLightingThread();
}

bool CNorvaneHS6533Device::PresentFrame() {
  if (!HasLightControl()) {
    lightControlWasOff_ = true;
    return false;
  }
  if (lightControlWasOff_) {
    // Another program drove the LEDs meanwhile.
    lightControlWasOff_ = false;
    sender_.Forget();
  }
  const bool presented = CNorvaneUSBDevice::PresentFrame();
  if (CommandChannel().IsOpen()) sender_.Present(headset::BuildLightReports(FrameSnapshot()), PageClock().Now());
  return presented;
}

void CNorvaneHS6533Device::AdjustStatus(std::span<std::uint8_t> status) {
  constexpr std::size_t kLinkFlag = 3;
  if (status.size() > kLinkFlag) status[kLinkFlag] = CommandChannel().IsWireless() ? 1 : 0;
}

bool CNorvaneHS6533Device::SendLightReport(std::span<const std::uint8_t> report) {
  protocol::CommandChannel& channel = CommandChannel();
  std::lock_guard lock(channel.StreamLock());
  const auto limit = static_cast<std::uint32_t>(channel.WiredTimeLimit().count());
  return channel.Wired().SetOutputReport(report, limit) == 1;
}

}  // namespace norvane::devices
