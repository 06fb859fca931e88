#include "devices/usb_device.h"

#include <algorithm>
#include <mutex>

#include "devices/event_reader.h"
#include "devices/function_tabs.h"
#include "platform/trace.h"
#include "platform/xdg_paths.h"
#include "profiles/json_access.h"
#include "profiles/json_file_util.h"
#include "profiles/profile_locations.h"
#include "protocol/command_codes.h"
#include "protocol/commands.h"

namespace norvane::devices {

namespace {

// A name that may be joined to a folder: no separators, not "." or "..".
bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\\') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

}  // namespace

CNorvaneUSBDevice::CNorvaneUSBDevice(PageServices services) : services_(services) {
  if (services_.clock == nullptr) services_.clock = &SteadyClock::Instance();
  if (services_.sleeper == nullptr) {
    own_sleeper_ = std::make_unique<lighting::StopTokenSleeper>();
    services_.sleeper = own_sleeper_.get();
  }
}

CNorvaneUSBDevice::~CNorvaneUSBDevice() {
  StopLightingThread();
  CloseEventInterface(EventSide::kWired);
  CloseEventInterface(EventSide::kReceiver);
}

// ---- Set-up.

void CNorvaneUSBDevice::SetKeyCount(int count) {
  key_count_ = std::max(count, 0);
}

void CNorvaneUSBDevice::SetLedCount(int count) {
  const auto size = static_cast<std::size_t>(std::max(count, 0));
  std::lock_guard lock(lighting_mutex_);
  frame_.assign(size, lighting::LedRecord{});
}

int CNorvaneUSBDevice::LedCount() const {
  std::lock_guard lock(lighting_mutex_);
  return static_cast<int>(frame_.size());
}

void CNorvaneUSBDevice::SetWirelessCapable(bool capable) {
  wireless_capable_ = capable;
  if (view_ != nullptr) view_->ShowWirelessCapable(capable);
}

void CNorvaneUSBDevice::SetIdentity(const hid::InterfaceEntry& entry) {
  identity_ = entry;
  kind_ = entry.kind;
  role_ = static_cast<uint16_t>(entry.role);
}

void CNorvaneUSBDevice::SetWirelessState(int state) {
  if (wireless_capable_) wireless_state_ = state;
}

void CNorvaneUSBDevice::SetLightControl(bool on) {
  light_control_ = on;
  if (on && kind_ == hid::DeviceKind::kKeyboard) {
    const int result = protocol::CmdTakeLightControl(command_);
    if (result != 1) Trace("device page: taking the light control failed: " + std::to_string(result));
  }
}

bool CNorvaneUSBDevice::IsAnimationPaused() const {
  return command_.IsPaused();
}

// ---- Profile locations.

std::filesystem::path CNorvaneUSBDevice::UserProfileFolder() const {
  return DeviceDataFolder(device_folder_);
}

std::filesystem::path CNorvaneUSBDevice::DefaultProfileFile() const {
  return DefaultProfilePath(device_folder_);
}

std::filesystem::path CNorvaneUSBDevice::CurrentProfileFile() const {
  if (!IsPlainName(profile_stem_)) return {};
  const auto folder = UserProfileFolder();
  if (folder.empty()) return {};
  return folder / (profile_stem_ + ".Json");
}

std::filesystem::path CNorvaneUSBDevice::LightListFile() const {
  if (!IsPlainName(light_list_stem_)) return {};
  const auto folder = UserProfileFolder();
  if (folder.empty()) return {};
  const auto own = folder / (light_list_stem_ + ".config");
  // Until the user has custom effects of their own, the shipped ones play (read only: this program never
  // writes the lists, and the step files are found beside the list).
  std::error_code error;
  if (std::filesystem::exists(own, error)) return own;
  const auto shipped = DefaultDataFolder() / (light_list_stem_ + ".config");
  return std::filesystem::exists(shipped, error) ? shipped : own;
}

void CNorvaneUSBDevice::ResolveProfileFile() {
  CBasicProfiledata* document = ProfileDocument();
  if (document == nullptr) return;
  document->SetFilePath(CurrentProfileFile());
  document->SetLightConfigPath(LightListFile());
  document->SetDefaultPath(DefaultProfileFile());
}

bool CNorvaneUSBDevice::LoadProfileDocument() {
  CBasicProfiledata* document = ProfileDocument();
  if (document == nullptr || CurrentProfileFile().empty()) return false;
  ResolveProfileFile();
  document->LoadEntry(document->GetFilePath());
  return true;
}

bool CNorvaneUSBDevice::LoadDefaultDocument() {
  CBasicProfiledata* document = ProfileDocument();
  const std::filesystem::path defaults = DefaultProfileFile();
  if (document == nullptr || defaults.empty()) return false;
  const Json::Value read = JsonFileUtil().ReadJsonValue(defaults);
  if (!json::Element(json::Member(read, "Device"), document->GetDeviceIndex()).isObject()) {
    Trace("device page: the default profile " + defaults.string() + " cannot be read; the current profile stays");
    return false;
  }
  ResolveProfileFile();
  document->LoadEntry(defaults);
  return true;
}

std::filesystem::path CNorvaneUSBDevice::GetProfileFilePath() const {
  const CBasicProfiledata* document = ProfileDocument();
  return document ? document->GetFilePath() : std::filesystem::path();
}

bool CNorvaneUSBDevice::IsCommandChannelInUse() {
  std::unique_lock<std::recursive_mutex> lock(command_.CommandLock(), std::try_to_lock);
  return !lock.owns_lock();
}

void CNorvaneUSBDevice::SendSoon(LatestJobWorker& writer, std::function<int()> send, std::function<void(int)> done) {
  writer.Submit([this, send = std::move(send), done = std::move(done)] {
    const int sent = send();
    if (done) PostToUi([done, sent] { done(sent); });
  });
}

int CNorvaneUSBDevice::ReadStatusRecord(StatusRecord& status) {
  protocol::CommandChannel& channel = CommandChannel();
  if (!channel.IsOpen()) return protocol::kResultNoReply;
  if (const int link = protocol::CmdQueryWirelessLink(channel); link != protocol::kResultOk) return link;
  if (const int read = protocol::CmdReadStatus(channel, status, 0); read != protocol::kResultOk) return read;
  status[3] = channel.IsWireless() ? 1 : 0;
  return protocol::kResultOk;
}

FileResult CNorvaneUSBDevice::SaveProfile() {
  CBasicProfiledata* document = ProfileDocument();
  if (document == nullptr) return FileResult::Failure("this device keeps no profile");
  FileResult saved = document->Save();
  if (!saved) LogFileFailure(saved);
  return saved;
}

// ---- Lighting state.

lighting::LedRecord CNorvaneUSBDevice::LedAt(std::size_t index) const {
  std::lock_guard lock(lighting_mutex_);
  return index < frame_.size() ? frame_[index] : lighting::LedRecord{};
}

std::vector<lighting::LedRecord> CNorvaneUSBDevice::FrameSnapshot() const {
  std::lock_guard lock(lighting_mutex_);
  return frame_;
}

lighting::GenericAnimation CNorvaneUSBDevice::Animation() const {
  std::lock_guard lock(lighting_mutex_);
  return animation_;
}

void CNorvaneUSBDevice::SetLedRecord(std::size_t index, lighting::LedRecord record) {
  std::lock_guard lock(lighting_mutex_);
  if (index < frame_.size()) frame_[index] = record;
}

lighting::LedRecord CNorvaneUSBDevice::GetLedRecord(std::size_t index) const {
  return LedAt(index);
}

void CNorvaneUSBDevice::SetLightParams(const lighting::LightParams& params) {
  // Stored as given (files and devices may hold levels above 4); every table lookup clamps the levels.
  std::lock_guard lock(lighting_mutex_);
  params_ = params;
}

lighting::LightParams CNorvaneUSBDevice::GetLightParams() const {
  std::lock_guard lock(lighting_mutex_);
  return params_;
}

void CNorvaneUSBDevice::SetAudioLight(const lighting::AudioLight& audio) {
  std::lock_guard lock(lighting_mutex_);
  audio_ = audio;
}

lighting::AudioLight CNorvaneUSBDevice::GetAudioLight() const {
  std::lock_guard lock(lighting_mutex_);
  return audio_;
}

// ---- Generic generators.

void CNorvaneUSBDevice::FrameBreathing() {
  WithFrame([](auto frame, auto& animation, const auto& params) {
    lighting::FrameBreathing(animation, params, frame);
  });
}

void CNorvaneUSBDevice::FrameBreathingCycle() {
  WithFrame([](auto frame, auto& animation, const auto& params) {
    lighting::FrameBreathingCycle(animation, params, frame);
  });
}

void CNorvaneUSBDevice::FrameStatic() {
  WithFrame([](auto frame, auto&, const auto& params) { lighting::FrameStatic(params, frame); });
}

void CNorvaneUSBDevice::FrameSpectrum() {
  WithFrame([](auto frame, auto& animation, const auto& params) {
    lighting::FrameSpectrum(animation, params, frame);
  });
}

void CNorvaneUSBDevice::FrameFlash(Clock::TimePoint now) {
  WithFrame([now](auto frame, auto& animation, const auto& params) {
    lighting::FrameFlash(animation, params, frame, now);
  });
}

void CNorvaneUSBDevice::FrameFlashCycle(Clock::TimePoint now) {
  WithFrame([now](auto frame, auto& animation, const auto& params) {
    lighting::FrameFlashCycle(animation, params, frame, now);
  });
}

void CNorvaneUSBDevice::FrameOff() {
  WithFrame([](auto frame, auto&, const auto&) { lighting::FrameOff(frame); });
}

void CNorvaneUSBDevice::PlayCustomSteps(Clock::TimePoint now) {
  WithFrame([&](auto frame, auto&, const auto& params) { steps_.PlayTick(frame, now, params.speed); });
}

// ---- Presenting.

lighting::DeviceFrame CNorvaneUSBDevice::BuildFrameForDevice(
    std::span<const lighting::LedRecord> leds) const {
  return lighting::BuildDeviceFrame(leds);
}

bool CNorvaneUSBDevice::PresentFrame() {
  if (!light_control_) return false;
  {
    // Copy under the short lock; everything else works on the copy.
    std::lock_guard lock(lighting_mutex_);
    present_snapshot_.assign(frame_.begin(), frame_.end());
  }
  last_device_frame_ = BuildFrameForDevice(present_snapshot_);
  if (preview_ != nullptr) preview_->ShowFrame(present_snapshot_, last_device_frame_);
  return true;
}

// ---- UI-bound operations.

void CNorvaneUSBDevice::BindKeyButtons() {
  if (skin_file_.empty()) {
    key_count_ = 0;
    SetLedCount(0);
  }
  if (view_ != nullptr) view_->BindKeyButtons(key_count_, LedCount());
}

void CNorvaneUSBDevice::SelectFunctionTab(int code) {
  function_tab_ = code;
  if (view_ != nullptr) view_->ShowFunctionTabs(SelectFunctionTabs(code, kind_));
}

// ---- Lighting thread.

void CNorvaneUSBDevice::StartLightingThread() {
  lighting_thread_.Start("lighting", [this](std::stop_token stop) {
    lighting::LightingTicker ticker(*services_.clock, *services_.sleeper);
    ticker.Run(
        stop, [this](std::uint64_t, Clock::TimePoint now) { LightingTick(now); },
        [this](std::stop_token waiting) {
          return frame_demand_.WaitUntilWanted(waiting, [this] { return FramesWanted(); });
        });
  });
}

void CNorvaneUSBDevice::SetPreviewShown(bool shown) {
  if (preview_shown_.exchange(shown) != shown) frame_demand_.Notify();
}

void CNorvaneUSBDevice::StopLightingThread() {
  lighting_thread_.Stop(kLightingStopWait);
}

void CNorvaneUSBDevice::LightingTick(Clock::TimePoint now) {
  if (command_.IsPaused() || !command_.IsOpen() || !FramesWanted()) return;
  // The shared effect paints a synchronised page; its own effect would only flicker through.
  if (light_synced_.load() && sync_colour_shown_.load()) return;
  ComputeFrame(now);
}

void CNorvaneUSBDevice::ShowSyncColour(std::uint32_t word) {
  if (!light_synced_.load()) return;
  const lighting::Rgb colour{static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
                             static_cast<std::uint8_t>(word >> 16)};
  WithFrame([&](auto frame, auto&, const auto&) {
    lighting::FillFrame(frame, colour, static_cast<std::uint8_t>(word >> 24));
  });
  sync_colour_shown_.store(true);
}

// ---- Event interfaces and sync threads.

hid::HidDevice& CNorvaneUSBDevice::EventInterface(EventSide side) {
  return side == EventSide::kWired ? events_.Wired() : events_.Receiver();
}

std::recursive_mutex& CNorvaneUSBDevice::EventLock(EventSide side) {
  return side == EventSide::kWired ? events_.TransferLock() : events_.ReceiverLock();
}

void CNorvaneUSBDevice::StopReader(EventSide side) {
  hid::HidDevice& device = EventInterface(side);
  // Closing the interface releases the read the thread blocks in.
  ReaderOf(side).Stop(kSyncStopWait, [&device] { device.Close(); });
}

int CNorvaneUSBDevice::OpenEventInterface(const std::string& path, EventSide side) {
  std::lock_guard lock(EventLock(side));
  StopReader(side);
  hid::HidDevice& device = EventInterface(side);
  const bool opened = device.Open(path, true, true, true, false) != 0;
  if (side == EventSide::kWired) {
    events_.SetOpen(opened);
  } else {
    events_.SetWireless(opened);
  }
  if (!opened) {
    Trace("device page: the event interface " + path + " could not be opened");
    return 0;
  }
  ReaderOf(side).Start("sync", [this, &device, side](std::stop_token stop) {
    RunEventReadLoop(device, stop, [this, side](uint16_t code) { HandleEventCode(code, side); });
  });
  return 1;
}

void CNorvaneUSBDevice::CloseEventInterface(EventSide side) {
  std::lock_guard lock(EventLock(side));
  StopReader(side);
  if (side == EventSide::kWired) {
    events_.SetOpen(false);
  } else {
    events_.SetWireless(false);
  }
}

int CNorvaneUSBDevice::AttachEventInterface(const hid::InterfaceEntry& entry) {
  if (entry.role != hid::InterfaceRole::kEvent || entry.path.empty()) return 0;
  return OpenEventInterface(entry.path, EventSideOf(entry.kind));
}

void CNorvaneUSBDevice::DetachEventInterface(const hid::InterfaceEntry& entry) {
  CloseEventInterface(EventSideOf(entry.kind));
}

bool CNorvaneUSBDevice::IsSyncThreadRunning(EventSide side) const {
  return (side == EventSide::kWired ? wired_reader_ : receiver_reader_).IsRunning();
}

void CNorvaneUSBDevice::HandleEventCode(uint16_t code, EventSide /*side*/) {
  if (code != kEventResync && code != kEventResyncProfile) return;
  // Only 0x402 sets the remembered event: a 0x401 read before the UI thread ran Resync must not turn the
  // pending profile reload into a plain resync.
  if (code == kEventResyncProfile) last_event_ = code;
  resync_timer_.Arm();
}

void CNorvaneUSBDevice::PostToUi(std::function<void()> call) {
  if (services_.poster == nullptr) return;
  services_.poster->Post([alive = std::weak_ptr<int>(alive_), call = std::move(call)] {
    if (alive.lock()) call();
  });
}

}  // namespace norvane::devices
