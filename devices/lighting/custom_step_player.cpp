#include "devices/lighting/custom_step_player.h"

#include <chrono>

#include "devices/lighting/generic_generators.h"
#include "devices/lighting/light_tables.h"

namespace norvane::lighting {
namespace {

enum StepMode : std::uint8_t { kBreathing = 0, kStatic = 1, kFlash = 2, kWave = 4, kSpectrum = 5 };

// Tick thresholds of the spectrum step, by speed level: it runs much faster than the others.
constexpr std::array<std::uint8_t, kLevelCount> kSpectrumThresholds = {8, 5, 3, 1, 0};

std::uint8_t Threshold(const LightStep& step) {
  if (step.mode == kSpectrum) return kSpectrumThresholds[ClampLevel(step.speed)];
  return BlinkUnits(step.speed);
}

std::uint8_t Wrap(unsigned value, unsigned limit) {
  return static_cast<std::uint8_t>(value >= limit ? 0 : value);
}

}  // namespace

void CustomStepPlayer::SetSteps(std::vector<LightStep> steps) {
  std::lock_guard lock(stepsMutex_);
  steps_ = std::move(steps);
  stepIndex_ = 0;
}

std::size_t CustomStepPlayer::StepCount() const {
  std::lock_guard lock(stepsMutex_);
  return steps_.size();
}

std::size_t CustomStepPlayer::StepIndex() const {
  std::lock_guard lock(stepsMutex_);
  return stepIndex_;
}

bool CustomStepPlayer::CurrentStep(LightStep& step) {
  std::lock_guard lock(stepsMutex_);
  if (stepIndex_ >= steps_.size()) stepIndex_ = 0;
  if (steps_.empty()) return false;
  step = steps_[stepIndex_];
  return true;
}

void CustomStepPlayer::PlayTick(std::span<LedRecord> frame, Clock::TimePoint now, std::uint8_t pageSpeed) {
  LightStep step;
  if (!CurrentStep(step)) return FrameOff(frame);
  if (!started_) {
    started_ = true;
    stepStart_ = now;
  }
  ++tickCounter_;
  RenderStep(step, frame, now, pageSpeed);
  if (tickCounter_ == 255) tickCounter_ = 0;
  AdvanceStepWhenDue(step.timeMs, now);
}

void CustomStepPlayer::RenderStep(const LightStep& step, std::span<LedRecord> frame, Clock::TimePoint now,
                                  std::uint8_t pageSpeed) {
  const std::uint8_t threshold = Threshold(step);
  const std::uint8_t level = BrightnessValue(step.brightness);
  const bool due = tickCounter_ >= threshold;
  switch (step.mode) {
    case kBreathing: {
      if (due) {
        position_ = Wrap(position_ + 1u, kBreathingSize);
        tickCounter_ = 0;
        // A multi-colour breathing step moves on around the wheel with every breath.
        if (position_ == 0) breathColour_ = Wrap(breathColour_ + 16u, kWheelSize);
      }
      const Rgb colour = step.multiColour ? Wheel(breathColour_) : step.Colour();
      FillFrame(frame, colour, Scale(Breathing(position_), level));
      break;
    }
    case kStatic:
      if (due) {
        position_ = static_cast<std::uint8_t>(position_ + 1 > 8 ? 0 : position_ + 1);
        tickCounter_ = 0;
      }
      FillFrame(frame, step.Colour(), level);
      break;
    case kFlash: {
      position_ = Wrap(position_ + 1u, kBreathingSize);
      if (due) tickCounter_ = 0;
      const auto interval = std::chrono::milliseconds(BlinkIntervalMs(pageSpeed));
      if (!blinkStarted_ || now - lastBlinkChange_ >= interval) {
        blinkStarted_ = true;
        blinkOn_ = !blinkOn_;
        lastBlinkChange_ = now;
        flashColour_ = Wrap(position_ + 14u, kWheelSize);
      }
      if (!blinkOn_) return FrameOff(frame);
      FillFrame(frame, step.multiColour ? Wheel(flashColour_) : step.Colour(), level);
      break;
    }
    case kWave: {
      if (due) {
        position_ = Wrap(position_ + 1u, kWheelSize);
        tickCounter_ = 0;
      }
      unsigned start = Wrap(position_ + 1u, kWheelSize);
      if (step.direction) start = position_ == 0 ? kWheelSize - 1 : kWheelSize - (position_ % kWheelSize);
      for (std::size_t n = 0; n < frame.size(); ++n) {
        if (step.multiColour) {
          Paint(frame[n], Wheel(start + 12 * n), level);
        } else {
          Paint(frame[n], step.Colour(), Scale(level, WaveLevel(start + 12 * (n + 1))));
        }
      }
      break;
    }
    case kSpectrum:
      if (due) {
        position_ = Wrap(position_ + 1u, kWheelSize);
        tickCounter_ = 0;
      }
      FillFrame(frame, Wheel(position_), level);
      break;
    default:
      // Mode 3 and unknown modes keep whatever the previous step left.
      break;
  }
}

void CustomStepPlayer::AdvanceStepWhenDue(std::uint32_t timeMs, Clock::TimePoint now) {
  if (now - stepStart_ <= std::chrono::milliseconds(timeMs)) return;
  {
    std::lock_guard lock(stepsMutex_);
    if (++stepIndex_ >= steps_.size()) stepIndex_ = 0;
  }
  stepStart_ = now;
}

}  // namespace norvane::lighting
