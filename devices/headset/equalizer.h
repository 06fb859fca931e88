#pragma once
// The headset equalizer: ten bands, twelve built-in presets, preset 13 standing for the user's own sets.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace norvane::devices::headset {

inline constexpr int kBandCount = 10;
inline constexpr int kFirstPreset = 1;
inline constexpr int kLastBuiltInPreset = 12;
inline constexpr int kCustomPreset = 13;
inline constexpr std::size_t kMostCustomSets = 20;
// The band values the sliders and the chip take (decibels).
inline constexpr int kLowestBand = -20;
inline constexpr int kHighestBand = 20;

using EqBands = std::array<std::int32_t, kBandCount>;

// Bands 1 to 10 of built-in preset 1 to 12; nullopt for any other number.
std::optional<EqBands> PresetBands(int preset);

// "EQ_Slider1" to "EQ_Slider10" for band 1 to 10; empty for any other band.
std::string BandProperty(int band);

// A band value as the sliders can show it.
std::int32_t ClampBand(std::int32_t value);

}  // namespace norvane::devices::headset
