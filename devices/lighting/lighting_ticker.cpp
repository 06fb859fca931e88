#include "devices/lighting/lighting_ticker.h"

#include <condition_variable>
#include <mutex>

namespace norvane::lighting {

bool StopTokenSleeper::SleepUntil(Clock::TimePoint deadline, std::stop_token stop) {
  std::mutex mutex;
  std::condition_variable_any wakeUp;
  std::unique_lock lock(mutex);
  // Nothing notifies the variable: it wakes on the deadline or on the stop request only.
  wakeUp.wait_until(lock, stop, deadline, [] { return false; });
  return !stop.stop_requested();
}

void LightingTicker::Run(std::stop_token stop, const TickFunction& onTick, const IdleFunction& waitWhileIdle) {
  std::uint64_t tick = 0;
  Clock::TimePoint next = clock_.Now() + kLightingTick;
  while (!stop.stop_requested()) {
    if (waitWhileIdle && !waitWhileIdle(stop)) return;
    if (!sleeper_.SleepUntil(next, stop)) return;
    const Clock::TimePoint now = clock_.Now();
    if (now < next) continue;  // woke early; wait out the rest of the tick
    onTick(tick++, now);
    next += kLightingTick;
    if (now - next > kMaxCatchUpTicks * kLightingTick) next = now + kLightingTick;
  }
}

}  // namespace norvane::lighting
