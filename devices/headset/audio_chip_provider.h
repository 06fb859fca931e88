#pragma once
// Which audio chip backend serves a headset. By default, in this order: the chip's configuration library
// when one is installed in the program's SDK folder (loadable_audio_chip.h), then the ALSA mixer of the USB
// sound card that the headset's HID interface belongs to (alsa_audio_chip.h). The page starts them in turn
// and keeps the first whose start succeeds: a library that fails to start counts as no library.
//
// The demo mode and the tests put their own source in place (the emulated chip).

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "devices/headset/audio_chip.h"

namespace norvane::devices::headset {

// Candidates for the headset whose HID interface has this path, best first.
using AudioChipSource = std::function<std::vector<std::shared_ptr<AudioChip>>(const std::string& hidPath)>;

std::vector<std::shared_ptr<AudioChip>> AudioChipsFor(const std::string& hidPath);

// Replaces the default source for as long as the program runs (an empty source puts the default back).
void SetAudioChipSource(AudioChipSource source);

// The same for as long as the object lives (tests).
class ScopedAudioChipSource {
 public:
  explicit ScopedAudioChipSource(AudioChipSource source);
  ~ScopedAudioChipSource();
  ScopedAudioChipSource(const ScopedAudioChipSource&) = delete;
  ScopedAudioChipSource& operator=(const ScopedAudioChipSource&) = delete;

 private:
  AudioChipSource previous_;
};

}  // namespace norvane::devices::headset
