#pragma once
// CNorvaneMouseDevice: the page and the device object of one mouse, wired or through its receiver. It learns
// where the mouse's buttons sit and its DPI range, reads the mouse's live settings (active profile, active
// DPI stage, lighting), writes the settings record (DPI stages, report rate, lighting, screen size,
// correction), the button assignments and the macros, keeps the profile document in step with the mouse
// and runs the mouse's lighting preview on the base's lighting thread.
//
// Threads: everything runs on the UI thread except ComputeFrame (lighting thread), HandleEventCode (sync
// threads) and the sending half of WriteSettingsSoon (the settings writer). The sync threads only feed
// clicks to the lighting and post the rest to the UI thread.
//
// Results follow the command set: 1 success, 0 channel closed, receiver link down or no reply, negative
// codes for refusals. A failed or partial read leaves every cached table, map, record and the profile as
// they were.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "devices/effect_lists.h"
#include "devices/latest_job_worker.h"
#include "devices/lighting/mouse_lighting.h"
#include "devices/lighting/random_source.h"
#include "devices/mouse/dpi_curve.h"
#include "devices/mouse/mouse_layout.h"
#include "devices/mouse/settings_record.h"
#include "devices/usb_device.h"
#include "profiles/mouse_profiledata.h"
#include "protocol/command_codes.h"

