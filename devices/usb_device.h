#pragma once
// CNorvaneUSBDevice: the display-free core of a device page, and the object that talks to one connected
// device. There is one per device model; the kinds derive from it. It holds the two channels (commands;
// event interfaces read by the sync threads), the identity the detection produced, the page's counts,
// the lighting state with its LED frame buffer and the generic generators, the profile locations, the
// lighting thread and one sync thread per open event interface.
//
// Threads: the UI thread calls everything unless stated. The lighting thread runs LightingTick; the sync
// threads run HandleEventCode. The LED frame buffer, the light parameters, the animation counters, the
// reactive buffers and the per-LED colour records are guarded by one short lock (the lighting lock), so
// PresentFrame on the UI thread always sees a whole frame. Worker threads reach the UI only through the
// injected UiPoster. The threads call the kinds' overrides (ComputeFrame, HandleEventCode), so a kind stops
// them in its own destructor (StopLightingThread, CloseEventInterface); the base stops them again, too late
// for the overrides but in time for its own members.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "devices/coalescing_timer.h"
#include "devices/lighting/custom_step_player.h"
#include "devices/lighting/device_frame.h"
#include "devices/lighting/generic_generators.h"
#include "devices/lighting/led_record.h"
#include "devices/lighting/light_params.h"
#include "devices/lighting/lighting_ticker.h"
#include "devices/device_capabilities.h"
#include "devices/frame_demand.h"
#include "devices/latest_job_worker.h"
#include "devices/page_view.h"
#include "devices/ui_poster.h"
#include "devices/worker_thread.h"
#include "hid/interface_table.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "profiles/basic_profiledata.h"
#include "protocol/command_channel.h"

namespace norvane::devices {

// What a page is given from outside: the clock and sleeper of its lighting thread and the way to the UI
// thread. All must outlive the page.
struct PageServices {
  const Clock* clock = &SteadyClock::Instance();
  lighting::Sleeper* sleeper = nullptr;  // null: a StopTokenSleeper of the page's own
  UiPoster* poster = nullptr;            // null: worker events are dropped
};

// Which interface of the event channel an event interface goes to.
enum class EventSide { kWired, kReceiver };

inline EventSide EventSideOf(hid::DeviceKind kind) {
  return hid::IsReceiverKind(kind) ? EventSide::kReceiver : EventSide::kWired;
}

class CNorvaneUSBDevice {
 public:
  static constexpr std::chrono::milliseconds kLightingStopWait{1000};
  static constexpr std::chrono::milliseconds kSyncStopWait{500};
  // Device event codes every kind answers by resynchronising; 0x402 also asks for the profile to be loaded
  // again.
  static constexpr uint16_t kEventResync = 0x401;
  static constexpr uint16_t kEventResyncProfile = 0x402;
  // A burst of those events leads to one Resync this long after the last of them.
  static constexpr std::chrono::milliseconds kResyncDelay{50};

  explicit CNorvaneUSBDevice(PageServices services = {});
  virtual ~CNorvaneUSBDevice();
  CNorvaneUSBDevice(const CNorvaneUSBDevice&) = delete;
  CNorvaneUSBDevice& operator=(const CNorvaneUSBDevice&) = delete;

  // ---- Set-up by the creator, in this order, and their getters.
  void SetSkinFile(std::string name) { skin_file_ = std::move(name); }
  const std::string& SkinFile() const { return skin_file_; }
  void SetKeyCount(int count);
  int KeyCount() const { return key_count_; }
  // Resizes the LED buffer when the count changes and always clears every LED.
  void SetLedCount(int count);
  int LedCount() const;
  void SetModelIndex(int index) { model_index_ = index; }
  int ModelIndex() const { return model_index_; }
  void SetWirelessCapable(bool capable);
  bool IsWirelessCapable() const { return wireless_capable_; }
  void SetModelOption(int value) { model_option_ = value; }
  int ModelOption() const { return model_option_; }
  void SetProfileStem(std::string stem) { profile_stem_ = std::move(stem); }
  const std::string& ProfileStem() const { return profile_stem_; }
  void SetDeviceFolder(std::string folder) { device_folder_ = std::move(folder); }
  const std::string& DeviceFolder() const { return device_folder_; }
  void SetLightListStem(std::string stem) { light_list_stem_ = std::move(stem); }
  const std::string& LightListStem() const { return light_list_stem_; }
  // The LED whose colour the page's logo button shows; -1 for none.
  void SetLogoLed(int led) { logo_led_ = led; }
  int LogoLed() const { return logo_led_; }
  // Copies the interface record and takes the kind and the role from it.
  void SetIdentity(const hid::InterfaceEntry& entry);
  const hid::InterfaceEntry& Identity() const { return identity_; }
  hid::DeviceKind Kind() const { return kind_; }
  uint16_t KindCode() const { return static_cast<uint16_t>(kind_); }
  uint16_t RoleCode() const { return role_; }
  void AttachView(PageView* view) { view_ = view; }
  void AttachPreview(FramePreview* preview) { preview_ = preview; }

