#include "devices/headset/alsa_audio_chip.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/trace.h"

namespace norvane::devices::headset {
namespace {

constexpr double kHundredths = 100.0;

std::string Decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

struct PartProperty {
  MixerPart part;
  std::string_view what;  // "scalar", "db", "mute", "max", "min", "step"
};

std::optional<PartProperty> PartOf(std::string_view property) {
  using enum MixerPart;
  if (property == "VolumeScalarControl") return PartProperty{kMicrophone, "scalar"};
  if (property == "VolumeControl") return PartProperty{kMicrophone, "db"};
  if (property == "MuteControl") return PartProperty{kMicrophone, "mute"};
  if (property == "GetMaxVol") return PartProperty{kMicrophone, "max"};
  if (property == "GetMinVol") return PartProperty{kMicrophone, "min"};
  if (property == "GetVolStep") return PartProperty{kMicrophone, "step"};
  if (property == "AAVolumeScalarControl") return PartProperty{kMonitoring, "scalar"};
  if (property == "AAVolumeControl") return PartProperty{kMonitoring, "db"};
  if (property == "AAMuteControl") return PartProperty{kMonitoring, "mute"};
  if (property == "GetAAMaxVol") return PartProperty{kMonitoring, "max"};
  if (property == "GetAAMinVol") return PartProperty{kMonitoring, "min"};
  if (property == "GetAAVolStep") return PartProperty{kMonitoring, "step"};
  return std::nullopt;
}

}  // namespace

AlsaAudioChip::AlsaAudioChip(const std::string& hidPath)
    : opener_([hidPath]() -> std::unique_ptr<SoundCardMixer> {
        const std::optional<int> card = SoundCardOfHidNode(hidPath);
        if (!card) {
          Trace("headset audio: no sound card belongs to " + hidPath);
          return nullptr;
        }
        return OpenAlsaMixer("hw:" + std::to_string(*card));
      }),
      description_("the sound card's mixer") {}

AlsaAudioChip::AlsaAudioChip(MixerOpener opener, std::string description)
    : opener_(std::move(opener)), description_(std::move(description)) {}

std::string AlsaAudioChip::Describe() const {
  return mixer_ ? "ALSA mixer " + mixer_->Describe() : description_;
}

int AlsaAudioChip::ConfLibInit() {
  if (!mixer_ && opener_) mixer_ = opener_();
  return mixer_ ? kAudioOk : kAudioFailed;
}

int AlsaAudioChip::GetDeviceCount(AudioDirection /*direction*/, std::int32_t& count) {
  if (!mixer_) return kAudioFailed;
  count = 1;
  return kAudioOk;
}

int AlsaAudioChip::GetDeviceById(AudioDirection direction, std::int32_t index, AudioDeviceWords& device) {
  if (!mixer_ || index != 0) return kAudioFailed;
  device = direction == AudioDirection::kOutput ? AudioDeviceWords{kPlaybackId, 1, 0, 1}
                                                : AudioDeviceWords{kCaptureId, 2, 0, 1};
  return kAudioOk;
}

int AlsaAudioChip::PropertyControl(const AudioDeviceWords& device, std::string_view property, PropertyAccess access,
                                   PropertyBuffer& value, PropertyBuffer& /*second*/) {
  if (!mixer_) return kAudioFailed;
  if (property == "GetSupportFeature" && access == PropertyAccess::kGet) {
    // Equalizer, voice changer, noise cancelling and surround are the chip's own; ALSA has none of them.
    const bool monitoring = mixer_->HasLevel(MixerPart::kMonitoring) || mixer_->HasSwitch(MixerPart::kMonitoring);
    PutText(value, "0," + std::to_string(mixer_->HasLevel(MixerPart::kMicrophone) ? 1 : 0) + "," +
                       std::to_string(mixer_->HasSwitch(MixerPart::kMicrophone) ? 1 : 0) + "," +
                       std::to_string(monitoring ? 1 : 0) + ",0,0,0");
    return kAudioOk;
  }
  // Levels and mutes are the capture device's.
  if (device.id != kCaptureId) return kAudioUnsupported;
  return access == PropertyAccess::kGet ? Get(property, value) : Set(property, value);
}

int AlsaAudioChip::Range(MixerPart part, std::string_view which, PropertyBuffer& value) {
  const std::optional<MixerRange> decibels = mixer_->DecibelRange(part);
  const std::optional<MixerRange> steps = mixer_->LevelRange(part);
  if (!decibels || !steps) return kAudioUnsupported;
  double answer = 0;
  if (which == "max") answer = decibels->high / kHundredths;
  if (which == "min") answer = decibels->low / kHundredths;
  if (which == "step") answer = (decibels->high - decibels->low) / kHundredths / double(steps->high - steps->low);
  PutText(value, Decimal(answer));
  return kAudioOk;
}

int AlsaAudioChip::Get(std::string_view property, PropertyBuffer& value) {
  const std::optional<PartProperty> target = PartOf(property);
  if (!target) return kAudioUnsupported;
  const MixerPart part = target->part;
  if (target->what == "mute") {
    if (!mixer_->HasSwitch(part)) return kAudioUnsupported;
    const std::optional<bool> on = mixer_->Switch(part);
    if (!on) return kAudioFailed;
    PutWord(value, *on ? 0 : 1);
    return kAudioOk;
  }
  if (!mixer_->HasLevel(part)) return kAudioUnsupported;
  if (target->what == "scalar") {
    const std::optional<MixerRange> range = mixer_->LevelRange(part);
    const std::optional<long> level = mixer_->Level(part);
    if (!range || !level) return kAudioFailed;
    const double scalar = double(std::clamp(*level, range->low, range->high) - range->low) / double(range->high - range->low);
    PutFloat(value, static_cast<float>(scalar));
    return kAudioOk;
  }
  if (target->what == "db") {
    // A card without decibel information still answers: the text is empty.
    const std::optional<long> decibels = mixer_->Decibels(part);
    PutText(value, decibels ? Decimal(*decibels / kHundredths) : std::string());
    return kAudioOk;
  }
  return Range(part, target->what, value);
}

int AlsaAudioChip::Set(std::string_view property, const PropertyBuffer& value) {
  const std::optional<PartProperty> target = PartOf(property);
  if (!target) return kAudioUnsupported;
  const MixerPart part = target->part;
  if (target->what == "mute") {
    const std::int32_t muted = WordOf(value);
    if (!mixer_->HasSwitch(part)) return kAudioUnsupported;
    if (muted != 0 && muted != 1) return kAudioFailed;
    // A switch that is on lets the sound through.
    return mixer_->SetSwitch(part, muted == 0) ? kAudioOk : kAudioFailed;
  }
  if (target->what != "scalar") return kAudioUnsupported;
  if (!mixer_->HasLevel(part)) return kAudioUnsupported;
  const float scalar = FloatOf(value);
  if (!std::isfinite(scalar) || scalar < 0.0f || scalar > 1.0f) return kAudioFailed;
  const std::optional<MixerRange> range = mixer_->LevelRange(part);
  if (!range) return kAudioFailed;
  const long level = range->low + std::lround(double(scalar) * double(range->high - range->low));
  return mixer_->SetLevel(part, level) ? kAudioOk : kAudioFailed;
}

}  // namespace norvane::devices::headset
