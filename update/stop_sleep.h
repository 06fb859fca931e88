#pragma once
// Waits that a stop request ends at once. The update workers sleep through these, and tests give them a
// sleeper of their own so that the long pauses between steps cost nothing.

#include <chrono>
#include <memory>
#include <stop_token>

namespace norvane::update {

class ISleeper {
 public:
  virtual ~ISleeper() = default;
  // Waits `duration`; false (at once) when `stop` is requested before or during the wait.
  virtual bool SleepFor(std::chrono::milliseconds duration, std::stop_token stop) = 0;
};

// The real wait, ended by the stop request.
[[nodiscard]] bool SleepUnlessStopped(std::chrono::milliseconds duration, std::stop_token stop);
[[nodiscard]] std::shared_ptr<ISleeper> MakeRealSleeper();

}  // namespace norvane::update
