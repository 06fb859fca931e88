#include "devices/lighting/generic_generators.h"

#include <chrono>

#include "devices/lighting/light_tables.h"
#include "devices/lighting/step_counter.h"

namespace norvane::lighting {
namespace {

// Advances the breathing position; true when a new breath begins.
bool StepBreath(GenericAnimation& state, const LightParams& params) {
  state.position = StepCounter(params.direction != 0, kBreathingSize, state.position, 1);
  return state.position == 0;
}

std::uint8_t BreathLevel(const GenericAnimation& state, const LightParams& params) {
  return Scale(Breathing(state.position), BrightnessValue(params.brightness));
}

// Flips the blink phase when the speed level's interval has passed; the very first call switches on at
// once so a flash effect never starts with a long dark pause. True when the phase changed.
bool StepBlink(GenericAnimation& state, const LightParams& params, Clock::TimePoint now) {
  const auto interval = std::chrono::milliseconds(BlinkIntervalMs(params.speed));
  if (state.blinkStarted && now - state.lastBlinkChange < interval) return false;
  state.blinkStarted = true;
  state.blinkOn = !state.blinkOn;
  state.lastBlinkChange = now;
  return true;
}

}  // namespace

void FillFrame(std::span<LedRecord> frame, Rgb colour, std::uint8_t level) {
  for (LedRecord& led : frame) Paint(led, colour, level);
}

void FrameBreathing(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame) {
  if (StepBreath(state, params)) {
    // The index visits 192 once per round, which shows the same red as 0.
    state.colourIndex = static_cast<std::uint8_t>(state.colourIndex + 16);
    if (state.colourIndex > kWheelSize) state.colourIndex = 0;
  }
  const Rgb colour = params.multiColour ? Wheel(state.colourIndex) : params.Colour();
  FillFrame(frame, colour, BreathLevel(state, params));
}

void FrameBreathingCycle(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame) {
  if (StepBreath(state, params)) {
    state.colourIndex = static_cast<std::uint8_t>(state.colourIndex + 1);
    if (state.colourIndex > 3) state.colourIndex = 0;
  }
  FillFrame(frame, FourColour(state.colourIndex), BreathLevel(state, params));
}

void FrameStatic(const LightParams& params, std::span<LedRecord> frame) {
  FillFrame(frame, params.Colour(), BrightnessValue(params.brightness));
}

void FrameSpectrum(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame) {
  state.colourIndex = StepCounter(params.direction != 0, kWheelSize, state.colourIndex, 1);
  FillFrame(frame, Wheel(state.colourIndex), BrightnessValue(params.brightness));
}

void FrameFlash(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame,
                Clock::TimePoint now) {
  if (StepBlink(state, params, now)) {
    state.colourIndex = static_cast<std::uint8_t>(state.colourIndex + 16);
    if (state.colourIndex >= kWheelSize) state.colourIndex = 0;
  }
  if (!state.blinkOn) return FrameOff(frame);
  const Rgb colour = params.multiColour ? Wheel(state.colourIndex) : params.Colour();
  FillFrame(frame, colour, BrightnessValue(params.brightness));
}

void FrameFlashCycle(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame,
                     Clock::TimePoint now) {
  if (StepBlink(state, params, now)) {
    state.colourIndex = static_cast<std::uint8_t>(state.colourIndex + 1);
    if (state.colourIndex > 3) state.colourIndex = 0;
  }
  if (!state.blinkOn) return FrameOff(frame);
  FillFrame(frame, FourColour(state.colourIndex), BrightnessValue(params.brightness));
}

void FrameOff(std::span<LedRecord> frame) {
  FillFrame(frame, Rgb{}, 0);
}

}  // namespace norvane::lighting
