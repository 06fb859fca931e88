#pragma once
// CNorvaneKeyboardDevice: the page and the device object of one keyboard, wired or through its receiver. It
// learns the keyboard's key layout, reads its live lighting and system settings, writes key tables, macros,
// the light mask and the settings record, keeps the profile document in step with the keyboard, runs the
// keyboard's lighting engine on the base's lighting thread and streams the frames of the host-driven modes.
//
// Threads: everything runs on the UI thread except ComputeFrame (lighting thread) and HandleEventCode (sync
// threads). The sync threads only feed key events to the lighting engine and post the rest to the UI thread.
//
// Results follow the command set: 1 success, 0 channel closed or no reply, negative codes for refusals. A
// failed or partial read leaves every cached table, map, record and the profile as they were.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "devices/effect_lists.h"
#include "devices/keyboard/frame_streamer.h"
#include "devices/keyboard/keyboard_layout.h"
#include "devices/keyboard/settings_record.h"
#include "devices/latest_job_worker.h"
#include "devices/lighting/keyboard/keyboard_lighting.h"
#include "devices/lighting/random_source.h"
#include "devices/usb_device.h"
#include "profiles/keyboard_profiledata.h"

namespace norvane::devices {

class CNorvaneKeyboardDevice : public CNorvaneUSBDevice,
                               public KeyTableOps,
                               public MacroOps,
                               public SettingsOps {
 public:
  static constexpr std::string_view kClassName = "NorvaneKeyboardDevice";
  static constexpr int kFunctionTabKey = 110;
  static constexpr std::size_t kMaxAudioLevels = 500;
  static constexpr std::size_t kMaxAudioBands = 6;

  explicit CNorvaneKeyboardDevice(PageServices services = {});
  ~CNorvaneKeyboardDevice() override;

  std::string_view GetClass() const { return kClassName; }
  KeyTableOps* KeyTable() override { return this; }
  MacroOps* Macros() override { return this; }
  SettingsOps* Settings() override { return this; }

  // ---- Reading the keyboard.
  // Information block, key tables and maps in one series. 1 or the first failing command's result.
  int ReadDeviceKeys();
  // The active profile number and its settings record; returns the active profile number (the last known
  // one when the read failed). LastLiveReadResult tells how the read went.
  int ReadLiveSettings();
  int LastLiveReadResult() const { return last_live_result_; }
  int ActiveProfile() const { return active_profile_.load(); }

  // ---- Base operations.
  void InitialSync() override;
  int ReadDeviceState() override;
  void Resync() override;
  void ReadWirelessStatus() override;
  int IsWirelessLinkUp() override;
  int LoadProfile() override;
  void LoadDefaultProfile() override;
  CBasicProfiledata* ProfileDocument() override { return &profile_; }
  int RefreshKeyButtons() override;
  void RefreshPage() override;
  void FillEffectAndMacroLists();
  void DropStaleMacroKeys() override;
  std::vector<int> CollectUsedMacros() override;
  // The byte forms take 3 code bytes (type, data1, data2) per UI key; defaults come from the key list.
  int WriteKeyTable(int page, std::span<const std::uint8_t> codes) override;
  int WriteKeyTableExtra(int page, std::span<const std::uint8_t> codes) override;
  int WriteKeyTableFromProfile(int page) override;
  int WriteKeyTableExtraFromProfile(int page) override;
  // 0 written (or nothing to write); above 0 the macros do not fit: that many events must go, plus one;
  // -1 the channel is closed or the write failed.
  int WriteMacros(std::span<const int> macros) override;
  std::vector<std::string> MacroNames() const override { return lists_.macroNames; }
  std::span<const KeyAssignment> KeyAssignments() const override { return key_list_; }
  // Labels of every key of the list, by its current function.
  void RefreshKeyLabels() override;
  // The key table (page 0), then the macros the keys use. A table the keyboard did not take is told
  // ("key_write_failed_text") and the macros are not sent; the profile keeps the assignments either way.
  int CommitKeyAssignments() override;
  // 1 or the first failing command's result; 0 with a closed channel.
  int WriteSettings(int profile, int value) override;
  void WriteSettingsSoon(int profile, int value, std::function<void(int)> done) override;
  // Until the settings written "soon" have gone out (tests, benchmarks).
  void WaitForSettingsWrites();
  bool PresentFrame() override;
  // The streamed effects (the audio modes) are the keyboard's only frames the device takes.
  bool FramesReachDevice() const override;
  void SelectFunctionTab(int code) override;
  void SelectKey(int index) override;
  void SelectLightKey(int index) override;
  void SetVariantIndex(int index) override;
  void SetLightParams(const lighting::LightParams& params) override;
  void SetAudioLight(const lighting::AudioLight& audio) override;
  // Levels and bands as 32-bit little-endian values, as the audio capture program sends them.
  void FeedAudioLevels(std::span<const std::uint8_t> levels) override;
  void FeedAudioBands(std::span<const std::uint8_t> bands) override;

  // ---- Keyboard operations.
  int WriteKeyTable(int page, std::span<const KeyAssignment> keys);
  int WriteKeyTableExtra(int page, std::span<const KeyAssignment> keys);
  // WriteMacros of the macros the key list uses, with the user told when that fails ("message_text_7" for
  // -1, "message_text_16" with the number otherwise). Returns WriteMacros' result.
  int WriteUsedMacros();
  // Mode 21: the LED takes the fixed colour and the set mark. With a custom group chosen in the lighting
  // editor (editorGroup not -1) the colours are stored as that group's and the light mask goes to a wired
  // keyboard.
  void SetCustomKeyColour(int led, int editorGroup);
  // The same for several LEDs (a drag selection): one profile save and one mask for all of them.
  void SetCustomKeyColours(std::span<const int> leds, int editorGroup);
  // Every LED takes the fixed colour (lit 1) or black (lit 0) and that set mark; the mask goes to the
  // keyboard; with a group chosen (not -1) the colours are stored as that group's.
  void FillCustomColours(int lit, int editorGroup);
  // The profile's custom colour group becomes `group`; the profile is saved.
  void ChooseCustomGroup(int group);
  // The LEDs take the colours of the profile's custom group, and the mask goes to the keyboard.
  void LoadCustomColours();
  void ReloadCustomColours() { LoadCustomColours(); }
  // Mode 21: sends the mask of the lit LEDs. 1, a failing command's result, or 0 outside mode 21.
  int SendLightMask();
  // Replaces the selected key's assignment, stores the list into the profile document and saves it.
  void SetSelectedKeyAssignment(const KeyAssignment& assignment) override;
  KeyboardSystemStages SystemSettings() const { return system_; }
  void SetSystemSettings(const KeyboardSystemStages& settings);

  // ---- State, for the page and for tests.
  const keyboard::KeyboardLayout& Layout() const { return layout_; }
  const keyboard::SettingsRecord& LiveRecord() const { return live_record_; }
  std::uint8_t LiveMode() const { return live_mode_.load(); }
  const std::vector<KeyAssignment>& KeyList() const { return key_list_; }
  const EffectLists& Lists() const { return lists_; }
  CKeyboardProfiledata& Profile() { return profile_; }
  lighting::keyboard::KeyboardLighting& Lighting() { return lighting_; }
  // Bytes of a streamed frame: 3 per key position, at most the whole frame.
  std::size_t StreamBytes() const;
  keyboard::StreamOutcome LastStreamOutcome() const { return last_stream_; }

 protected:
  void ComputeFrame(Clock::TimePoint now) override;
  void HandleEventCode(uint16_t code, EventSide side) override;
  lighting::DeviceFrame BuildFrameForDevice(std::span<const lighting::LedRecord> leds) const override;

 private:
  // The live mode changed (or is 21): reset the engine for it; mode 21 loads the custom colours and sends
  // the light mask.
  void StartLightMode(std::uint8_t mode);
  void StoreCustomColours(int group);
  void TakeProfileDocument();
  void StoreLightIntoProfile();
  void SetLiveCopy(const lighting::LightParams& light);
  std::vector<KeyAssignment> KeysFromCodes(std::span<const std::uint8_t> codes) const;
  std::size_t MacroCount() const;
  int EnsureLayout();
  // Refreshes the information block and the table block size before a key-table write.
  int PrepareKeyTableWrite();
  void ShowMessage(DeviceMessage message) const;
  void SetEventPositions(const keyboard::PositionMap& positions);
  struct PreparedSettings {
    keyboard::SettingsRecord record{};
    std::uint16_t address = 0;
  };
  // The record a settings write sends, from the state as it is now; nullopt (and why in `result`) when
  // nothing can be sent.
  std::optional<PreparedSettings> PrepareSettings(int profile, int value, int& result);
  int SendSettings(const PreparedSettings& prepared);
  // The mode table, read from the light lists on first use.
  std::span<const std::uint8_t> ModeTable();

  CKeyboardProfiledata profile_;
  keyboard::KeyboardLayout layout_;
  keyboard::SettingsRecord live_record_{};
  bool live_record_read_ = false;
  lighting::LightParams live_light_;
  EffectLists lists_;
  std::vector<KeyAssignment> key_list_;
  KeyboardSystemStages system_;
  int last_live_result_ = 0;
  keyboard::FrameStreamer streamer_;
  keyboard::StreamOutcome last_stream_ = keyboard::StreamOutcome::kPaused;

  // Read by the lighting and sync threads.
  std::atomic<std::uint8_t> live_mode_{0};
  std::atomic<std::uint8_t> live_speed_{0};
  std::atomic<int> active_profile_{0};
  mutable std::mutex positions_mutex_;  // guards event_positions_
  keyboard::PositionMap event_positions_{};

  lighting::DefaultRandomSource random_;
  lighting::keyboard::KeyboardLighting lighting_{random_};
  // Last member: it finishes its writes before anything they use goes.
  LatestJobWorker settings_writer_;
};

}  // namespace norvane::devices
