#pragma once
// One step of the effect that all synchronised devices show together. The synchronisation thread counts
// lighting ticks and, each time the count reaches the threshold of the shared speed level, steps the shared
// effect once and hands every device the resulting colour as one 32-bit word:
//   red | green << 8 | blue << 16 | level << 24.
// Pure: the running state is explicit and the time comes from the caller's clock.

#include <cstdint>

#include "devices/lighting/shared_light_effect.h"
#include "platform/clock.h"

namespace norvane::lighting {

// The shared effect's types.
enum SharedEffectType : std::uint8_t {
  kSharedBreathing = 0,
  kSharedStatic = 1,
  kSharedFlash = 2,
  kSharedSpectrum = 3,
  kSharedOff = 4,
};

struct SharedEffectState {
  std::uint8_t position = 0;     // breathing curve position, 0..127
  std::uint8_t colourIndex = 0;  // wheel entry of breathing and spectrum, 0..191
  std::uint8_t wheelPosition = 0;  // wheel entry of the flash, 0..191
  bool flashOn = false;
  Clock::TimePoint lastFlip{};  // when the flash phase last changed (the thread's start at first)
};

// Ticks between two steps at a speed level: the blink interval of the level, for every effect type.
[[nodiscard]] int SharedEffectThreshold(unsigned speed);

[[nodiscard]] constexpr std::uint32_t ColourWord(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                                                 std::uint8_t level) {
  return std::uint32_t{red} | std::uint32_t{green} << 8 | std::uint32_t{blue} << 16 | std::uint32_t{level} << 24;
}

// Steps the effect once and returns the colour word every device shows until the next step.
[[nodiscard]] std::uint32_t StepSharedEffect(SharedEffectState& state, const SharedEffect& effect,
                                             Clock::TimePoint now);

}  // namespace norvane::lighting
