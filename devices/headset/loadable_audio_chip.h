#pragma once
// LoadableAudioChip: the audio chip through a configuration library loaded at run time (the C entry points
// of audio_chip_sdk.h). Answers that make no sense (a negative or huge device count, a text without its
// end) are taken as failures or cut, never trusted.

#include <filesystem>
#include <memory>
#include <string>

#include "devices/headset/audio_chip.h"

namespace norvane::devices::headset {

// SDK/libaudiochipconf.so in the program's own folder.
std::filesystem::path DefaultAudioChipLibrary();

// The library at `file`, or null when there is none or it lacks an entry point the program calls.
std::shared_ptr<AudioChip> LoadAudioChipLibrary(const std::filesystem::path& file);

}  // namespace norvane::devices::headset
