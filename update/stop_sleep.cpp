#include "update/stop_sleep.h"

#include <condition_variable>
#include <mutex>

namespace norvane::update {

bool SleepUnlessStopped(std::chrono::milliseconds duration, std::stop_token stop) {
  std::mutex mutex;
  std::condition_variable_any woken;
  std::unique_lock lock(mutex);
  // Nothing notifies the variable: the wait ends with the time or with the stop request.
  (void)woken.wait_for(lock, stop, duration, [] { return false; });
  return !stop.stop_requested();
}

std::shared_ptr<ISleeper> MakeRealSleeper() {
  struct RealSleeper final : ISleeper {
    bool SleepFor(std::chrono::milliseconds duration, std::stop_token stop) override {
      return SleepUnlessStopped(duration, stop);
    }
  };
  return std::make_shared<RealSleeper>();
}

}  // namespace norvane::update
