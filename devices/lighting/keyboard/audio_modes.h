#pragma once
// The audio-reactive keyboard modes: the visualisations of mode 29, fed with sound levels by the audio
// capture program, and the inputs both audio modes take.

#include <cstdint>
#include <span>

#include "devices/lighting/keyboard/keyboard_modes.h"

namespace norvane::lighting::keyboard {

// Full scale of a sound level; louder levels count as full scale.
inline constexpr std::int32_t kFullScaleLevel = 2000;
inline constexpr int kSilentAttenuation = 600;

// How far a level lies below full scale, on a scale of 600 (silence) to 0 (full scale). The uncapped form
// goes negative above full scale, which makes a vertical bar reach the top; the capped one stops at 0.
int Attenuation(std::int32_t level);
int CappedAttenuation(std::int32_t level);

// Stores the first 25 levels of a feed (missing ones as 0). In visualisation 2 of mode 29 the feeds'
// loudness also accumulates, and each time it fills up a ripple starts from the keyboard's centre.
void FeedAudioLevels(KeyboardLightState& state, std::uint8_t liveMode, std::span<const std::int32_t> levels);

// Mode 29: one frame of the visualisation the audio light record selects.
void FrameAudioVisualisation(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);

}  // namespace norvane::lighting::keyboard