  // Stored only for a wireless-capable page; the kinds skip the status read while it is non-zero.
  void SetWirelessState(int state);
  int WirelessState() const { return wireless_state_; }
  // The host drives the lighting. On a wired keyboard, turning it on takes the device's lighting over.
  void SetLightControl(bool on);
  bool HasLightControl() const { return light_control_.load(); }
  void SetWindowActive(bool active) { window_active_ = active; }
  bool IsWindowActive() const { return window_active_; }
  // Kept in the command channel: the lighting thread computes nothing while it is set.
  void SetAnimationPaused(bool paused) { command_.SetPaused(paused); }
  bool IsAnimationPaused() const;

  // Whether the page's preview can be seen now; the page says so whenever that changes (true until it
  // does). The lighting thread computes frames only while someone needs them: the preview that can be seen,
  // or the device itself (FramesReachDevice); otherwise it waits without ticking.
  void SetPreviewShown(bool shown);
  bool IsPreviewShown() const { return preview_shown_.load(); }
  // Whether the device takes the host's frames now (an effect the host streams to it). The base sends its
  // frames nowhere but to the preview; a kind that streams says so while it does. Any thread.
  virtual bool FramesReachDevice() const { return false; }
  bool FramesWanted() const { return IsPreviewShown() || FramesReachDevice(); }

  // ---- Channels.
  protocol::CommandChannel& CommandChannel() { return command_; }
  protocol::CommandChannel& EventChannel() { return events_; }
  // Whether another thread holds the command channel's lock now (a series or a command waiting for its
  // reply): what asks on the UI thread without need can then leave it for later.
  bool IsCommandChannelInUse();

  // ---- Profile locations. Empty paths when a name is not a plain file name.
  std::filesystem::path UserProfileFolder() const;
  std::filesystem::path DefaultProfileFile() const;
  std::filesystem::path CurrentProfileFile() const;  // folder + stem + ".Json"
  // folder + light-list stem + ".config"; the default-data folder's list while the user has none.
  std::filesystem::path LightListFile() const;

  // ---- Lighting state (any thread; short lock).
  lighting::LedRecord LedAt(std::size_t index) const;
  std::vector<lighting::LedRecord> FrameSnapshot() const;
  lighting::GenericAnimation Animation() const;
  // Replaces the custom light list; its first step starts with what is left of the running step's time.
  void SetCustomSteps(std::vector<lighting::LightStep> steps) { steps_.SetSteps(std::move(steps)); }
  std::size_t CustomStepIndex() const { return steps_.StepIndex(); }

  // ---- Lighting thread. Started by the kinds' InitialSync; stopped within kLightingStopWait.
  void StartLightingThread();
  void StopLightingThread();
  bool IsLightingThreadRunning() const { return lighting_thread_.IsRunning(); }
  // One tick of the lighting thread: nothing while paused, while the command channel is closed or while no
  // one wants frames (FramesWanted), else ComputeFrame. Public so tests can step it with their own clock.
  void LightingTick(Clock::TimePoint now);

  // ---- Event interfaces. Opens `path` (read and write, shared) into the event channel's wired or receiver
  // interface, stopping that side's sync thread and closing the previous one first, and starts a sync
  // thread on it. 1 on success, 0 when the interface could not be opened.
  int OpenEventInterface(const std::string& path, EventSide side);
  // Stops the side's sync thread (by closing its interface) and clears its open flag.
  void CloseEventInterface(EventSide side);
  bool IsSyncThreadRunning(EventSide side) const;
  // The same for a claimed event entry of the catalogue: a receiver kind's goes to the receiver side.
  int AttachEventInterface(const hid::InterfaceEntry& entry);
  void DetachEventInterface(const hid::InterfaceEntry& entry);
  // 0x402 from the time a sync thread read one until TakeLastDeviceEvent (Resync) takes it, else 0: a 0x401
  // that follows does not undo a pending profile reload.
  uint16_t LastDeviceEvent() const { return last_event_.load(); }
  uint16_t TakeLastDeviceEvent() { return last_event_.exchange(0); }

