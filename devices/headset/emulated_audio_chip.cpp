#include "devices/headset/emulated_audio_chip.h"

#include <cmath>
#include <cstdio>

namespace norvane::devices::headset {
namespace {

constexpr std::size_t kMostCalls = 10000;
// The chip's ranges, in decibels.
constexpr double kMicBottomDb = -12.0;
constexpr double kMicTopDb = 30.0;
constexpr double kMonitorBottomDb = -34.0;
constexpr double kMonitorTopDb = 12.0;

bool StartsWith(const std::string& text, std::string_view prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool IsSwitch(const std::string& property) {
  return property == "MuteControl" || property == "AAMuteControl" || StartsWith(property, "Enable_") ||
         property == "XearSurrHP_Enable";
}

bool IsReadOnly(const std::string& property) {
  return StartsWith(property, "Get") || property == "VolumeControl" || property == "AAVolumeControl";
}

std::string Decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

}  // namespace

EmulatedAudioChip::EmulatedAudioChip() {
  outputs_ = {{{kSpeakerId, 12, 0, 1}, "0,0,0,0,0,0,0"}, {{kHeadsetOutputId, 1, 0, 1}, "1,1,1,1,1,1,1"}};
  inputs_ = {{{kMicrophoneId, 2, 0, 1}, "1,1,1,1,1,1,1"}};
  for (const ListedDevice& device : outputs_) SetInitialText(device.words.id, "GetSupportFeature", device.features);
  for (const ListedDevice& device : inputs_) SetInitialText(device.words.id, "GetSupportFeature", device.features);

  for (const char* property : {"XearSurrHP_Enable", "XearSurrHP_Room", "XearSurrHP_Mode",
                               "VirtualSurroundEffectControl", "Enable_EQ_GFX", "Enable_RFX_GFX", "RFX_ENVIRONMENT",
                               "RFX_ROOMSIZE"}) {
    SetInitial(kHeadsetOutputId, property, 0);
  }
  for (int band = 1; band <= 10; ++band) SetInitial(kHeadsetOutputId, "EQ_Slider" + std::to_string(band), 0);

  for (const char* property :
       {"Enable_ENC_LFX", "ENC_SELFCALIB", "MuteControl", "Enable_MAGICVOICE", "Enable_MICECHO", "MagicVoice_Selection"}) {
    SetInitial(kMicrophoneId, property, 0);
  }
  // Monitoring starts muted, as the headset leaves the factory.
  SetInitial(kMicrophoneId, "AAMuteControl", 1);
  SetInitialFloat(kMicrophoneId, "VolumeScalarControl", 0.8f);
  SetInitialFloat(kMicrophoneId, "AAVolumeScalarControl", 0.5f);
  SetInitialText(kMicrophoneId, "GetMaxVol", Decimal(kMicTopDb));
  SetInitialText(kMicrophoneId, "GetMinVol", Decimal(kMicBottomDb));
  SetInitialText(kMicrophoneId, "GetVolStep", "0.50");
  SetInitialText(kMicrophoneId, "GetAAMaxVol", Decimal(kMonitorTopDb));
  SetInitialText(kMicrophoneId, "GetAAMinVol", Decimal(kMonitorBottomDb));
  SetInitialText(kMicrophoneId, "GetAAVolStep", "0.50");
  SetInitialText(kMicrophoneId, "VolumeControl", "");
  SetInitialText(kMicrophoneId, "AAVolumeControl", "");
}

void EmulatedAudioChip::SetInitial(std::int32_t device, const std::string& property, std::int32_t word) {
  Stored stored;
  PutWord(stored.value, word);
  store_[{device, property}] = stored;
}

void EmulatedAudioChip::SetInitialFloat(std::int32_t device, const std::string& property, float value) {
  Stored stored;
  PutFloat(stored.value, value);
  store_[{device, property}] = stored;
}

void EmulatedAudioChip::SetInitialText(std::int32_t device, const std::string& property, const std::string& text) {
  Stored stored;
  PutText(stored.value, text);
  store_[{device, property}] = stored;
}

int EmulatedAudioChip::ConfLibInit() {
  std::lock_guard lock(mutex_);
  return initResult_;
}

int EmulatedAudioChip::CreateDeviceList() {
  return kAudioOk;
}

int EmulatedAudioChip::GetDeviceCount(AudioDirection direction, std::int32_t& count) {
  std::lock_guard lock(mutex_);
  count = static_cast<std::int32_t>(direction == AudioDirection::kOutput ? outputs_.size() : inputs_.size());
  return kAudioOk;
}

int EmulatedAudioChip::GetDeviceById(AudioDirection direction, std::int32_t index, AudioDeviceWords& device) {
  std::lock_guard lock(mutex_);
  const std::vector<ListedDevice>& list = direction == AudioDirection::kOutput ? outputs_ : inputs_;
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return kAudioFailed;
  device = list[static_cast<std::size_t>(index)].words;
  return kAudioOk;
}

bool EmulatedAudioChip::Accepts(const std::string& property, const PropertyBuffer& value) const {
  if (IsReadOnly(property)) return false;
  const std::int32_t word = WordOf(value);
  if (property == "VolumeScalarControl" || property == "AAVolumeScalarControl") {
    const float scalar = FloatOf(value);
    return std::isfinite(scalar) && scalar >= 0.0f && scalar <= 1.0f;
  }
  if (IsSwitch(property)) return word == 0 || word == 1;
  if (property == "MagicVoice_Selection") return word >= 0 && word <= 3;
  if (StartsWith(property, "EQ_Slider")) return word >= -20 && word <= 20;
  return true;
}

std::string EmulatedAudioChip::DecibelText(std::int32_t device, const std::string& scalar, double bottom,
                                           double top) const {
  const auto found = store_.find({device, scalar});
  if (found == store_.end()) return {};
  return Decimal(bottom + FloatOf(found->second.value) * (top - bottom));
}

int EmulatedAudioChip::Answer(std::int32_t device, const std::string& property, PropertyAccess access,
                              PropertyBuffer& value, PropertyBuffer& second) {
  if (auto failure = failures_.find(property); failure != failures_.end()) {
    const int result = failure->second.result;
    if (failure->second.left > 0 && --failure->second.left == 0) failures_.erase(failure);
    return result;
  }
  const auto stored = store_.find({device, property});
  if (stored == store_.end()) return kAudioUnsupported;
  if (access == PropertyAccess::kSet) {
    if (!Accepts(property, value)) return kAudioFailed;
    stored->second = {value, second};
    return kAudioOk;
  }
  value = stored->second.value;
  if (property == "VolumeControl") PutText(value, DecibelText(device, "VolumeScalarControl", kMicBottomDb, kMicTopDb));
  if (property == "AAVolumeControl") {
    PutText(value, DecibelText(device, "AAVolumeScalarControl", kMonitorBottomDb, kMonitorTopDb));
  }
  return kAudioOk;
}

int EmulatedAudioChip::PropertyControl(const AudioDeviceWords& device, std::string_view property,
                                       PropertyAccess access, PropertyBuffer& value, PropertyBuffer& second) {
  std::lock_guard lock(mutex_);
  const std::string name(property);
  Call call{device.id, name, access, access == PropertyAccess::kSet ? WordOf(value) : 0, WordOf(second)};
  const int result = Answer(device.id, name, access, value, second);
  call.result = result;
  if (access == PropertyAccess::kGet && result == kAudioOk) call.word = WordOf(value);
  if (calls_.size() < kMostCalls) calls_.push_back(std::move(call));
  return result;
}

void EmulatedAudioChip::SetDevices(AudioDirection direction, std::vector<ListedDevice> devices) {
  std::lock_guard lock(mutex_);
  for (const ListedDevice& device : devices) SetInitialText(device.words.id, "GetSupportFeature", device.features);
  (direction == AudioDirection::kOutput ? outputs_ : inputs_) = std::move(devices);
}

void EmulatedAudioChip::SetInitResult(int result) {
  std::lock_guard lock(mutex_);
  initResult_ = result;
}

void EmulatedAudioChip::FailProperty(std::string property, int result, int times) {
  std::lock_guard lock(mutex_);
  failures_[std::move(property)] = {result, times};
}

void EmulatedAudioChip::ClearFailures() {
  std::lock_guard lock(mutex_);
  failures_.clear();
}

void EmulatedAudioChip::RemoveProperty(std::int32_t device, const std::string& property) {
  std::lock_guard lock(mutex_);
  store_.erase({device, property});
}

std::optional<std::int32_t> EmulatedAudioChip::Word(std::int32_t device, const std::string& property) const {
  std::lock_guard lock(mutex_);
  const auto found = store_.find({device, property});
  if (found == store_.end()) return std::nullopt;
  return WordOf(found->second.value);
}

std::optional<float> EmulatedAudioChip::Float(std::int32_t device, const std::string& property) const {
  std::lock_guard lock(mutex_);
  const auto found = store_.find({device, property});
  if (found == store_.end()) return std::nullopt;
  return FloatOf(found->second.value);
}

std::vector<EmulatedAudioChip::Call> EmulatedAudioChip::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

void EmulatedAudioChip::ClearCalls() {
  std::lock_guard lock(mutex_);
  calls_.clear();
}

}  // namespace norvane::devices::headset
