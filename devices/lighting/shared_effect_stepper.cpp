#include "devices/lighting/shared_effect_stepper.h"

#include "devices/lighting/light_tables.h"
#include "devices/lighting/step_counter.h"

namespace norvane::lighting {

namespace {

constexpr unsigned kColourfulBreathStep = 16;
constexpr unsigned kFlashWheelStep = 14;

Rgb FixedColour(const SharedEffect& effect) {
  return Rgb{effect.red, effect.green, effect.blue};
}

std::uint32_t WordOf(Rgb colour, std::uint8_t level) {
  return ColourWord(colour.red, colour.green, colour.blue, level);
}

}  // namespace

int SharedEffectThreshold(unsigned speed) {
  return BlinkUnits(speed);
}

std::uint32_t StepSharedEffect(SharedEffectState& state, const SharedEffect& effect, Clock::TimePoint now) {
  const std::uint8_t brightness = BrightnessValue(effect.brightness);
  switch (effect.type) {
    case kSharedBreathing: {
      state.position = StepCounter(effect.direction != 0, kBreathingSize, state.position, 1);
      if (effect.multiColour != 0 && state.position < 2) {
        const unsigned next = state.colourIndex + kColourfulBreathStep;
        state.colourIndex = static_cast<std::uint8_t>(next >= kWheelSize ? 0 : next);
      }
      const Rgb colour = effect.multiColour != 0 ? Wheel(state.colourIndex) : FixedColour(effect);
      return WordOf(colour, static_cast<std::uint8_t>(brightness * Breathing(state.position) / 256));
    }
    case kSharedStatic:
      return WordOf(FixedColour(effect), brightness);
    case kSharedFlash: {
      if (now - state.lastFlip >= std::chrono::milliseconds(BlinkIntervalMs(effect.speed))) {
        state.flashOn = !state.flashOn;
        state.lastFlip = now;
        const unsigned next = state.wheelPosition + kFlashWheelStep;
        state.wheelPosition = static_cast<std::uint8_t>(next >= kWheelSize ? next - kWheelSize : next);
      }
      if (!state.flashOn) return 0;
      const Rgb colour = effect.multiColour != 0 ? Wheel(state.wheelPosition) : FixedColour(effect);
      return WordOf(colour, brightness);
    }
    case kSharedSpectrum:
      state.colourIndex = StepCounter(true, kWheelSize, state.colourIndex, 1);
      return WordOf(Wheel(state.colourIndex), brightness);
    default:
      return 0;
  }
}

}  // namespace norvane::lighting