  // ---- The virtual operations of every page, with the base's behaviour.
  virtual void BindKeyButtons();
  virtual int RefreshKeyButtons() { return 0; }
  virtual void FrameBreathing();
  virtual void FrameBreathingCycle();
  virtual void FrameStatic();
  virtual void FrameSpectrum();
  virtual void FrameFlash(Clock::TimePoint now);
  virtual void FrameFlashCycle(Clock::TimePoint now);
  virtual void FrameOff();
  // Only while the host has the light control: copies the LED frame, builds the device frame (512 bytes,
  // never more) and shows both on the preview. Returns whether a frame was presented.
  virtual bool PresentFrame();
  virtual void SetLedRecord(std::size_t index, lighting::LedRecord record);
  virtual lighting::LedRecord GetLedRecord(std::size_t index) const;
  virtual void InitialSync() {}
  // The reads of InitialSync without the page or the lighting thread (what a change made without the window
  // needs first): 1, or the first failing result. Kinds without such reads have nothing to do.
  virtual int ReadDeviceState() { return 1; }
  virtual void Resync() {}
  virtual void ReadWirelessStatus() {}
  // The 6-byte status record of a keyboard or mouse (byte 0 battery percent, byte 1 charge state, byte 3
  // set here to 1 through the receiver, byte 5 phone type), after the link check: kResultOk or the first
  // failing result.
  using StatusRecord = std::array<uint8_t, 6>;
  int ReadStatusRecord(StatusRecord& status);
  virtual int IsWirelessLinkUp() { return 1; }
  virtual int LoadProfile() { return 0; }
  virtual void RefreshPage() {}
  virtual void LoadDefaultProfile() {}
  virtual void SelectFunctionTab(int code);
  virtual int GetFunctionTab() const { return function_tab_; }
  // The kind's profile document; null for a page that keeps none. The profile operations below work on it.
  virtual CBasicProfiledata* ProfileDocument() { return nullptr; }
  const CBasicProfiledata* ProfileDocument() const {
    return const_cast<CNorvaneUSBDevice*>(this)->ProfileDocument();
  }
  // Points the document at the current profile file, the custom light list and the model's defaults.
  virtual void ResolveProfileFile();
  // Loads the current profile file into the document (a missing or damaged one is repaired from the
  // defaults). False, and the document as it was, without a document or a usable file name.
  bool LoadProfileDocument();
  // Loads the model's default profile into the document, to be saved as the current one. False, and the
  // document as it was, when the default cannot be read: it must not replace the user's profile with nothing.
  bool LoadDefaultDocument();
  virtual std::filesystem::path GetProfileFilePath() const;
  // Saves the document; a failed write is logged (and returned) and the file on disk stays as it was.
  virtual FileResult SaveProfile();
  virtual void SetVariantIndex(int index) { variant_index_ = index; }
  virtual int GetVariantIndex() const { return variant_index_; }
  virtual void SetLightParams(const lighting::LightParams& params);
  virtual lighting::LightParams GetLightParams() const;
  virtual void SetAudioLight(const lighting::AudioLight& audio);
  virtual lighting::AudioLight GetAudioLight() const;
  virtual void SelectKey(int index) { selected_key_ = index; }
  virtual void SelectLightKey(int index) { selected_light_ = index; }
  virtual void FeedAudioLevels(std::span<const uint8_t> /*levels*/) {}
  virtual void FeedAudioBands(std::span<const uint8_t> /*bands*/) {}

  // ---- What the kind does beyond the basics; null when it does not do that.
  // Whether the page shows the effect shared by all devices (the lighting synchronisation keeps it in step);
  // any change of the page's own effect takes it out. Read by the synchronisation thread.
  void SetLightSynced(bool synced) {
    light_synced_.store(synced);
    sync_colour_shown_.store(false);
  }
  bool IsLightSynced() const { return light_synced_.load(); }
  // The shared effect's colour of this step (red | green << 8 | blue << 16 | level << 24), from the
  // synchronisation thread. A synchronised page shows it on every LED, and its own generators rest until it
  // leaves the shared effect; a page that is not synchronised ignores it.
  virtual void ShowSyncColour(std::uint32_t word);

  virtual KeyTableOps* KeyTable() { return nullptr; }
  virtual MacroOps* Macros() { return nullptr; }
  virtual SettingsOps* Settings() { return nullptr; }

  // The screen in physical pixels, for settings that depend on it (a mouse's pointer).
  void SetScreenSize(int width, int height) {
    screen_width_ = width;
    screen_height_ = height;
  }
  int ScreenWidth() const { return screen_width_; }
  int ScreenHeight() const { return screen_height_; }

