// The headset page's sound: the audio chip's start, the equalizer, the microphone, the monitoring and the
// voice changer.
#include <algorithm>
#include <cmath>

#include "devices/headset/audio_chip_provider.h"
#include "devices/headset/hs6533_device.h"
#include "platform/trace.h"
#include "profiles/profile_names.h"

namespace norvane::devices {
namespace {

using headset::AudioEnd;
using headset::AudioFeature;
using headset::EqBands;

constexpr int kLevelTop = 100;
constexpr std::int32_t kMicSelector = -1;       // the selector word of the microphone's level
constexpr std::int32_t kMonitorSelector = 0;    // ... of the monitoring's level
constexpr std::int32_t kMonitorDbSelector = 1;  // ... of the monitoring's decibel read
// A damaged profile may name more sets than the document can hold values for; the page shows no more.
constexpr std::size_t kMostListedSets = CHs6533Profiledata::kMaxCustomEqIndex + 1;

EqBands BandsOf(const std::vector<std::int32_t>& values) {
  EqBands bands{};
  for (std::size_t i = 0; i < bands.size() && i < values.size(); ++i) bands[i] = headset::ClampBand(values[i]);
  return bands;
}

std::vector<std::int32_t> ValuesOf(const EqBands& bands) {
  return {bands.begin(), bands.end()};
}

bool IsBlank(const std::string& name) {
  return name.find_first_not_of(" \t\r\n") == std::string::npos;
}

}  // namespace

// ---- Start.

void CNorvaneHS6533Device::InitAudio() {
  session_.reset();
  AudioView view;
  view.settings = audio_.settings;
  view.customNames = audio_.customNames;
  view.customSelection = audio_.customSelection;
  view.shownPreset = audio_.shownPreset;
  view.bands = audio_.bands;
  view.customSetsShown = audio_.customSetsShown;
  audio_ = std::move(view);
  headset::AudioStartReport report;
  for (const std::shared_ptr<headset::AudioChip>& chip : headset::AudioChipsFor(CommandChannel().Wired().Path())) {
    auto session = std::make_shared<headset::AudioSession>(chip);
    report = session->Start();
    if (report.initResult == headset::kAudioOk) {
      Trace("headset audio: using " + chip->Describe());
      session_ = std::move(session);
      break;
    }
  }
  if (!session_) {
    audio_.noticeTextId = "hs_audio_not_found";
    return;
  }
  audio_.started = true;
  if (!report.hasOutput && !report.hasInput) {
    audio_.noticeTextId = "hs_audio_no_devices";
  } else if (report.featuresShort) {
    audio_.noticeTextId = "hs_audio_features_unknown";
  }
  audio_.equalizer = session_->Supports(AudioFeature::kEqualizer);
  audio_.voiceChanger = session_->Supports(AudioFeature::kVoiceChanger);
  audio_.surround = session_->Supports(AudioFeature::kSurround);
  audio_.micRange = session_->MicRange();
  audio_.monitorRange = session_->MonitorRange();
  ReadLevels();
  ApplyStoredSound();
}

void CNorvaneHS6533Device::ReadLevels() {
  if (!session_) return;
  HeadsetSystemSetStages settings = audio_.settings;
  float scalar = 0;
  std::int32_t muted = 0;
  audio_.micLevel = session_->GetFloat(AudioEnd::kInput, "VolumeScalarControl", scalar, kMicSelector) == headset::kAudioOk;
  if (audio_.micLevel) settings.mic_in_value = static_cast<std::int32_t>(std::lround(scalar * kLevelTop));
  audio_.micMute = session_->GetWord(AudioEnd::kInput, "MuteControl", muted) == headset::kAudioOk;
  if (audio_.micMute) settings.mic_in_select = muted != 0 ? 0 : 1;
  audio_.micDb.clear();
  if (audio_.micLevel) session_->GetText(AudioEnd::kInput, "VolumeControl", audio_.micDb, kMicSelector);

  audio_.monitorLevel =
      session_->GetFloat(AudioEnd::kInput, "AAVolumeScalarControl", scalar, kMonitorSelector) == headset::kAudioOk;
  if (audio_.monitorLevel) settings.mic_monitor_value = static_cast<std::int32_t>(std::lround(scalar * kLevelTop));
  audio_.monitorMute = session_->GetWord(AudioEnd::kInput, "AAMuteControl", muted) == headset::kAudioOk;
  if (audio_.monitorMute) settings.mic_monitor_select = muted != 0 ? 0 : 1;
  audio_.monitorDb.clear();
  if (audio_.monitorLevel) session_->GetText(AudioEnd::kInput, "AAVolumeControl", audio_.monitorDb, kMonitorDbSelector);
  // The card's levels are what the user hears: the page and the profile show them.
  if (!(settings == audio_.settings)) StoreSettings(settings);
}

void CNorvaneHS6533Device::ApplyStoredSound() {
  if (!session_) return;
  const HeadsetSystemSetStages& settings = audio_.settings;
  if (audio_.equalizer) {
    if (settings.eq_type == headset::kCustomPreset) {
      if (audio_.customSelection >= 0) WriteBands(audio_.bands);
    } else if (headset::PresetBands(settings.eq_type)) {
      WriteBands(audio_.bands);
    }
  }
  if (audio_.voiceChanger) {
    session_->SetWord(AudioEnd::kInput, "Enable_MAGICVOICE", settings.magic_enable != 0 ? 1 : 0);
    if (settings.magic_enable != 0) session_->SetWord(AudioEnd::kInput, "Enable_MICECHO", 0);
    if (settings.magic_type >= 1 && settings.magic_type <= kVoiceCount) {
      session_->SetWord(AudioEnd::kInput, "MagicVoice_Selection", settings.magic_type - 1);
    }
  }
}

void CNorvaneHS6533Device::TakeProfileDocument() {
  HeadsetSystemSetStages settings = profile_.GetSystemSetStages();
  std::vector<std::string> names = profile_.GetCustomEqNames();
  if (names.size() > kMostListedSets) names.resize(kMostListedSets);
  audio_.customNames = std::move(names);
  const int stored = settings.custom_eq_select_index;
  const bool customValid = stored >= 0 && stored < static_cast<int>(audio_.customNames.size());
  audio_.customSelection = settings.eq_type == headset::kCustomPreset && customValid ? stored : -1;
  audio_.shownPreset =
      settings.eq_type >= headset::kFirstPreset && settings.eq_type <= headset::kCustomPreset ? settings.eq_type : 0;
  audio_.customSetsShown = audio_.shownPreset == headset::kCustomPreset;
  if (const std::optional<EqBands> preset = headset::PresetBands(settings.eq_type)) {
    audio_.bands = *preset;
  } else if (audio_.customSelection >= 0) {
    audio_.bands = BandsOf(profile_.GetCustomEqValues(audio_.customSelection));
  } else {
    audio_.bands = {};
  }
  audio_.settings = settings;
  if (session_) {
    ReadLevels();
    ApplyStoredSound();
  }
}

void CNorvaneHS6533Device::PlayCustomSet(int set, const EqBands& bands) {
  audio_.bands = bands;
  audio_.customSelection = set;
  audio_.shownPreset = headset::kCustomPreset;
  audio_.customSetsShown = true;
  HeadsetSystemSetStages settings = audio_.settings;
  settings.eq_type = headset::kCustomPreset;
  settings.custom_eq_select_index = set;
  StoreSettings(settings);
}

void CNorvaneHS6533Device::StoreSettings(const HeadsetSystemSetStages& settings) {
  audio_.settings = settings;
  profile_.SetSystemSetStages(settings);
  SaveProfile();
}

// ---- Equalizer.

int CNorvaneHS6533Device::WriteBands(const EqBands& bands) {
  if (!session_) return kAudioUnavailable;
  if (session_->SetWord(AudioEnd::kOutput, "Enable_EQ_GFX", 1) != headset::kAudioOk) return kAudioNotTaken;
  for (int band = 1; band <= headset::kBandCount; ++band) {
    if (session_->SetWord(AudioEnd::kOutput, headset::BandProperty(band), bands[static_cast<std::size_t>(band - 1)]) !=
        headset::kAudioOk) {
      return kAudioNotTaken;
    }
  }
  return kAudioDone;
}

int CNorvaneHS6533Device::ApplyEqPreset(int preset) {
  // A skin may number its options beyond the presets; such an option changes nothing.
  if (preset < headset::kFirstPreset || preset > headset::kCustomPreset) return kAudioNothing;
  if (preset == headset::kCustomPreset) {
    audio_.shownPreset = headset::kCustomPreset;
    audio_.customSetsShown = true;
    // Without a set yet the page only shows where one is made.
    if (audio_.customNames.empty()) return kAudioDone;
    const int stored = audio_.settings.custom_eq_select_index;
    const int set = audio_.customSelection >= 0 ? audio_.customSelection
                    : stored >= 0 && stored < static_cast<int>(audio_.customNames.size()) ? stored
                                                                                           : 0;
    return ApplyCustomEq(set);
  }
  if (!audio_.equalizer) return kAudioUnavailable;
  const EqBands bands = *headset::PresetBands(preset);
  if (const int written = WriteBands(bands); written != kAudioDone) return written;
  audio_.bands = bands;
  audio_.shownPreset = preset;
  audio_.customSetsShown = false;
  HeadsetSystemSetStages settings = audio_.settings;
  settings.eq_type = preset;
  StoreSettings(settings);
  return kAudioDone;
}

int CNorvaneHS6533Device::ApplyCustomEq(int set) {
  if (set < 0 || set >= static_cast<int>(audio_.customNames.size())) return kAudioNothing;
  if (!audio_.equalizer) return kAudioUnavailable;
  const EqBands bands = BandsOf(profile_.GetCustomEqValues(set));
  if (const int written = WriteBands(bands); written != kAudioDone) return written;
  PlayCustomSet(set, bands);
  return kAudioDone;
}

int CNorvaneHS6533Device::SaveCustomEq(const std::string& name, const EqBands& shown) {
  EqBands bands{};
  std::transform(shown.begin(), shown.end(), bands.begin(), headset::ClampBand);
  int set = audio_.customSelection;
  if (IsBlank(name)) {
    // No name: the chosen set takes the bands as they are.
    if (set < 0 || set >= static_cast<int>(audio_.customNames.size())) return kAudioRefused;
  } else {
    if (audio_.customNames.size() >= headset::kMostCustomSets) return kAudioRefused;
    if (IsNameTaken(audio_.customNames, name)) return kAudioNothing;
    audio_.customNames.push_back(name);
    set = static_cast<int>(audio_.customNames.size()) - 1;
    profile_.SetCustomEqNames(audio_.customNames);
  }
  profile_.SetCustomEqValues(set, ValuesOf(bands));
  PlayCustomSet(set, bands);
  return kAudioDone;
}

int CNorvaneHS6533Device::DeleteCustomEq() {
  const int set = audio_.customSelection;
  if (set < 0 || set >= static_cast<int>(audio_.customNames.size())) return kAudioNothing;
  audio_.customNames.erase(audio_.customNames.begin() + set);
  // The values go with their name, so every later set keeps its own.
  profile_.RemoveCustomEqValues(set);
  profile_.SetCustomEqNames(audio_.customNames);
  HeadsetSystemSetStages settings = audio_.settings;
  settings.custom_eq_select_index = 0;
  if (audio_.customNames.empty()) {
    audio_.bands = *headset::PresetBands(headset::kFirstPreset);
    audio_.customSelection = -1;
    audio_.shownPreset = headset::kFirstPreset;
    audio_.customSetsShown = false;
    settings.eq_type = headset::kFirstPreset;
  } else {
    audio_.bands = BandsOf(profile_.GetCustomEqValues(0));
    audio_.customSelection = 0;
  }
  // The chip plays what the page now shows.
  if (audio_.equalizer) WriteBands(audio_.bands);
  StoreSettings(settings);
  return kAudioDone;
}

int CNorvaneHS6533Device::SetEqBand(int band, int value) {
  if (band < 1 || band > headset::kBandCount) return kAudioNothing;
  if (!audio_.equalizer) return kAudioUnavailable;
  if (audio_.shownPreset != headset::kCustomPreset) {
    // The bands no longer match a preset: they are the user's own until saved as a set.
    audio_.shownPreset = headset::kCustomPreset;
    audio_.customSelection = -1;
    audio_.customSetsShown = true;
    session_->SetWord(AudioEnd::kOutput, "Enable_EQ_GFX", 1);
  }
  const std::int32_t clamped = headset::ClampBand(value);
  if (session_->SetWord(AudioEnd::kOutput, headset::BandProperty(band), clamped) != headset::kAudioOk) {
    return kAudioNotTaken;
  }
  audio_.bands[static_cast<std::size_t>(band - 1)] = clamped;
  return kAudioDone;
}

// ---- Microphone and monitoring.

int CNorvaneHS6533Device::ApplyLevel(bool mic, int level) {
  if (!(mic ? audio_.micLevel : audio_.monitorLevel) || !session_) return kAudioUnavailable;
  level = std::clamp(level, 0, kLevelTop);
  const float scalar = static_cast<float>(level) / kLevelTop;
  const int written = session_->SetFloat(AudioEnd::kInput, mic ? "VolumeScalarControl" : "AAVolumeScalarControl",
                                         scalar, mic ? kMicSelector : kMonitorSelector);
  if (written != headset::kAudioOk) return kAudioNotTaken;
  std::string& db = mic ? audio_.micDb : audio_.monitorDb;
  db.clear();
  session_->GetText(AudioEnd::kInput, mic ? "VolumeControl" : "AAVolumeControl", db,
                    mic ? kMicSelector : kMonitorDbSelector);
  HeadsetSystemSetStages settings = audio_.settings;
  (mic ? settings.mic_in_value : settings.mic_monitor_value) = level;
  StoreSettings(settings);
  return kAudioDone;
}

int CNorvaneHS6533Device::SetSwitch(bool mic, bool on) {
  HeadsetSystemSetStages settings = audio_.settings;
  std::int32_t& selected = mic ? settings.mic_in_select : settings.mic_monitor_select;
  if ((selected != 0) == on) return kAudioNothing;
  if (!(mic ? audio_.micMute : audio_.monitorMute) || !session_) return kAudioUnavailable;
  // The chip takes the mute state: on means not muted.
  if (session_->SetWord(AudioEnd::kInput, mic ? "MuteControl" : "AAMuteControl", on ? 0 : 1) != headset::kAudioOk) {
    return kAudioNotTaken;
  }
  selected = on ? 1 : 0;
  StoreSettings(settings);
  return kAudioDone;
}

int CNorvaneHS6533Device::ApplyMicLevel(int level) {
  return ApplyLevel(true, level);
}

int CNorvaneHS6533Device::ApplyMonitorLevel(int level) {
  return ApplyLevel(false, level);
}

int CNorvaneHS6533Device::SetMicOn(bool on) {
  return SetSwitch(true, on);
}

int CNorvaneHS6533Device::SetMonitorOn(bool on) {
  return SetSwitch(false, on);
}

// ---- Voice changer.

int CNorvaneHS6533Device::SetVoiceChanger(bool on) {
  if ((audio_.settings.magic_enable != 0) == on) return kAudioNothing;
  if (!audio_.voiceChanger || !session_) return kAudioUnavailable;
  if (session_->SetWord(AudioEnd::kInput, "Enable_MAGICVOICE", on ? 1 : 0) != headset::kAudioOk) return kAudioNotTaken;
  // The echo would play the changed voice back twice.
  if (on) session_->SetWord(AudioEnd::kInput, "Enable_MICECHO", 0);
  HeadsetSystemSetStages settings = audio_.settings;
  settings.magic_enable = on ? 1 : 0;
  StoreSettings(settings);
  return kAudioDone;
}

int CNorvaneHS6533Device::SelectVoice(int voice) {
  if (voice < 1 || voice > kVoiceCount) return kAudioNothing;
  if (!audio_.voiceChanger || !session_) return kAudioUnavailable;
  if (session_->SetWord(AudioEnd::kInput, "MagicVoice_Selection", voice - 1) != headset::kAudioOk) return kAudioNotTaken;
  HeadsetSystemSetStages settings = audio_.settings;
  settings.magic_type = voice;
  StoreSettings(settings);
  return kAudioDone;
}

}  // namespace norvane::devices
