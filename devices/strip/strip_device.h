#pragma once
// CStripDevice: what the mouse pad and the headset pages share. Both light a short row of LEDs with the
// strip generators, keep their lighting in a 21-byte record per profile (strip_record.h), read that record
// back live, and resynchronise half a second after the device reports a change (event 0x401 on the wired
// event interface). The kinds add their own reads, their presentation and byte 0 of the record.
//
// Threads: the UI thread calls everything except ComputeFrame (lighting thread) and HandleEventCode (sync
// thread). Settings written "soon" go out on a writer thread of their own.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "devices/coalescing_timer.h"
#include "devices/effect_lists.h"
#include "devices/latest_job_worker.h"
#include "devices/lighting/strip_lighting.h"
#include "devices/strip/strip_record.h"
#include "devices/usb_device.h"

namespace norvane::devices {

class CStripDevice : public CNorvaneUSBDevice, public SettingsOps {
 public:
  static constexpr std::chrono::milliseconds kStripResyncDelay{500};

  CStripDevice(PageServices services, lighting::StripKind kind);
  ~CStripDevice() override;

  SettingsOps* Settings() override { return this; }

  // ---- The live record.
  // The number of the profile in use and its record. 1 or the first failing command's result; a failed read
  // keeps the record and the profile number last read.
  int ReadLiveRecord();
  bool HasLiveRecord() const { return live_read_; }
  const strip::StripRecord& LiveRecord() const { return live_record_; }
  int ActiveProfile() const { return active_profile_; }
  // ReadLiveRecord, then the page takes the record's lighting (and the profile keeps it).
  int ReadLiveSettings();
  // How the last first synchronisation went.
  SyncResult LastSyncResult() const { return sync_result_; }

  // ---- Base operations.
  void Resync() override;
  int LoadProfile() override;
  // Loads the profile from a profile file's text the way LoadProfile loads the file, completed from the
  // default profile's document when the text lacks the device's entry; nothing is read or written here.
  void LoadProfileFromText(std::string_view text, const Json::Value& defaults);
  void LoadDefaultProfile() override;
  int RefreshKeyButtons() override;
  void RefreshPage() override;
  void FillEffectAndMacroLists();
  const EffectLists& Lists() const { return lists_; }
  void SetLightParams(const lighting::LightParams& params) override;
  void ReadWirelessStatus() override;

  // The record of `profile` at profile × 64, between CmdBegin and CmdEnd. Without a live record it is read
  // first, so the firmware's bytes go back as the device holds them; nothing is written when that fails.
  // 1, or the first failing command's result (0 with a closed channel).
  int WriteSettings(int profile, int value) override;
  void WriteSettingsSoon(int profile, int value, std::function<void(int)> done) override;
  void WaitForSettingsWrites() { settings_writer_.WaitIdle(); }

 protected:
  void ComputeFrame(Clock::TimePoint now) override;
  // 0x401 on the wired event interface: Resync kStripResyncDelay after the last of a burst. Nothing else.
  void HandleEventCode(uint16_t code, EventSide side) override;
  // Byte 0 of the record a write sends, for the write's value argument.
  virtual std::uint8_t FirstRecordByte(int value) const = 0;
  // The profile document was (re)loaded: the kind takes its own sections.
  virtual void TakeProfileDocument() {}
  // The status record as the kind shows it (byte 3 is the link flag).
  virtual void AdjustStatus(std::span<std::uint8_t> /*status*/) {}
  lighting::StripLighting& Lighting() { return lighting_; }
  std::span<const std::uint8_t> ModeTable();
  // Stops the threads that call the kinds' overrides; the kinds call it first in their destructors.
  void StopWorkers();
  // Keeps and shows how the first synchronisation went.
  void ReportSync(SyncResult result);

 private:
  struct PreparedSettings {
    strip::StripRecord record{};
    std::uint16_t address = 0;
  };
  std::optional<PreparedSettings> PrepareSettings(int profile, int value, int& result);
  int SendSettings(const PreparedSettings& prepared);
  void StartModeIfChanged(std::uint8_t mode);

  lighting::StripLighting lighting_;
  EffectLists lists_;
  strip::StripRecord live_record_{};
  bool live_read_ = false;
  int active_profile_ = 0;
  SyncResult sync_result_ = SyncResult::kNotRun;
  std::optional<std::uint8_t> started_mode_;  // the mode the sweeps were last started for
  // Last members: their threads end before anything they use goes.
  LatestJobWorker settings_writer_;
  CoalescingTimer resync_timer_{kStripResyncDelay, [this] { PostToUi([this] { Resync(); }); }};
};

}  // namespace norvane::devices
