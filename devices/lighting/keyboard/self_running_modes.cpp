#include "devices/lighting/keyboard/self_running_modes.h"

#include "devices/lighting/keyboard/frame_painter.h"
#include "devices/lighting/reactive_fade.h"
#include "devices/lighting/step_counter.h"

namespace norvane::lighting::keyboard {
namespace {

std::uint8_t Level(const FrameInputs& in) {
  return BrightnessValue(in.params.brightness);
}
bool Forward(const FrameInputs& in) {
  return in.params.direction != 0;
}

// Twinkle: each key runs through the pulse curve and takes a new random hue when it starts again.
void Twinkle(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame, unsigned step) {
  const std::uint8_t level = Level(in);
  for (std::uint8_t led : kLedOrder) {
    if (led == kNoLed) continue;
    unsigned phase = state.phase[led] + step;
    if (phase >= kPulse.size()) {
      phase = 0;
      state.hue[led] = static_cast<std::uint8_t>(in.random.Below(kWheelSize));
    }
    state.phase[led] = static_cast<std::uint8_t>(phase);
    PaintLed(frame, led, LedColour(state, in.params, led), Scale(level, PulseLevel(phase)));
  }
}

// The countdown's sweep LEDs from `first` to the end stay fully lit.
void HoldSweepTail(KeyboardLightState& state, std::size_t first) {
  for (std::size_t i = first; i < kSweepOrder.size(); ++i) {
    if (kSweepOrder[i] != kNoLed) state.fade[kSweepOrder[i]] = 255;
  }
}

void SetRingFade(KeyboardLightState& state, std::size_t ring, std::uint8_t value) {
  for (std::uint8_t led : kRingTable[ring]) {
    if (led != kNoLed) state.fade[led] = value;
  }
}

constexpr unsigned kBreathsBeforeFlicker = 3;
constexpr unsigned kFlickerFrames = 10;
constexpr unsigned kRippleFrames = 21;
constexpr std::uint8_t kCountdownCentre = 51;
constexpr std::uint8_t kSweepPassShrink = 22;

void StepCountdown(KeyboardLightState& state) {
  CountdownState& show = state.countdown;
  std::uint8_t& position = state.animation.position;
  switch (show.stage) {
    case 0: {  // sweep passes that grow a lit tail from the end
      FadeAll(state, 13);
      HoldSweepTail(state, show.limit);
      const std::uint8_t led = EntryOr(kSweepOrder, position, kNoLed);
      if (led != kNoLed) state.fade[led] = 254;
      if (++position < show.limit) break;
      position = 0;
      show.limit = show.limit > kSweepPassShrink ? show.limit - kSweepPassShrink : 0;
      if (show.limit == 0) {
        HoldSweepTail(state, 0);
        position = kSweepOrder.size();
        show.stage = 1;
      }
      break;
    }
    case 1:  // the lit sweep goes dark from the end, one LED per frame
      if (position > kSweepOrder.size()) position = kSweepOrder.size();
      if (position > 0) {
        --position;
        const std::uint8_t led = kSweepOrder[position];
        if (led != kNoLed) state.fade[led] = 0;
      }
      if (position == 0) {
        show.stage = 2;
        show.step = 0;
      }
      break;
    case 2:  // rings light from the outside in, then wait for the centre to fade out
      FadeAll(state, 13);
      if (show.step < kRings) {
        SetRingFade(state, kRings - 1 - show.step, 254);
        ++show.step;
      } else if (state.fade[kCountdownCentre] == 0) {
        show.stage = 3;
        show.step = 0;
      }
      break;
    case 3:  // the two inner rings breathe
      SetRingFade(state, 0, Breathing(show.step));
      SetRingFade(state, 1, Breathing(show.step));
      if (++show.step >= kBreathsBeforeFlicker * kBreathingSize) {
        show.stage = 4;
        show.step = 0;
      }
      break;
    case 4:  // and flicker
      for (std::size_t ring : {0, 1}) {
        for (std::uint8_t led : kRingTable[ring]) {
          if (led != kNoLed) state.fade[led] = static_cast<std::uint8_t>(255 - state.fade[led]);
        }
      }
      if (++show.step >= kFlickerFrames) show.stage = 5;
      break;
    case 5:  // then burst into a ripple from the centre
      RippleFromLed(state, kCountdownCentre, 1);
      show.stage = 6;
      show.step = 0;
      break;
    default:
      FadeAll(state, 13);
      ApplyColumnMasks(state, false, true);
      state.masks.Spread();
      if (++show.step >= kRippleFrames) {
        state.masks.Clear();
        show = CountdownState{};
        position = 0;
      }
      break;
  }
}

}  // namespace

void FrameColumnWave(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  std::uint8_t& position = state.animation.position;
  const std::uint8_t level = Level(in);
  if (in.params.multiColour) {
    position = StepCounter(Forward(in), kWheelSize, position, 1);
    for (std::size_t k = 0; k < kColumns; ++k) PaintColumn(frame, k, Wheel(position + 1 + 7 * k), level);
  } else {
    position = StepCounter(Forward(in), kWaveSize, position, 1);
    for (std::size_t k = 0; k < kColumns; ++k) {
      PaintColumn(frame, k, in.params.Colour(), Scale(level, WaveLevel(position + 1 + 7 * k)));
    }
  }
}

void FrameColumnRainbow(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  std::uint8_t& position = state.animation.position;
  const std::uint8_t level = Level(in);
  if (in.params.multiColour) {
    position = StepCounter(Forward(in), kWheelSize, position, 1);
    for (std::size_t k = 0; k < kColumns; ++k) PaintColumn(frame, k, Wheel(position + 22 * k), level);
  } else {
    position = StepCounter(Forward(in), kWaveSize, position, 1);
    for (std::size_t k = 0; k < kColumns; ++k) {
      PaintColumn(frame, k, in.params.Colour(), Scale(level, PulseLevel((position + 25 * k) % kWaveSize)));
    }
  }
}

void FrameRings(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  constexpr unsigned kTop = kWaveSize - 1;
  std::uint8_t& index = state.animation.colourIndex;
  if (Forward(in)) {
    index = static_cast<std::uint8_t>(index + 2u > kTop ? 0 : index + 2u);
  } else {
    index = static_cast<std::uint8_t>(index < 2 || index > kTop ? kTop : index - 2u);
  }
  for (std::size_t r = 0; r < kRings; ++r) SetRingFade(state, r, WaveLevel(index + 11 * r));
  const std::uint8_t level = Level(in);
  for (std::size_t led = 0; led < BufferedLeds(frame); ++led) {
    Paint(frame[led], Rgb{0, 180, 255}, Scale(level, state.fade[led]));
  }
}

void FrameSerpentine(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  std::uint8_t& position = state.animation.position;
  const std::uint8_t level = Level(in);
  const bool multi = in.params.multiColour != 0;
  position = StepCounter(Forward(in), multi ? kWheelSize : kWaveSize, position, 1);
  for (std::size_t n = 0; n < kLedOrder.size(); ++n) {
    if (multi) {
      PaintLed(frame, kLedOrder[n], Wheel(position + 5 * n), level);
    } else {
      PaintLed(frame, kLedOrder[n], in.params.Colour(), Scale(level, WaveLevel(position + 5 * n)));
    }
  }
}

void FrameKeyboardStatic(KeyboardLightState&, const FrameInputs& in, std::span<LedRecord> frame) {
  const std::uint8_t level = Level(in);
  if (!in.params.multiColour) return FillFrame(frame, in.params.Colour(), level);
  for (std::size_t r = 0; r < kRings; ++r) {
    for (std::uint8_t led : kRingTable[r]) PaintLed(frame, led, Wheel(150 - 12 * (r + 1)), level);
  }
}

void FrameKeyboardBreathing(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  std::uint8_t& position = state.animation.position;
  position = static_cast<std::uint8_t>(position + 1u >= kBreathingSize ? 0 : position + 1u);
  const std::uint8_t level = Scale(Breathing(position), Level(in));
  for (std::size_t k = 0; k < kColumns; ++k) {
    PaintColumn(frame, k, in.params.multiColour ? Wheel(7 * k) : in.params.Colour(), level);
  }
}

void FrameColumnStatic(KeyboardLightState&, const FrameInputs& in, std::span<LedRecord> frame) {
  for (std::size_t k = 0; k < kColumns; ++k) {
    PaintColumn(frame, k, in.params.Colour(), Scale(Level(in), kColumnFade[k]));
  }
}

void FrameCountdown(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  StepCountdown(state);
  const std::uint8_t level = Level(in);
  for (std::size_t led = 0; led < BufferedLeds(frame); ++led) {
    Paint(frame[led], in.params.Colour(), Scale(level, state.fade[led]));
  }
}

void FrameTwinkleFast(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  Twinkle(state, in, frame, 2);
}

void FrameTwinkle(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  Twinkle(state, in, frame, 1);
}

void FrameRandomDrops(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  constexpr int kDropsPerFrame = 6;
  for (int i = 0; i < kDropsPerFrame; ++i) {
    const std::uint8_t led = EntryOr(kLedOrder, kRandomOrder[in.random.Below(kRandomPicks)], kNoLed);
    const auto hue = static_cast<std::uint8_t>(in.random.Below(kWheelSize));
    if (led == kNoLed) continue;
    state.hue[led] = hue;
    state.fade[led] = 255;
  }
  FadeAll(state, 17);
  PaintFromFade(state, in.params, frame);
}

void FrameRaindrops(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  const std::uint8_t level = Level(in);
  for (std::uint8_t led : kLedOrder) {
    if (led == kNoLed) continue;
    const unsigned phase = state.phase[led] + 1u;
    state.phase[led] = static_cast<std::uint8_t>(phase >= kDrop.size() ? 0 : phase);
    state.fade[led] = FadeStep(DropLevel(state.phase[led]), 18);
    PaintLed(frame, led, in.params.Colour(), Scale(level, state.fade[led]));
  }
}

void FrameRowWave(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  std::uint8_t& position = state.animation.position;
  position = StepCounter(Forward(in), kColumns, position, 1);
  for (std::size_t r = 0; r < kRows; ++r) {
    const std::uint8_t fade = kRowFade[(position + 1 + 4 * r) % kRowFade.size()];
    PaintRow(frame, r, in.params.Colour(), Scale(Level(in), fade));
  }
}

void FrameCustom(KeyboardLightState&, const FrameInputs& in, std::span<LedRecord> frame) {
  for (LedRecord& led : frame) led.level = Level(in);
}

void FrameSweepFill(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  std::uint8_t& position = state.animation.position;
  const std::uint8_t led = EntryOr(kFillOrder, position, kNoLed);
  if (led != kNoLed) state.fade[led] = 254;
  if (Forward(in)) {
    position = static_cast<std::uint8_t>(position + 1u >= kFillOrder.size() ? 0 : position + 1u);
  } else {
    // Going backwards it restarts at the last entry of the fill order.
    position = static_cast<std::uint8_t>(position == 0 || position > kFillOrder.size() ? kFillOrder.size() - 1
                                                                                       : position - 1u);
  }
  FadeAll(state, 13);
  PaintFromFade(state, in.params, frame);
}

void FrameRowRainbow(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  std::uint8_t& position = state.animation.position;
  position = StepCounter(Forward(in), kWheelSize, position, 1);
  for (std::size_t r = 0; r < kRows; ++r) PaintRow(frame, r, Wheel(position + 1 + 7 * r), Level(in));
}

void FrameHueCycle(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  for (std::size_t led = 0; led < BufferedLeds(frame); ++led) {
    state.hue[led] = static_cast<std::uint8_t>(state.hue[led] + 1u >= kWheelSize ? 0 : state.hue[led] + 1u);
    Paint(frame[led], Wheel(state.hue[led]), Level(in));
  }
}

void FrameStaticPreset(KeyboardLightState&, const FrameInputs& in, std::span<LedRecord> frame) {
  unsigned hue = 174;
  switch (in.params.presetColour) {
    case 1:
      hue = 25;
      break;
    case 2:
      hue = 70;
      break;
    case 3:
      hue = 95;
      break;
    default:
      break;
  }
  FillFrame(frame, Wheel(hue), Level(in));
}

}  // namespace norvane::lighting::keyboard
