#pragma once
// The mixer controls of the headset's USB sound card that the ALSA backend uses: the microphone's capture
// level and switch, and the microphone's playback into the headphones (monitoring) where the card has it.
// A switch that is on lets the sound through (not muted). Levels are the card's raw steps; decibels are in
// hundredths.

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace norvane::devices::headset {

enum class MixerPart { kMicrophone, kMonitoring };

struct MixerRange {
  long low = 0;
  long high = 0;
};

class SoundCardMixer {
 public:
  virtual ~SoundCardMixer() = default;
  virtual bool HasLevel(MixerPart part) const = 0;
  virtual bool HasSwitch(MixerPart part) const = 0;
  virtual std::optional<MixerRange> LevelRange(MixerPart part) = 0;
  virtual std::optional<long> Level(MixerPart part) = 0;
  virtual bool SetLevel(MixerPart part, long level) = 0;
  virtual std::optional<MixerRange> DecibelRange(MixerPart part) = 0;
  virtual std::optional<long> Decibels(MixerPart part) = 0;
  virtual std::optional<bool> Switch(MixerPart part) = 0;
  virtual bool SetSwitch(MixerPart part, bool on) = 0;
  // "hw:2" and the like, for traces.
  virtual std::string Describe() const = 0;
};

// The ALSA card of the USB device that the HID node at `hidPath` belongs to; nullopt when the node is not a
// hidraw node of this machine or its USB device has no sound card.
std::optional<int> SoundCardOfHidNode(const std::string& hidPath);

// The mixer of an ALSA control device ("hw:2"); null when it cannot be opened or has neither a microphone
// level nor a microphone switch.
std::unique_ptr<SoundCardMixer> OpenAlsaMixer(const std::string& control);

}  // namespace norvane::devices::headset
