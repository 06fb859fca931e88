#pragma once
// The constant tables shared by every device's lighting generators, and the only way to read them: each
// accessor keeps its index inside its table, so a level or index taken from a file or a device can never
// read past the end.

#include <array>
#include <cstddef>
#include <cstdint>

#include "devices/lighting/led_record.h"

namespace norvane::lighting {

inline constexpr std::size_t kWheelSize = 192;  // distinct hues; the table holds one more, equal to entry 0
inline constexpr std::size_t kBreathingSize = 128;
inline constexpr std::size_t kWaveSize = 96;
inline constexpr std::size_t kLevelCount = 5;  // brightness and speed levels 0..4

namespace detail {

inline constexpr std::array<std::uint8_t, 32> kRisingRamp = {
    1,  3,  5,  7,   10,  14,  18,  22,  26,  32,  38,  44,  50,  57,  65,  73,
    81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
inline constexpr std::array<std::uint8_t, 32> kFallingRamp = {
    248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
    69,  61,  53,  47,  41,  35,  29,  24,  20,  16,  12,  8,   6,   4,  2,  0};

constexpr std::array<Rgb, kWheelSize + 1> MakeWheel() {
  std::array<Rgb, kWheelSize + 1> wheel{};
  for (std::size_t k = 0; k < 32; ++k) {
    const std::uint8_t up = kRisingRamp[k];
    const std::uint8_t down = kFallingRamp[k];
    wheel[k] = {255, up, 0};
    wheel[32 + k] = {down, 255, 0};
    wheel[64 + k] = {0, 255, up};
    wheel[96 + k] = {0, down, 255};
    wheel[128 + k] = {up, 0, 255};
    wheel[160 + k] = {255, 0, down};
  }
  wheel[kWheelSize] = wheel[0];
  return wheel;
}

inline constexpr std::array<std::uint8_t, 64> kBreathingRise = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr std::array<std::uint8_t, kBreathingSize> MakeBreathing() {
  std::array<std::uint8_t, kBreathingSize> curve{};
  for (std::size_t i = 0; i < 64; ++i) {
    curve[i] = kBreathingRise[i];
    curve[127 - i] = kBreathingRise[i];
  }
  return curve;
}

// 22, 24, 27, then the breathing rise from 30 (its entry 19) to 255, then the same 48 values mirrored.
constexpr std::array<std::uint8_t, kWaveSize> MakeWave() {
  std::array<std::uint8_t, kWaveSize> curve{};
  std::size_t n = 0;
  for (std::uint8_t v : {22, 24, 27}) curve[n++] = v;
  for (std::size_t i = 19; i < 64; ++i) curve[n++] = kBreathingRise[i];
  for (std::size_t i = 0; i < 48; ++i) curve[95 - i] = curve[i];
  return curve;
}

inline constexpr auto kWheel = MakeWheel();
inline constexpr auto kBreathing = MakeBreathing();
inline constexpr auto kWave = MakeWave();
inline constexpr std::array<Rgb, 4> kFourColours = {
    {{0, 255, 180}, {0, 255, 0}, {255, 255, 255}, {255, 0, 0}}};
inline constexpr std::array<std::uint8_t, kLevelCount> kBrightness = {0, 80, 135, 195, 255};
// Blink intervals in units of 200 ms, also the tick thresholds of the slower animations.
inline constexpr std::array<std::uint8_t, kLevelCount> kBlinkUnits = {28, 23, 18, 13, 7};

}  // namespace detail

// Levels from files and devices may hold anything; everything above the top level counts as the top level.
constexpr std::size_t ClampLevel(unsigned level) {
  return level < kLevelCount ? level : kLevelCount - 1;
}

constexpr std::uint8_t BrightnessValue(unsigned level) {
  return detail::kBrightness[ClampLevel(level)];
}

// Ticks (or 200 ms units) between changes for speed level 0..4.
constexpr std::uint8_t BlinkUnits(unsigned speed) {
  return detail::kBlinkUnits[ClampLevel(speed)];
}
constexpr unsigned BlinkIntervalMs(unsigned speed) {
  return BlinkUnits(speed) * 200u;
}

// Hue index wraps around the wheel.
constexpr Rgb Wheel(unsigned hue) {
  return detail::kWheel[hue % kWheelSize];
}
constexpr Rgb FourColour(unsigned index) {
  return detail::kFourColours[index % detail::kFourColours.size()];
}
constexpr std::uint8_t Breathing(unsigned position) {
  return detail::kBreathing[position % kBreathingSize];
}
constexpr std::uint8_t WaveLevel(unsigned index) {
  return detail::kWave[index % kWaveSize];
}

}  // namespace norvane::lighting
