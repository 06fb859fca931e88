#include "devices/headset/audio_chip_provider.h"

#include <mutex>

#include "devices/headset/alsa_audio_chip.h"
#include "devices/headset/loadable_audio_chip.h"

namespace norvane::devices::headset {
namespace {

std::mutex& SourceMutex() {
  static std::mutex mutex;
  return mutex;
}

AudioChipSource& Source() {
  static AudioChipSource source;
  return source;
}

std::vector<std::shared_ptr<AudioChip>> DefaultChips(const std::string& hidPath) {
  std::vector<std::shared_ptr<AudioChip>> chips;
  if (std::shared_ptr<AudioChip> library = LoadAudioChipLibrary(DefaultAudioChipLibrary())) {
    chips.push_back(std::move(library));
  }
  chips.push_back(std::make_shared<AlsaAudioChip>(hidPath));
  return chips;
}

}  // namespace

std::vector<std::shared_ptr<AudioChip>> AudioChipsFor(const std::string& hidPath) {
  AudioChipSource source;
  {
    std::lock_guard lock(SourceMutex());
    source = Source();
  }
  return source ? source(hidPath) : DefaultChips(hidPath);
}

void SetAudioChipSource(AudioChipSource source) {
  std::lock_guard lock(SourceMutex());
  Source() = std::move(source);
}

ScopedAudioChipSource::ScopedAudioChipSource(AudioChipSource source) {
  std::lock_guard lock(SourceMutex());
  previous_ = std::exchange(Source(), std::move(source));
}

ScopedAudioChipSource::~ScopedAudioChipSource() {
  std::lock_guard lock(SourceMutex());
  Source() = std::move(previous_);
}

}  // namespace norvane::devices::headset