  int SelectedKey() const { return selected_key_; }
  int SelectedLight() const { return selected_light_; }

  // Plays the custom light list for one tick of the lighting thread.
  void PlayCustomSteps(Clock::TimePoint now);

  // The device frame of the last PresentFrame (UI thread).
  const lighting::DeviceFrame& LastDeviceFrame() const { return last_device_frame_; }

 protected:
  // The frame of one lighting tick; the kinds pick their generator by their live mode. Base: nothing.
  virtual void ComputeFrame(Clock::TimePoint /*now*/) {}
  // A device event read by a sync thread, on that thread. Base: 0x402 is remembered, and 0x401 and 0x402
  // (re)start the resync timer, which posts one Resync to the UI thread kResyncDelay after the last one.
  virtual void HandleEventCode(uint16_t code, EventSide side);
  // The device frame built from the presented LEDs. Base: LED n at bytes 3n..3n+2.
  virtual lighting::DeviceFrame BuildFrameForDevice(std::span<const lighting::LedRecord> leds) const;
  // Runs `call` on the UI thread later, unless the page is gone by then.
  void PostToUi(std::function<void()> call);
  // What FramesReachDevice answers may have changed: a lighting thread that waits looks again.
  void NotifyFrameDemand() { frame_demand_.Notify(); }
  // Runs `work` on the frame and the animation state under the lighting lock.
  template <typename Work>
  void WithFrame(Work&& work) {
    std::lock_guard lock(lighting_mutex_);
    work(std::span<lighting::LedRecord>(frame_), animation_, params_);
  }

  PageView* View() const { return view_; }
  FramePreview* Preview() const { return preview_; }
  const Clock& PageClock() const { return *services_.clock; }
  // Runs `send` on `writer` (a newer one replacing one that has not run yet) and hands its result to `done`
  // on the UI thread.
  void SendSoon(LatestJobWorker& writer, std::function<int()> send, std::function<void(int)> done);
  // For kinds that present their frames themselves: what LastDeviceFrame reports.
  void SetLastDeviceFrame(const lighting::DeviceFrame& frame) { last_device_frame_ = frame; }

 private:
  hid::HidDevice& EventInterface(EventSide side);
  std::recursive_mutex& EventLock(EventSide side);
  WorkerThread& ReaderOf(EventSide side) {
    return side == EventSide::kWired ? wired_reader_ : receiver_reader_;
  }
  void StopReader(EventSide side);

  PageServices services_;
  std::unique_ptr<lighting::StopTokenSleeper> own_sleeper_;
  // Posted calls check it on the UI thread: a page destroyed before its call ran is not touched.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);

  protocol::CommandChannel command_;
  protocol::CommandChannel events_;

  std::string skin_file_;
  std::string profile_stem_;
  std::string light_list_stem_;
  std::string device_folder_;

  PageView* view_ = nullptr;
  FramePreview* preview_ = nullptr;

  hid::InterfaceEntry identity_;
  hid::DeviceKind kind_ = hid::DeviceKind::kKeyboard;
  uint16_t role_ = 0;
  int model_index_ = 0;
  int model_option_ = 0;
  int key_count_ = 0;
  int selected_key_ = -1;
  std::atomic<bool> light_synced_{false};
  std::atomic<bool> sync_colour_shown_{false};
  int selected_light_ = -1;
  int function_tab_ = 1;
  int logo_led_ = -1;

  mutable std::mutex lighting_mutex_;  // guards everything up to the next blank line
  std::vector<lighting::LedRecord> frame_;
  lighting::GenericAnimation animation_;
  lighting::LightParams params_;
  lighting::AudioLight audio_;

  lighting::CustomStepPlayer steps_;
  std::atomic<bool> light_control_{true};
  std::atomic<bool> preview_shown_{true};
  FrameDemand frame_demand_;
  bool window_active_ = true;
  bool wireless_capable_ = false;
  int wireless_state_ = 0;
  int variant_index_ = 0;
  int screen_width_ = 0;
  int screen_height_ = 0;
  std::atomic<uint16_t> last_event_{0};

  std::vector<lighting::LedRecord> present_snapshot_;
  lighting::DeviceFrame last_device_frame_{};

  WorkerThread lighting_thread_;
  WorkerThread wired_reader_;
  WorkerThread receiver_reader_;
  // Last, so it is stopped before any member its call uses goes.
  CoalescingTimer resync_timer_{kResyncDelay, [this] { PostToUi([this] { Resync(); }); }};
};

}  // namespace norvane::devices
