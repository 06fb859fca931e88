#pragma once
// CNorvaneHS6533Device: the page and the device object of a headset on the 6533 audio chip. Its lighting and
// lighting record go through the HID command interface like the other kinds (the LEDs themselves are driven
// with output reports, light_reports.h); its sound (equalizer, microphone level and mute, monitoring, voice
// changer) goes through the audio chip (audio_chip.h), whose backend the provider chooses for the headset.
//
// The audio operations take what the user set on the page as arguments and keep the page's audio state
// (AudioView); the headset editor shows that state after each of them. A setting is stored in the profile
// only after the chip took it, so a failed write leaves the profile and the page as they were. What the chip
// or card cannot do is reported as unavailable and never written.
//
// Threads: the UI thread calls everything, except what CStripDevice says; the lighting reports go out on
// the sender's thread.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "devices/headset/audio_session.h"
#include "devices/headset/equalizer.h"
#include "devices/headset/light_sender.h"
#include "devices/strip/strip_device.h"
#include "profiles/hs6533_profiledata.h"

namespace norvane::devices {

// Results of the audio operations.
inline constexpr int kAudioDone = 1;
inline constexpr int kAudioNothing = 0;         // nothing to do (already so, or nothing chosen)
inline constexpr int kAudioRefused = -1;        // the operation does not apply (a full list, no name)
inline constexpr int kAudioNotTaken = -2;       // the chip did not take the setting
inline constexpr int kAudioUnavailable = -3;    // the chip or card has no such setting

class CNorvaneHS6533Device : public CStripDevice {
 public:
  static constexpr std::string_view kClassName = "NorvaneHS6533Device";
  static constexpr int kVoiceCount = 4;

  // What the headset's audio side shows.
  struct AudioView {
    HeadsetSystemSetStages settings;
    headset::EqBands bands{};
    int shownPreset = 0;  // the equalizer option shown selected: 1 to 13, 0 none
    std::vector<std::string> customNames;
    int customSelection = -1;
    bool customSetsShown = false;
    bool started = false;  // the chip answered; otherwise every audio control is unavailable
    bool equalizer = false;
    bool micLevel = false;
    bool micMute = false;
    bool monitorLevel = false;
    bool monitorMute = false;
    bool voiceChanger = false;
    bool surround = false;
    std::string micDb;  // the level in decibels as the chip tells it; empty when it does not
    std::string monitorDb;
    headset::VolumeRange micRange;
    headset::VolumeRange monitorRange;
    std::string noticeTextId;  // why the audio side is unavailable; empty when it is not
  };

  explicit CNorvaneHS6533Device(PageServices services = {});
  ~CNorvaneHS6533Device() override;

  std::string_view GetClass() const { return kClassName; }
  CBasicProfiledata* ProfileDocument() override { return &profile_; }
  CHs6533Profiledata& Profile() { return profile_; }

  // Forgets what the LEDs were sent; loads the profile; reads the live record (the firmware's bytes for
  // later writes); starts the audio chip; refreshes; starts the lighting thread.
  void InitialSync() override;
  // Only while the host drives the lighting: the preview, and the twelve output reports of the frame.
  bool PresentFrame() override;
  // The lighting reports sent so far, and waiting until those handed on have gone (tests, benchmarks).
  std::uint64_t LightReportsSent() const { return sender_.ReportsSent(); }
  void WaitForLightReports() { sender_.WaitIdle(); }

  // ---- Audio.
  // Starts the chip (through the provider) and reads its levels and mutes; the profile's equalizer and
  // voice changer then go to the chip.
  void InitAudio();
  const AudioView& Audio() const { return audio_; }
  const headset::AudioSession* Session() const { return session_.get(); }

  int ApplyEqPreset(int preset);
  int ApplyCustomEq(int set);
  // The name as typed; `bands` as the sliders show them. 1 saved, 0 a set of that name exists, -1 refused
  // (no name and no set chosen, or 20 sets already).
  int SaveCustomEq(const std::string& name, const headset::EqBands& bands);
  int DeleteCustomEq();
  int SetEqBand(int band, int value);
  int ApplyMicLevel(int level);
  int SetMicOn(bool on);
  int ApplyMonitorLevel(int level);
  int SetMonitorOn(bool on);
  int SetVoiceChanger(bool on);
  int SelectVoice(int voice);

 protected:
  std::uint8_t FirstRecordByte(int value) const override { return static_cast<std::uint8_t>(value); }
  void TakeProfileDocument() override;
  // Byte 3 says whether the headset is reached through a receiver.
  void AdjustStatus(std::span<std::uint8_t> status) override;

 private:
  bool SendLightReport(std::span<const std::uint8_t> report);
  void StoreSettings(const HeadsetSystemSetStages& settings);
  // The page shows set `set` with these bands as the equalizer's, and the profile keeps it chosen.
  void PlayCustomSet(int set, const headset::EqBands& bands);
  void ShowBands(const headset::EqBands& bands);
  int WriteBands(const headset::EqBands& bands);
  void ReadLevels();
  // The profile's equalizer and voice changer to the chip.
  void ApplyStoredSound();
  int ApplyLevel(bool mic, int level);
  int SetSwitch(bool mic, bool on);

  CHs6533Profiledata profile_;
  std::shared_ptr<headset::AudioSession> session_;
  AudioView audio_;
  bool lightControlWasOff_ = false;
  // Last: its thread sends through the command channel and stops before anything it uses goes.
  headset::LightReportSender sender_{[this](std::span<const std::uint8_t> report) { return SendLightReport(report); }};
};

}  // namespace norvane::devices
