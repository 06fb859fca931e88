#pragma once
// EmulatedAudioChip: the audio chip of the emulated headset, for the demo mode ("--emulate headset") and
// the tests. It keeps a property store per device, answers with the chip's value words, ranges and feature
// list, refuses values a chip would refuse (a scalar volume outside 0.0 to 1.0, a voice beyond the fourth,
// a band beyond ±20 dB, a mute word other than 0 or 1), and lets tests make any call fail.
//
// Its lists: playback devices (a speaker output of type 12 first, then the headset, type 1) and capture
// devices (the headset's microphone, type 2). Thread-safe.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "devices/headset/audio_chip.h"

namespace norvane::devices::headset {

class EmulatedAudioChip : public AudioChip {
 public:
  struct ListedDevice {
    AudioDeviceWords words;
    std::string features = "1,1,1,1,1,1,1";
  };
  struct Call {
    std::int32_t device = 0;  // the device's id
    std::string property;
    PropertyAccess access = PropertyAccess::kGet;
    std::int32_t word = 0;    // the value's first word as sent (set) or answered (get)
    std::int32_t second = 0;  // the second buffer's first word as sent
    int result = kAudioOk;
  };

  static constexpr std::int32_t kSpeakerId = 1;
  static constexpr std::int32_t kHeadsetOutputId = 2;
  static constexpr std::int32_t kMicrophoneId = 3;

  EmulatedAudioChip();

  // AudioChip.
  int ConfLibInit() override;
  int CreateDeviceList() override;
  int GetDeviceCount(AudioDirection direction, std::int32_t& count) override;
  int GetDeviceById(AudioDirection direction, std::int32_t index, AudioDeviceWords& device) override;
  int PropertyControl(const AudioDeviceWords& device, std::string_view property, PropertyAccess access,
                      PropertyBuffer& value, PropertyBuffer& second) override;
  std::string Describe() const override { return "emulated audio chip"; }

  // ---- For tests.
  void SetDevices(AudioDirection direction, std::vector<ListedDevice> devices);
  void SetInitResult(int result);
  // The next `times` calls of this property (0: every call until cleared) answer `result`.
  void FailProperty(std::string property, int result, int times = 0);
  void ClearFailures();
  // The property no longer answers (as on a chip without it).
  void RemoveProperty(std::int32_t device, const std::string& property);
  std::optional<std::int32_t> Word(std::int32_t device, const std::string& property) const;
  std::optional<float> Float(std::int32_t device, const std::string& property) const;
  std::vector<Call> Calls() const;
  void ClearCalls();

 private:
  struct Stored {
    PropertyBuffer value{};
    PropertyBuffer second{};
  };
  struct Failure {
    int result = kAudioFailed;
    int left = 0;  // 0: until cleared
  };
  using Key = std::pair<std::int32_t, std::string>;

  void SetInitial(std::int32_t device, const std::string& property, std::int32_t word);
  void SetInitialFloat(std::int32_t device, const std::string& property, float value);
  void SetInitialText(std::int32_t device, const std::string& property, const std::string& text);
  int Answer(std::int32_t device, const std::string& property, PropertyAccess access, PropertyBuffer& value,
             PropertyBuffer& second);
  bool Accepts(const std::string& property, const PropertyBuffer& value) const;
  std::string DecibelText(std::int32_t device, const std::string& scalar, double bottom, double top) const;

  mutable std::mutex mutex_;
  int initResult_ = kAudioOk;
  std::vector<ListedDevice> outputs_;
  std::vector<ListedDevice> inputs_;
  std::map<Key, Stored> store_;
  std::map<std::string, Failure> failures_;
  std::vector<Call> calls_;
};

}  // namespace norvane::devices::headset
