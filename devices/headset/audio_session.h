#pragma once
// The headset page's conversation with its audio chip: starting the library, choosing the playback and the
// capture device, reading what they support, putting the chip's effects into a known state, and the typed
// property calls every audio setting goes through.
//
// Start, in the library's own order: ConfLibInit; CreateDeviceList; GetDeviceCount of the playback list;
// with at least one device: choose the devices, read their feature lists, reset the properties that did not
// answer, read the level ranges. A property is reset only when reading it fails, so a start leaves every
// setting that answers as it was (the microphone is never muted or silenced by starting the program).
//
// Everything runs on the UI thread.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "devices/headset/audio_chip.h"

namespace norvane::devices::headset {

// Which of the two chosen devices a property belongs to.
enum class AudioEnd { kOutput, kInput };

// What the feature lists tell: field 0 of the playback device's, field 4 of the capture device's and
// field 6 of the playback device's list.
enum class AudioFeature { kEqualizer, kVoiceChanger, kSurround };

struct VolumeRange {
  double minDb = 0;
  double maxDb = 0;
  double stepDb = 0;
  bool known = false;
};

struct AudioStartReport {
  int initResult = kAudioOk;     // ConfLibInit's answer; nothing else ran when it is not 0
  bool hasOutput = false;        // a playback device of a usable type was found
  bool hasInput = false;         // a capture device of type 2 was found
  bool featuresShort = false;    // a chosen device's feature list had fewer than 7 fields
};

class AudioSession {
 public:
  // Device types, most wanted first, that a playback device may have (with state 1); a capture device has
  // type 2 in any state.
  static constexpr std::array<std::int32_t, 4> kOutputTypes = {1, 12, 7, 4};
  static constexpr std::int32_t kInputType = 2;
  static constexpr std::int32_t kActiveState = 1;
  static constexpr std::size_t kFeatureFields = 7;

  explicit AudioSession(std::shared_ptr<AudioChip> chip);

  AudioStartReport Start();
  bool IsStarted() const { return started_; }
  bool HasDevice(AudioEnd end) const { return Device(end).has_value(); }
  std::optional<AudioDeviceWords> Device(AudioEnd end) const {
    return end == AudioEnd::kOutput ? output_ : input_;
  }
  bool Supports(AudioFeature feature) const;
  // Reads the microphone's and the monitoring's level ranges (decimal texts, in decibels).
  void ReadVolumeRanges();
  const VolumeRange& MicRange() const { return micRange_; }
  const VolumeRange& MonitorRange() const { return monitorRange_; }
  const AudioChip* Chip() const { return chip_.get(); }

  // Typed calls; kAudioUnsupported without a device at that end. `second` is the selector word.
  int SetWord(AudioEnd end, std::string_view property, std::int32_t value, std::int32_t second = 0);
  int SetFloat(AudioEnd end, std::string_view property, float value, std::int32_t second = 0);
  int GetWord(AudioEnd end, std::string_view property, std::int32_t& value, std::int32_t second = 0);
  int GetFloat(AudioEnd end, std::string_view property, float& value, std::int32_t second = 0);
  int GetText(AudioEnd end, std::string_view property, std::string& text, std::int32_t second = 0);

 private:
  std::optional<AudioDeviceWords> ChooseOutput(std::int32_t count);
  std::optional<AudioDeviceWords> ChooseInput();
  bool ReadFeatures(AudioEnd end, std::array<std::int32_t, 3>& fields);
  void ResetProperties();
  void ResetIfSilent(AudioEnd end, std::string_view property, std::int32_t second);
  int Call(AudioEnd end, std::string_view property, PropertyAccess access, PropertyBuffer& value,
           PropertyBuffer& second);

  std::shared_ptr<AudioChip> chip_;
  bool started_ = false;
  std::optional<AudioDeviceWords> output_;
  std::optional<AudioDeviceWords> input_;
  std::array<std::int32_t, 3> outputFeatures_{};  // fields 0, 4 and 6
  std::array<std::int32_t, 3> inputFeatures_{};
  VolumeRange micRange_;
  VolumeRange monitorRange_;
};

}  // namespace norvane::devices::headset
