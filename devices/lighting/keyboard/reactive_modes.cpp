#include "devices/lighting/keyboard/reactive_modes.h"

#include "devices/lighting/keyboard/frame_painter.h"
#include "devices/lighting/keyboard/key_events.h"
#include "devices/lighting/reactive_fade.h"

namespace norvane::lighting::keyboard {
namespace {

constexpr std::uint8_t kTopRow = 0x01;
constexpr std::uint8_t kBelowKeys = 0x40;

// Keeps a ripple alive at `column`: when the fronts there hold exactly `bit`, all four get it again.
void Reseed(KeyboardLightState& state, std::size_t column, std::uint8_t bit) {
  if (state.masks.Combined(column) == bit) state.masks.Mark(column, bit);
}

void Ripple(KeyboardLightState& state, const FrameInputs& in) {
  ApplyColumnMasks(state, in.params.multiColour != 0, in.params.direction != 0);
  state.masks.Spread();
}

// Rise table of the row ripple: the LEDs lit at each of its 20 steps (255 = none).
constexpr std::array<std::array<std::uint8_t, 6>, 20> kRiseSteps = {{
    {0, 118, 255, 255, 255, 255}, {1, 117, 255, 255, 255, 255}, {2, 116, 255, 255, 255, 255},
    {3, 115, 21, 118, 255, 255},  {4, 114, 22, 99, 255, 255},   {5, 113, 23, 98, 255, 255},
    {6, 112, 24, 97, 42, 119},    {7, 111, 25, 96, 43, 78},     {8, 125, 26, 95, 44, 77},
    {9, 109, 27, 94, 45, 76},     {33, 92, 28, 93, 46, 255},    {54, 71, 29, 92, 47, 75},
    {74, 50, 30, 71, 48, 62},     {94, 30, 31, 50, 49, 74},     {93, 31, 52, 30, 50, 73},
    {92, 32, 72, 31, 51, 72},     {71, 33, 71, 52, 52, 71},     {50, 54, 50, 72, 53, 255},
    {30, 74, 255, 255, 255, 255}, {31, 94, 255, 255, 255, 255},
}};

constexpr std::array<std::array<std::uint8_t, 2>, 16> kCirclePairs = {{
    {30, 94},
    {31, 93},
    {32, 92},
    {33, 71},
    {54, 50},
    {74, 30},
    {94, 31},
    {93, 32},
    {92, 33},
    {71, 54},
    {50, 74},
    {51, 73},
    {52, 72},
    {53, 51},
    {73, 52},
    {72, 53},
}};

void Flare(KeyboardLightState& state, const FrameInputs& in, std::uint8_t led) {
  if (led >= kLedSlots) return;
  state.fade[led] = 255;
  if (in.params.multiColour) state.hue[led] = static_cast<std::uint8_t>(in.random.Below(kWheelSize));
}

void StepRippleRow(KeyboardLightState& state, const FrameInputs& in) {
  std::uint8_t& position = state.animation.position;
  switch (state.rippleRowStage) {
    case 0:  // a rise from both ends toward the centre
      if (position < kRiseSteps.size()) {
        for (std::uint8_t led : kRiseSteps[position]) Flare(state, in, led);
      }
      if (++position >= kRiseSteps.size()) {
        position = 0;
        state.rippleRowStage = 1;
      }
      break;
    case 1:  // a spin around the centre, then a pause until it has faded
      if (position <= 30) {
        for (std::uint8_t led : kCirclePairs[position % kCirclePairs.size()]) Flare(state, in, led);
        ++position;
      } else if (state.fade[72] == 0) {
        position = 0;
        state.rippleRowStage = 2;
      }
      break;
    case 2:
      RippleFromLed(state, 52, 1);
      state.rippleRowStage = 3;
      break;
    case 3:  // the burst runs until it reaches the bottom left corner
      Ripple(state, in);
      if (state.fade[124] != 0) state.rippleRowStage = 4;
      break;
    default:
      if (state.fade[124] == 0) {
        position = 0;
        state.rippleRowStage = 0;
      }
      break;
  }
}

}  // namespace

void FrameKeyFade(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  for (std::size_t led = 0; led < kLedSlots; ++led) {
    std::uint8_t& fade = state.fade[led];
    if (state.keyAction[led] == kKeyPressed) fade = static_cast<std::uint8_t>(fade > 240 ? 255 : fade + 15);
    if (state.keyAction[led] == kKeyReleased) fade = static_cast<std::uint8_t>(fade < 5 ? 0 : fade - 5);
  }
  PaintFromFade(state, in.params, frame);
}

void FrameRipple(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  Ripple(state, in);
  for (std::size_t led = 0; led < kLedSlots; ++led) {
    state.fade[led] = FadeStep(state.fade[led], in.params.mode);
    state.hue[led] = static_cast<std::uint8_t>(state.hue[led] + 7u >= kWheelSize ? 0 : state.hue[led] + 7u);
  }
  PaintFromFade(state, in.params, frame);
}

void FrameRippleHold(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  constexpr std::size_t kSourceColumn = 9;
  Reseed(state, kSourceColumn, kTopRow);
  Reseed(state, kSourceColumn, kBelowKeys);
  if (++state.frameCounter >= 2) {
    state.frameCounter = 0;
    Ripple(state, in);
  }
  FadeAll(state, 14);
  PaintFromFade(state, in.params, frame);
}

void FrameRippleEdges(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  Reseed(state, 1, kTopRow);
  Reseed(state, kColumns - 1, kBelowKeys);
  Ripple(state, in);
  const std::uint8_t level = BrightnessValue(in.params.brightness);
  for (std::uint8_t led : kLedOrder) {
    if (led == kNoLed) continue;
    state.fade[led] = FadeStep(state.fade[led], 22);
    PaintLed(frame, led, LedColour(state, in.params, led), Scale(level, state.fade[led]));
  }
}

void FrameRippleRow(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  StepRippleRow(state, in);
  FadeAll(state, 43);
  PaintFromFade(state, in.params, frame);
}

void FrameRippleKey(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  ApplyColumnMasks(state, in.params.multiColour != 0, in.params.direction != 0);
  state.masks.Slide();
  FadeAll(state, 44);
  PaintFromFade(state, in.params, frame);
}

}  // namespace norvane::lighting::keyboard
