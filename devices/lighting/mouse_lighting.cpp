#include "devices/lighting/mouse_lighting.h"

#include <algorithm>

#include "devices/lighting/light_tables.h"
#include "devices/lighting/step_counter.h"

namespace norvane::lighting {
namespace {

constexpr std::array<MouseGroup, kMouseGroups> kGroups{{
    {0, kNoLed, 13},
    {1, kNoLed, 12},
    {2, kNoLed, 11},
    {3, kNoLed, 10},
    {4, kNoLed, 9},
    {5, kNoLed, 8},
    {6, 14, 7},
}};

constexpr unsigned kGroupStep = 7;    // wave: hue or curve distance between neighbouring groups
constexpr unsigned kChaseHueStep = 12;
constexpr unsigned kReactionStep = 15;

// Paints every LED of a group that the frame has.
void PaintGroup(std::span<LedRecord> frame, std::size_t group, Rgb colour, std::uint8_t level) {
  for (const int led : kGroups[group]) {
    if (led != kNoLed && static_cast<std::size_t>(led) < frame.size()) Paint(frame[static_cast<std::size_t>(led)], colour, level);
  }
}

// Adds `step` to an index that wraps at `size`.
constexpr unsigned Advance(unsigned index, unsigned step, unsigned size) {
  index += step;
  return index >= size ? index - size : index;
}

}  // namespace

const MouseGroup& MouseGroupLeds(std::size_t group) {
  return kGroups[group < kGroups.size() ? group : 0];
}

void FrameMouseWave(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame) {
  const bool forward = params.direction != 0;
  const std::uint8_t level = BrightnessValue(params.brightness);
  if (params.multiColour) {
    state.position = StepCounter(forward, kWheelSize, state.position, 1);
    unsigned hue = Advance(state.position, 1, kWheelSize);
    for (std::size_t g = 0; g < kMouseGroups; ++g) {
      PaintGroup(frame, g, Wheel(hue), level);
      hue = Advance(hue, kGroupStep, kWheelSize);
    }
    return;
  }
  state.position = StepCounter(forward, kWaveSize, state.position, 1);
  unsigned index = Advance(state.position, 1, kWaveSize);
  for (std::size_t g = 0; g < kMouseGroups; ++g) {
    PaintGroup(frame, g, params.Colour(), Scale(level, WaveLevel(index)));
    index = Advance(index, kGroupStep, kWaveSize);
  }
}

void FrameMouseChase(GenericAnimation& state, ReactiveBuffers& buffers, const LightParams& params,
                     std::span<LedRecord> frame) {
  const bool forward = params.direction != 0;
  const std::uint8_t level = BrightnessValue(params.brightness);
  state.position = StepCounter(forward, kWheelSize, state.position, 1);
  buffers.LatchColumns();
  buffers.RotateColumns(forward);
  for (std::size_t g = 0; g < kMouseGroups; ++g) {
    const std::uint8_t fade = buffers.FadeStep(g, mouse_mode::kChase);
    Rgb colour = params.Colour();
    if (params.multiColour) {
      state.position = static_cast<std::uint8_t>(state.position + kChaseHueStep);
      const unsigned hue = state.position >= kWheelSize ? state.position - kWheelSize : state.position;
      // While the mark is at the strips' start, the groups keep the colour they show.
      const std::uint8_t head = buffers.fade[forward ? 0 : kMouseGroups - 1];
      if (head != 0) {
        const int first = kGroups[g][0];
        if (static_cast<std::size_t>(first) >= frame.size()) continue;
        const LedRecord& shown = frame[static_cast<std::size_t>(first)];
        colour = Rgb{shown.red, shown.green, shown.blue};
      } else {
        colour = Wheel(hue);
      }
    }
    PaintGroup(frame, g, colour, Scale(level, fade));
  }
}

void FrameMouseReaction(ReactionState& reaction, const LightParams& params, std::span<LedRecord> frame) {
  const std::uint8_t level = BrightnessValue(params.brightness);
  const std::size_t count = std::min(frame.size(), reaction.size());
  for (std::size_t led = 0; led < count; ++led) {
    ReactionLed& state = reaction[led];
    if (state.phase == 1) {
      const unsigned risen = state.fade + kReactionStep;
      state.fade = static_cast<std::uint8_t>(risen >= 255 ? 255 : risen);
      if (state.fade == 255) state.phase = 2;
    } else if (state.phase == 2) {
      state.fade = static_cast<std::uint8_t>(state.fade > kReactionStep ? state.fade - kReactionStep : 0);
    }
    const Rgb colour = params.multiColour ? Wheel(state.hue) : params.Colour();
    Paint(frame[led], colour, Scale(level, state.fade));
  }
}

void StartReaction(ReactionState& reaction, RandomSource& random) {
  for (ReactionLed& led : reaction) {
    led.phase = 1;
    led.hue = static_cast<std::uint8_t>(random.Below(kWheelSize));
  }
}

void MouseLighting::Tick(const LightParams& live, std::span<LedRecord> frame, Clock::TimePoint now) {
  std::lock_guard lock(mutex_);
  if (++ticks_ < BlinkUnits(live.speed)) return;
  ticks_ = 0;
  switch (live.mode) {
    case mouse_mode::kWave:
      FrameMouseWave(animation_, live, frame);
      break;
    case mouse_mode::kSpectrum:
      FrameSpectrum(animation_, live, frame);
      break;
    case mouse_mode::kBreathing:
      FrameBreathing(animation_, live, frame);
      break;
    case mouse_mode::kStatic:
      FrameStatic(live, frame);
      break;
    case mouse_mode::kFlash:
      FrameFlash(animation_, live, frame, now);
      break;
    case mouse_mode::kChase:
      FrameMouseChase(animation_, buffers_, live, frame);
      break;
    case mouse_mode::kReaction:
      FrameMouseReaction(reaction_, live, frame);
      break;
    case mouse_mode::kBreathingCycle:
      FrameBreathingCycle(animation_, live, frame);
      break;
    case mouse_mode::kFlashCycle:
      FrameFlashCycle(animation_, live, frame, now);
      break;
    case mouse_mode::kOff:
      FrameOff(frame);
      break;
    default:
      break;
  }
}

void MouseLighting::StartMode() {
  std::lock_guard lock(mutex_);
  buffers_.Clear();
  buffers_.columns[0] = 1;
}

void MouseLighting::OnClick(std::uint8_t liveMode) {
  if (liveMode != mouse_mode::kReaction) return;
  std::lock_guard lock(mutex_);
  StartReaction(reaction_, random_);
}

GenericAnimation MouseLighting::Animation() const {
  std::lock_guard lock(mutex_);
  return animation_;
}

}  // namespace norvane::lighting