namespace norvane::devices {

class CNorvaneMouseDevice : public CNorvaneUSBDevice,
                            public KeyTableOps,
                            public MacroOps,
                            public SettingsOps {
 public:
  static constexpr int kStageCount = static_cast<int>(mouse::kStageCount);
  static constexpr int kReportRates = mouse::kReportRateStages;
  // Device events: a click in the reaction effect; the mouse switched its profile (0x10p) or its profile and
  // DPI stage (0x11sp) with its own buttons.
  static constexpr std::uint16_t kEventClick = 0x403;
  static constexpr std::uint8_t kEventProfile = 0x10;
  static constexpr std::uint8_t kEventProfileAndStage = 0x11;

  explicit CNorvaneMouseDevice(PageServices services = {});
  ~CNorvaneMouseDevice() override;

  KeyTableOps* KeyTable() override { return this; }
  MacroOps* Macros() override { return this; }
  SettingsOps* Settings() override { return this; }

  // ---- Reading the mouse.
  // Information block, key table and button map in one series (on the receiver only while the link is up).
  // 1 or the first failing result; the page is told how it went.
  int ReadDeviceKeys();
  // The active profile number and its settings record: the lighting and the active DPI stage go into the
  // profile, which is saved. 1 or the first failing result (nothing changes then).
  int ReadLiveSettings();
  int LastLiveReadResult() const { return last_live_result_; }
  int ActiveProfile() const { return active_profile_.load(); }
  // Whether the link takes commands now: the channel is open and, through the receiver, the mouse answers.
  bool IsLinkUsable();

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
  int WriteKeyTable(int page, std::span<const std::uint8_t> codes) override;
  // The mouse has no second key table: nothing is sent (0).
  int WriteKeyTableExtra(int page, std::span<const std::uint8_t> codes) override;
  int WriteKeyTableFromProfile(int page) override;
  int WriteKeyTableExtraFromProfile(int page) override;
  int WriteMacros(std::span<const int> macros) override;
  std::vector<std::string> MacroNames() const override { return lists_.macroNames; }
  std::span<const KeyAssignment> KeyAssignments() const override { return key_list_; }
  void SetSelectedKeyAssignment(const KeyAssignment& assignment) override;
  void RefreshKeyLabels() override;
  // The key table (page 0), then the macros the buttons use; the user is told what failed.
  int CommitKeyAssignments() override;
  // The settings record from the profile, written as record `profile` with `value` in byte 0, flag 1 and
  // the screen size. 1 or the first failing result; 0 when the link is not usable.
  int WriteSettings(int profile, int value) override;
  void WriteSettingsSoon(int profile, int value, std::function<void(int)> done) override;
  void WaitForSettingsWrites();
  void SelectFunctionTab(int code) override;
  void SelectKey(int index) override;
  void SelectLightKey(int index) override;
  void SetVariantIndex(int index) override;
  void SetLightParams(const lighting::LightParams& params) override;

  // ---- Mouse operations.
  // WriteMacros of the macros the buttons use, with the user told when that fails.
  int WriteUsedMacros();
  // The recoil patterns of the four gun files (devices/mouse/recoil.h) as one block, after the information
  // block is read again; through the receiver the mouse is asked for before each step. 1, the first failing
  // result (0: the link is not usable), or kShootTooLarge when the guns hold more events than a block can
  // (nothing is sent then). Once begun, the series is always closed.
  static constexpr int kShootTooLarge = -300;
  int WriteShootData();

  // DPI stages. Stage numbers name stages 0..4 the profile has; anything else is ignored (false).
  const std::vector<DpiStage>& DpiStages() const { return stages_; }
  int StageCount() const;
  bool HasStage(int stage) const { return stage >= 0 && stage < StageCount(); }
  int ActiveStage() const { return active_stage_; }
  bool SetStageEnabled(int stage, bool enabled);
  // The stage's slider position, kept within the sensor's range.
  bool SetStagePosition(int stage, int position);
  bool SetStageColour(int stage, lighting::Rgb colour);
  bool SetActiveStage(int stage);
  // Whether the DPI range is known (the information block was read).
  bool HasDpiScale() const { return layout_.loaded; }
  mouse::DpiScale DpiScale() const;

  MouseSystemStages SystemSettings() const { return system_; }
  // Stores the settings into the profile document (SaveProfile writes them).
  void SetSystemSettings(const MouseSystemStages& settings);

  // ---- State, for the page and for tests.
  const mouse::MouseLayout& Layout() const { return layout_; }
  const mouse::SettingsRecord& LiveRecord() const { return live_record_; }
  std::uint8_t LiveMode() const { return live_mode_.load(); }
  const std::vector<KeyAssignment>& KeyList() const { return key_list_; }
  const EffectLists& Lists() const { return lists_; }
  CMouseProfiledata& Profile() { return profile_; }
  lighting::MouseLighting& Lighting() { return lighting_; }

 protected:
  void ComputeFrame(Clock::TimePoint now) override;
  void HandleEventCode(uint16_t code, EventSide side) override;

 private:
  void TakeProfileDocument();
  int ReadLiveRecord();
  void StoreStages();
  void StoreLightIntoProfile();
  std::size_t MacroCount() const;
  int EnsureLayout();
  // The key table with these assignments (the shared builder over the buttons the mouse has).
  int WriteKeys(int page, std::span<const KeyAssignment> keys);
  void ShowMessage(DeviceMessage message) const;
  // The live profile (and stage) the mouse reported with its own buttons.
  void TakeDeviceSwitch(int profile, std::optional<int> stage);
  // The record a settings write sends, from the state as it is now; nullopt (and why in `result`) when
  // nothing can be sent.
  std::optional<mouse::SettingsRecord> PrepareSettings(int profile, int value, int& result,
                                                       std::uint16_t& address);
  int SendSettings(const mouse::SettingsRecord& record, std::uint16_t address);
  std::span<const std::uint8_t> ModeTable();

  CMouseProfiledata profile_;
  mouse::MouseLayout layout_;
  mouse::SettingsRecord live_record_{};
  EffectLists lists_;
  std::vector<KeyAssignment> key_list_;
  std::vector<DpiStage> stages_;
  int active_stage_ = 0;
  MouseSystemStages system_;
  std::vector<CorrectInfoEntry> correction_;
  int last_live_result_ = protocol::kResultNoReply;

  // Read by the lighting and sync threads.
  std::atomic<std::uint8_t> live_mode_{0};
  std::atomic<int> active_profile_{0};

  lighting::DefaultRandomSource random_;
  lighting::MouseLighting lighting_{random_};
  // Last member: it finishes its writes before anything they use goes.
  LatestJobWorker settings_writer_;
};

}  // namespace norvane::devices
