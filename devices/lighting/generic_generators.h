#pragma once
// The effect generators every device kind shares. Each one fills every LED of the frame with a colour and
// a level from the light parameters and advances its own animation state; none of them blocks, allocates
// or keeps anything outside the state it is given.

#include <cstdint>
#include <span>

#include "devices/lighting/led_record.h"
#include "devices/lighting/light_params.h"
#include "platform/clock.h"

namespace norvane::lighting {

// The animation counters of a page's lighting.
struct GenericAnimation {
  std::uint8_t position = 0;
  std::uint8_t colourIndex = 0;
  bool blinkOn = false;
  // Time of the last blink change; empty until the first flash frame, which counts from then.
  Clock::TimePoint lastBlinkChange{};
  bool blinkStarted = false;
};

void FrameBreathing(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame);
void FrameBreathingCycle(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame);
void FrameStatic(const LightParams& params, std::span<LedRecord> frame);
void FrameSpectrum(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame);
void FrameFlash(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame,
                Clock::TimePoint now);
void FrameFlashCycle(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame,
                     Clock::TimePoint now);
void FrameOff(std::span<LedRecord> frame);

// Paints every LED of the frame the same.
void FillFrame(std::span<LedRecord> frame, Rgb colour, std::uint8_t level);

}  // namespace norvane::lighting
