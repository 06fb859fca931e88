#include "devices/headset/audio_session.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "platform/trace.h"

namespace norvane::devices::headset {
namespace {

// A list longer than this is a library answering nonsense; the page looks at no more.
constexpr std::int32_t kMostDevices = 64;

std::vector<std::string_view> SplitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    fields.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::int32_t IntegerOf(std::string_view text) {
  text = Trimmed(text);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() ? value : 0;
}

std::optional<double> DecimalOf(std::string_view text) {
  text = Trimmed(text);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

AudioSession::AudioSession(std::shared_ptr<AudioChip> chip) : chip_(std::move(chip)) {}

AudioStartReport AudioSession::Start() {
  AudioStartReport report;
  started_ = false;
  output_.reset();
  input_.reset();
  outputFeatures_ = {};
  inputFeatures_ = {};
  micRange_ = {};
  monitorRange_ = {};
  if (!chip_) {
    report.initResult = kAudioFailed;
    return report;
  }
  report.initResult = chip_->ConfLibInit();
  if (report.initResult != kAudioOk) {
    Trace("headset audio: " + chip_->Describe() + " did not start (" + std::to_string(report.initResult) + ")");
    return report;
  }
  started_ = true;
  if (chip_->CreateDeviceList() != kAudioOk) Trace("headset audio: the device lists could not be made");
  std::int32_t outputs = 0;
  if (chip_->GetDeviceCount(AudioDirection::kOutput, outputs) != kAudioOk) outputs = 0;
  outputs = std::clamp(outputs, 0, kMostDevices);
  if (outputs < 1) {
    Trace("headset audio: " + chip_->Describe() + " lists no playback device");
    return report;
  }
  output_ = ChooseOutput(outputs);
  input_ = ChooseInput();
  report.hasOutput = output_.has_value();
  report.hasInput = input_.has_value();
  if (output_ && !ReadFeatures(AudioEnd::kOutput, outputFeatures_)) report.featuresShort = true;
  if (input_ && !ReadFeatures(AudioEnd::kInput, inputFeatures_)) report.featuresShort = true;
  ResetProperties();
  ReadVolumeRanges();
  return report;
}

std::optional<AudioDeviceWords> AudioSession::ChooseOutput(std::int32_t count) {
  std::vector<AudioDeviceWords> devices;
  for (std::int32_t i = 0; i < count; ++i) {
    AudioDeviceWords words;
    if (chip_->GetDeviceById(AudioDirection::kOutput, i, words) == kAudioOk) devices.push_back(words);
  }
  for (const std::int32_t type : kOutputTypes) {
    const auto found = std::find_if(devices.begin(), devices.end(), [type](const AudioDeviceWords& d) {
      return d.type == type && d.state == kActiveState;
    });
    if (found != devices.end()) return *found;
  }
  return std::nullopt;
}

std::optional<AudioDeviceWords> AudioSession::ChooseInput() {
  std::int32_t count = 0;
  if (chip_->GetDeviceCount(AudioDirection::kInput, count) != kAudioOk) return std::nullopt;
  count = std::clamp(count, 0, kMostDevices);
  for (std::int32_t i = 0; i < count; ++i) {
    AudioDeviceWords words;
    if (chip_->GetDeviceById(AudioDirection::kInput, i, words) == kAudioOk && words.type == kInputType) {
      return words;
    }
  }
  return std::nullopt;
}

bool AudioSession::ReadFeatures(AudioEnd end, std::array<std::int32_t, 3>& fields) {
  std::string text;
  if (GetText(end, "GetSupportFeature", text) != kAudioOk) return false;
  const std::vector<std::string_view> split = SplitFields(text);
  if (split.size() < kFeatureFields) return false;
  fields = {IntegerOf(split[0]), IntegerOf(split[4]), IntegerOf(split[6])};
  return true;
}

bool AudioSession::Supports(AudioFeature feature) const {
  switch (feature) {
    case AudioFeature::kEqualizer:
      return output_ && outputFeatures_[0] != 0;
    case AudioFeature::kVoiceChanger:
      return input_ && inputFeatures_[1] != 0;
    case AudioFeature::kSurround:
      return output_ && outputFeatures_[2] != 0;
  }
  return false;
}

void AudioSession::ResetIfSilent(AudioEnd end, std::string_view property, std::int32_t second) {
  std::int32_t value = 0;
  if (GetWord(end, property, value, second) == kAudioOk) return;
  SetWord(end, property, 0, second);
}

void AudioSession::ResetProperties() {
  using enum AudioEnd;
  // Virtual surround is switched through its effect control; its room and mode follow it.
  std::int32_t enabled = 0;
  if (GetWord(kOutput, "XearSurrHP_Enable", enabled) != kAudioOk && output_) {
    PropertyBuffer value{};
    PropertyBuffer second{};
    PutWord(second, 4, 0);
    PutWord(second, -1, 1);
    PutWord(second, 0, 2);
    Call(kOutput, "VirtualSurroundEffectControl", PropertyAccess::kSet, value, second);
  }
  ResetIfSilent(kInput, "Enable_ENC_LFX", 0);
  ResetIfSilent(kInput, "VolumeControl", -1);
  ResetIfSilent(kOutput, "Enable_EQ_GFX", 0);
  for (int band = 1; band <= 10; ++band) ResetIfSilent(kOutput, "EQ_Slider" + std::to_string(band), 0);
  ResetIfSilent(kOutput, "Enable_RFX_GFX", 0);
  ResetIfSilent(kOutput, "RFX_ENVIRONMENT", 0);
  ResetIfSilent(kOutput, "RFX_ROOMSIZE", 0);
  ResetIfSilent(kInput, "MuteControl", 0);
  ResetIfSilent(kInput, "VolumeScalarControl", -1);
  ResetIfSilent(kInput, "AAVolumeControl", 0);
  ResetIfSilent(kInput, "AAMuteControl", 0);
  ResetIfSilent(kInput, "AAVolumeScalarControl", 0);
  ResetIfSilent(kInput, "Enable_MAGICVOICE", 0);
  ResetIfSilent(kInput, "MagicVoice_Selection", 0);
}

void AudioSession::ReadVolumeRanges() {
  const auto read = [this](std::string_view property) -> std::optional<double> {
    std::string text;
    if (GetText(AudioEnd::kInput, property, text) != kAudioOk) return std::nullopt;
    return DecimalOf(text);
  };
  const auto range = [&](std::string_view max, std::string_view min, std::string_view step) {
    VolumeRange r;
    const std::optional<double> top = read(max), bottom = read(min), unit = read(step);
    if (top && bottom && *top >= *bottom) {
      r = {*bottom, *top, unit && *unit > 0 ? *unit : 0, true};
    }
    return r;
  };
  micRange_ = range("GetMaxVol", "GetMinVol", "GetVolStep");
  monitorRange_ = range("GetAAMaxVol", "GetAAMinVol", "GetAAVolStep");
}

int AudioSession::Call(AudioEnd end, std::string_view property, PropertyAccess access, PropertyBuffer& value,
                       PropertyBuffer& second) {
  const std::optional<AudioDeviceWords>& device = end == AudioEnd::kOutput ? output_ : input_;
  if (!started_ || !device) return kAudioUnsupported;
  return chip_->PropertyControl(*device, property, access, value, second);
}

int AudioSession::SetWord(AudioEnd end, std::string_view property, std::int32_t word, std::int32_t selector) {
  PropertyBuffer value{};
  PropertyBuffer second{};
  PutWord(value, word);
  PutWord(second, selector);
  return Call(end, property, PropertyAccess::kSet, value, second);
}

int AudioSession::SetFloat(AudioEnd end, std::string_view property, float number, std::int32_t selector) {
  PropertyBuffer value{};
  PropertyBuffer second{};
  PutFloat(value, number);
  PutWord(second, selector);
  return Call(end, property, PropertyAccess::kSet, value, second);
}

int AudioSession::GetWord(AudioEnd end, std::string_view property, std::int32_t& word, std::int32_t selector) {
  PropertyBuffer value{};
  PropertyBuffer second{};
  PutWord(second, selector);
  const int result = Call(end, property, PropertyAccess::kGet, value, second);
  if (result == kAudioOk) word = WordOf(value);
  return result;
}

int AudioSession::GetFloat(AudioEnd end, std::string_view property, float& number, std::int32_t selector) {
  PropertyBuffer value{};
  PropertyBuffer second{};
  PutWord(second, selector);
  const int result = Call(end, property, PropertyAccess::kGet, value, second);
  if (result != kAudioOk) return result;
  const float read = FloatOf(value);
  // A scalar outside 0..1 (or not a number) is not an answer the page can show.
  if (!std::isfinite(read) || read < 0.0f || read > 1.0f) return kAudioFailed;
  number = read;
  return result;
}

int AudioSession::GetText(AudioEnd end, std::string_view property, std::string& text, std::int32_t selector) {
  PropertyBuffer value{};
  PropertyBuffer second{};
  PutWord(second, selector);
  const int result = Call(end, property, PropertyAccess::kGet, value, second);
  if (result == kAudioOk) text = TextOf(value);
  return result;
}

}  // namespace norvane::devices::headset
