#include "devices/strip/strip_device.h"

#include "devices/lighting/light_conversion.h"
#include "platform/trace.h"
#include "platform/xdg_paths.h"
#include "protocol/command_codes.h"
#include "protocol/command_series.h"
#include "protocol/commands.h"

namespace norvane::devices {

CStripDevice::CStripDevice(PageServices services, lighting::StripKind kind)
    : CNorvaneUSBDevice(services), lighting_(kind) {}

CStripDevice::~CStripDevice() {
  StopWorkers();
}

void CStripDevice::StopWorkers() {
  StopLightingThread();
  CloseEventInterface(EventSide::kWired);
  CloseEventInterface(EventSide::kReceiver);
}

void CStripDevice::ReportSync(SyncResult result) {
  sync_result_ = result;
  if (result != SyncResult::kDone) Trace("device page: the first synchronisation of kind " + std::to_string(KindCode()) + " failed");
  if (View()) View()->ShowSyncResult(result);
}

// ---- The live record.

int CStripDevice::ReadLiveRecord() {
  protocol::CommandChannel& channel = CommandChannel();
  if (!channel.IsOpen()) return protocol::kResultNoReply;
  std::array<std::uint8_t, 1> active{};
  int result = protocol::CmdReadSettings(channel, active, 0);
  std::array<std::uint8_t, strip::kLiveReadSize> read{};
  if (result == protocol::kResultOk) {
    // Every profile number a byte can hold has its live read inside the address range.
    result = protocol::CmdReadSettings(channel, read, *strip::LiveReadAddress(active[0]));
  }
  if (result != protocol::kResultOk) {
    Trace("device page: reading the live lighting record failed: " + std::string(protocol::DescribeResult(result)));
    return result;
  }
  std::copy_n(read.begin(), strip::kRecordSize, live_record_.begin());
  active_profile_ = active[0];
  live_read_ = true;
  return result;
}

int CStripDevice::ReadLiveSettings() {
  SetAnimationPaused(false);
  const int result = ReadLiveRecord();
  if (result != protocol::kResultOk) return result;
  // The device's own lighting wins; what the record does not hold stays as the page has it.
  lighting::LightParams page = GetLightParams();
  const lighting::LightParams live = strip::DecodeStripRecord(live_record_, ModeTable());
  page.mode = live.mode;
  page.brightness = live.brightness;
  page.speed = live.speed;
  page.direction = live.direction;
  page.multiColour = live.multiColour;
  page.red = live.red;
  page.green = live.green;
  page.blue = live.blue;
  SetLightParams(page);
  SaveProfile();
  return result;
}

void CStripDevice::Resync() {
  TakeLastDeviceEvent();
  ReadLiveSettings();
  RefreshPage();
}

// ---- Profile.

int CStripDevice::LoadProfile() {
  // Without a usable file name the page keeps the profile it has rather than fall back to another file.
  if (!LoadProfileDocument()) return 0;
  TakeProfileDocument();
  RefreshKeyButtons();
  return 1;
}

void CStripDevice::LoadProfileFromText(std::string_view text, const Json::Value& defaults) {
  CBasicProfiledata* document = ProfileDocument();
  if (document == nullptr) return;
  document->LoadEntryFromText(text, defaults);
  TakeProfileDocument();
  RefreshKeyButtons();
}

void CStripDevice::LoadDefaultProfile() {
  if (!LoadDefaultDocument()) return;
  TakeProfileDocument();
  RefreshKeyButtons();
  SaveProfile();
  RefreshPage();
}

int CStripDevice::RefreshKeyButtons() {
  CBasicProfiledata* document = ProfileDocument();
  if (document == nullptr) return 0;
  lighting::LightParams light = lighting::ToLightParams(document->GetLightInfo());
  CNorvaneUSBDevice::SetLightParams(light);
  StartModeIfChanged(light.mode);
  lighting_.SetPerKeyEffects(lighting::ToPerLedEffects(document->GetLightList()));
  document->LoadLightConfig(LightListFile());
  lighting_.SetCustomSteps(lighting::ToLightSteps(document->GetCustomLightSteps()));
  return 1;
}

void CStripDevice::SetLightParams(const lighting::LightParams& params) {
  CNorvaneUSBDevice::SetLightParams(params);
  StartModeIfChanged(params.mode);
  if (CBasicProfiledata* document = ProfileDocument()) {
    document->SetLightInfo(lighting::ToLightEffect(params, document->GetLightInfo()));
  }
}

void CStripDevice::StartModeIfChanged(std::uint8_t mode) {
  if (started_mode_ == mode) return;
  started_mode_ = mode;
  lighting_.StartMode();
}

void CStripDevice::FillEffectAndMacroLists() {
  lists_ = ReadEffectLists(DefaultDataFolder() / "default_light.json", LightListFile(), UserProfileFolder(),
                           GetVariantIndex());
}

std::span<const std::uint8_t> CStripDevice::ModeTable() {
  if (lists_.modeTable.empty()) FillEffectAndMacroLists();
  return lists_.modeTable;
}

void CStripDevice::RefreshPage() {
  FillEffectAndMacroLists();
  if (View()) View()->RefreshPage();
}

void CStripDevice::ReadWirelessStatus() {
  protocol::CommandChannel& channel = CommandChannel();
  if (WirelessState() != 0 || !channel.IsOpen()) return;
  std::array<std::uint8_t, 6> status{};
  const int result = protocol::CmdReadStatus(channel, status, 0);
  if (result != protocol::kResultOk) {
    Trace("device page: reading the status failed: " + std::string(protocol::DescribeResult(result)));
    return;
  }
  AdjustStatus(status);
  if (View()) View()->ShowWirelessStatus(status);
}

// ---- Writing the record.

std::optional<CStripDevice::PreparedSettings> CStripDevice::PrepareSettings(int profile, int value, int& result) {
  result = protocol::kResultNoReply;
  if (!CommandChannel().IsOpen()) return std::nullopt;
  result = protocol::kResultNotWritten;
  const std::optional<std::uint16_t> address = strip::WriteAddress(profile);
  if (!address) return std::nullopt;
  // Zeros from a read that never happened (or failed) must not reach the firmware's bytes.
  if (!live_read_) {
    result = ReadLiveRecord();
    if (result != protocol::kResultOk) return std::nullopt;
  }
  result = protocol::kResultOk;
  return PreparedSettings{strip::EncodeStripRecord(live_record_, GetLightParams(), ModeTable(), FirstRecordByte(value)),
                          *address};
}

int CStripDevice::SendSettings(const PreparedSettings& prepared) {
  protocol::CommandSeries series(CommandChannel());
  return series.Run([&](auto& ch) { return protocol::CmdWriteSettings(ch, prepared.record, prepared.address); });
}

int CStripDevice::WriteSettings(int profile, int value) {
  int result = protocol::kResultOk;
  const std::optional<PreparedSettings> prepared = PrepareSettings(profile, value, result);
  return prepared ? SendSettings(*prepared) : result;
}

void CStripDevice::WriteSettingsSoon(int profile, int value, std::function<void(int)> done) {
  int result = protocol::kResultOk;
  const std::optional<PreparedSettings> prepared = PrepareSettings(profile, value, result);
  if (!prepared) {
    if (done) done(result);
    return;
  }
  SendSoon(settings_writer_, [this, record = *prepared] { return SendSettings(record); }, std::move(done));
}

// ---- Threads.

void CStripDevice::ComputeFrame(Clock::TimePoint now) {
  WithFrame([&](std::span<lighting::LedRecord> frame, auto&, const lighting::LightParams& params) {
    lighting_.Tick(params, frame, now);
  });
}

void CStripDevice::HandleEventCode(uint16_t code, EventSide side) {
  if (side == EventSide::kWired && code == kEventResync) resync_timer_.Arm();
}

}  // namespace norvane::devices
