#include "devices/lighting/strip_lighting.h"

#include <algorithm>
#include <array>

#include "devices/lighting/light_tables.h"
#include "devices/lighting/step_counter.h"

namespace norvane::lighting {
namespace {

constexpr std::array<std::array<std::uint8_t, 2>, 7> kFacingPairs = {
    {{1, 14}, {2, 13}, {3, 12}, {4, 11}, {5, 10}, {6, 9}, {7, 8}}};

// Every second frame the marked units light up and the marks move one place along.
void LatchAndRotate(SweepState& sweep, std::size_t ledCount, std::size_t rotated, bool forward) {
  if (++sweep.frameCounter < 2) return;
  sweep.frameCounter = 0;
  ReactiveBuffers& b = sweep.buffers;
  for (std::size_t i = 0; i < std::min(ledCount, b.columns.size()); ++i) {
    if (b.columns[i]) b.fade[i] = 255;
  }
  const auto first = b.columns.begin();
  const auto last = first + static_cast<std::ptrdiff_t>(rotated);
  if (forward) {
    std::rotate(first, last - 1, last);
  } else {
    std::rotate(first, first + 1, last);
  }
}

// The colour of one unit: the next wheel colour 12 hues on, or, while the end unit is still lit, the
// colour the unit already shows; the fixed colour without the multi-colour flag.
Rgb UnitColour(GenericAnimation& state, const LightParams& params, bool endUnitLit, const LedRecord& shown) {
  if (!params.multiColour) return params.Colour();
  if (endUnitLit) return Rgb{shown.red, shown.green, shown.blue};
  state.position = static_cast<std::uint8_t>(state.position + 12);
  return Wheel(state.position);
}

}  // namespace

void FramePadWave(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame) {
  const std::uint8_t level = BrightnessValue(params.brightness);
  const bool forward = params.direction != 0;
  if (params.multiColour) {
    state.position = StepCounter(forward, kWheelSize, state.position, 1);
    for (std::size_t i = 0; i < frame.size(); ++i) Paint(frame[i], Wheel(state.position + 1 + 7 * i), level);
    return;
  }
  state.position = StepCounter(forward, kWaveSize, state.position, 1);
  for (std::size_t i = 0; i < frame.size(); ++i) {
    Paint(frame[i], params.Colour(), Scale(level, WaveLevel(state.position + 1 + 7 * i)));
  }
}

void FrameHeadsetWave(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame) {
  const std::uint8_t level = BrightnessValue(params.brightness);
  const bool forward = params.direction != 0;
  if (params.multiColour) {
    state.position = StepCounter(forward, kWheelSize, state.position, 1);
    for (std::size_t i = 0; i < frame.size(); ++i) Paint(frame[i], Wheel(state.position + 1 + 16 * i), level);
    return;
  }
  state.position = StepCounter(forward, kWaveSize, state.position, 3);
  for (std::size_t i = 0; i < frame.size(); ++i) {
    Paint(frame[i], params.Colour(), Scale(level, WaveLevel(state.position + 10 * i)));
  }
}

void FrameColumnSweep(GenericAnimation& state, SweepState& sweep, const LightParams& params,
                      std::span<LedRecord> frame) {
  const bool forward = params.direction != 0;
  state.position = StepCounter(forward, kWheelSize, state.position, 1);
  LatchAndRotate(sweep, frame.size(), sweep.buffers.columns.size(), forward);
  const std::size_t count = std::min(frame.size(), sweep.buffers.fade.size());
  if (count == 0) return;
  const std::size_t endUnit = forward ? 0 : count - 1;
  const std::uint8_t level = BrightnessValue(params.brightness);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t fade = sweep.buffers.FadeStep(i, params.mode);
    const Rgb colour = UnitColour(state, params, sweep.buffers.fade[endUnit] != 0, frame[i]);
    Paint(frame[i], colour, Scale(level, fade));
  }
}

void FramePairSweep(GenericAnimation& state, SweepState& sweep, const LightParams& params,
                    std::span<LedRecord> frame) {
  const bool forward = params.direction != 0;
  state.position = StepCounter(forward, kWheelSize, state.position, 1);
  LatchAndRotate(sweep, frame.size(), 8, !forward);
  const std::size_t endUnit = forward ? 0 : kFacingPairs.size() - 1;
  const std::uint8_t level = BrightnessValue(params.brightness);
  for (std::size_t i = 0; i < kFacingPairs.size(); ++i) {
    const std::uint8_t fade = sweep.buffers.FadeStep(i, params.mode);
    const auto [first, second] = kFacingPairs[i];
    const LedRecord shown = first < frame.size() ? frame[first] : LedRecord{};
    const Rgb colour = UnitColour(state, params, sweep.buffers.fade[endUnit] != 0, shown);
    for (std::size_t led : {first, second}) {
      if (led < frame.size()) Paint(frame[led], colour, Scale(level, fade));
    }
  }
}

void StripLighting::Render(const LightParams& live, std::span<LedRecord> frame, Clock::TimePoint now) {
  switch (live.mode) {
    case 0:
      kind_ == StripKind::MousePad ? FramePadWave(animation_, live, frame)
                                   : FrameHeadsetWave(animation_, live, frame);
      return;
    case 1:
      FrameSpectrum(animation_, live, frame);
      return;
    case 2:
      FrameBreathing(animation_, live, frame);
      return;
    case 3:
      FrameStatic(live, frame);
      return;
    case 4:
      FrameFlash(animation_, live, frame, now);
      return;
    case 6:
      FrameColumnSweep(animation_, sweep_, live, frame);
      return;
    case 7:
      FramePairSweep(animation_, sweep_, live, frame);
      return;
    case 8:
      FrameOff(frame);
      return;
    default:
      return;
  }
}

void StripLighting::Tick(const LightParams& live, std::span<LedRecord> frame, Clock::TimePoint now) {
  std::lock_guard lock(mutex_);
  const bool builtIn = live.mode <= 8 && live.mode != 5;
  if (!builtIn) {
    customSteps_.PlayTick(frame, now, live.speed);
  } else if (++ticksSinceFrame_ >= BlinkUnits(live.speed)) {
    ticksSinceFrame_ = 0;
    Render(live, frame, now);
  }
  overlay_.Apply(frame, now);
}

void StripLighting::StartMode() {
  std::lock_guard lock(mutex_);
  // Without a mark in the column buffer the sweeps would stay dark; start one at the first LED, as the
  // mouse does on every mode change.
  sweep_ = SweepState{};
  sweep_.buffers.columns[0] = 1;
}

void StripLighting::SetPerKeyEffects(std::vector<PerLedEffect> effects) {
  std::lock_guard lock(mutex_);
  overlay_.SetEffects(std::move(effects));
}

}  // namespace norvane::lighting
