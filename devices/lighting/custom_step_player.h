#pragma once
// Plays a custom light list: a sequence of simple effects, each shown for its own number of milliseconds,
// then the list starts again. The page's UI thread replaces the list while its lighting thread plays it,
// so the list is guarded here; the playback counters belong to the lighting thread alone.

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "devices/lighting/led_record.h"
#include "devices/lighting/light_params.h"
#include "platform/clock.h"

namespace norvane::lighting {

class CustomStepPlayer {
 public:
  // Replaces the list and starts it at its first step. The running step's time is not restarted, so the
  // new first step only gets what is left of it.
  void SetSteps(std::vector<LightStep> steps);
  std::size_t StepCount() const;
  std::size_t StepIndex() const;

  // One loop of the lighting thread. pageSpeed is the page's own speed level, which sets the flash step's
  // blink interval.
  void PlayTick(std::span<LedRecord> frame, Clock::TimePoint now, std::uint8_t pageSpeed);

 private:
  // Copies the current step; false when the list is empty.
  bool CurrentStep(LightStep& step);
  void RenderStep(const LightStep& step, std::span<LedRecord> frame, Clock::TimePoint now,
                  std::uint8_t pageSpeed);
  void AdvanceStepWhenDue(std::uint32_t timeMs, Clock::TimePoint now);

  mutable std::mutex stepsMutex_;
  std::vector<LightStep> steps_;
  std::size_t stepIndex_ = 0;

  // Playback state, touched only by PlayTick.
  bool started_ = false;
  Clock::TimePoint stepStart_{};
  std::uint8_t tickCounter_ = 0;
  std::uint8_t position_ = 0;
  std::uint8_t breathColour_ = 0;
  std::uint8_t flashColour_ = 0;
  bool blinkOn_ = false;
  bool blinkStarted_ = false;
  Clock::TimePoint lastBlinkChange_{};
};

}  // namespace norvane::lighting
