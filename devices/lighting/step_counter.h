#pragma once
// The animation counter every generator steps: forward it wraps to 0 on reaching the limit, backward it
// wraps to limit − step when it would fall below 0.

#include <cstdint>

namespace norvane::lighting {

constexpr std::uint8_t StepCounter(bool forward, unsigned limit, unsigned value, unsigned step) {
  if (forward) {
    const unsigned next = value + step;
    return static_cast<std::uint8_t>(next >= limit ? 0 : next);
  }
  if (value < step) return static_cast<std::uint8_t>(limit - step);
  // A value left above the limit by another animation comes back into range instead of counting down
  // through hues that do not exist.
  const unsigned next = value - step;
  return static_cast<std::uint8_t>(next >= limit ? limit - step : next);
}

}  // namespace norvane::lighting
