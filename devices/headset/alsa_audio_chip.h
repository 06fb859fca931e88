#pragma once
// AlsaAudioChip: the audio chip's properties on the headset's own USB sound card, through its ALSA mixer.
// The card is the one of the USB device that the headset's HID interface belongs to (the chip's USB id is
// shared by many sound devices, so it is never found by id). It offers one playback device (type 1) and one
// capture device (type 2) and answers:
//   - the microphone's level ("VolumeScalarControl", "VolumeControl", ranges "GetMaxVol"...) and mute
//     ("MuteControl"), from the card's microphone capture controls;
//   - the monitoring's ("AAVolumeScalarControl", "AAVolumeControl", "AAMuteControl", "GetAAMaxVol"...),
//     from the microphone's playback controls, where the card has them;
//   - "GetSupportFeature": no equalizer, voice changer or surround.
// Every other property answers kAudioUnsupported: what ALSA cannot do is never faked. Each read of a level or
// mute the card has answers, so starting never writes over the mixer.

#include <functional>
#include <memory>
#include <string>

#include "devices/headset/audio_chip.h"
#include "devices/headset/sound_card_mixer.h"

namespace norvane::devices::headset {

class AlsaAudioChip : public AudioChip {
 public:
  using MixerOpener = std::function<std::unique_ptr<SoundCardMixer>()>;
  static constexpr std::int32_t kPlaybackId = 1;
  static constexpr std::int32_t kCaptureId = 2;

  // The card behind the headset's HID node.
  explicit AlsaAudioChip(const std::string& hidPath);
  // Any mixer (tests).
  AlsaAudioChip(MixerOpener opener, std::string description);

  int ConfLibInit() override;
  int CreateDeviceList() override { return mixer_ ? kAudioOk : kAudioFailed; }
  int GetDeviceCount(AudioDirection direction, std::int32_t& count) override;
  int GetDeviceById(AudioDirection direction, std::int32_t index, AudioDeviceWords& device) override;
  int PropertyControl(const AudioDeviceWords& device, std::string_view property, PropertyAccess access,
                      PropertyBuffer& value, PropertyBuffer& second) override;
  std::string Describe() const override;

 private:
  int Get(std::string_view property, PropertyBuffer& value);
  int Set(std::string_view property, const PropertyBuffer& value);
  int Range(MixerPart part, std::string_view which, PropertyBuffer& value);

  MixerOpener opener_;
  std::string description_;
  std::unique_ptr<SoundCardMixer> mixer_;
};

}  // namespace norvane::devices::headset
