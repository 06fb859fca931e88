#pragma once
// Drives a lighting loop on the fixed lighting tick: 64 ticks a second, 15.625 ms apart. The animation
// speeds are tuned to that pace. Ticks follow a fixed schedule (no drift from the time the work takes);
// after a stall such as a suspended machine, the missed ticks are dropped rather than rushed through.

#include <chrono>
#include <cstdint>
#include <functional>
#include <stop_token>

#include "platform/clock.h"

namespace norvane::lighting {

inline constexpr std::chrono::microseconds kLightingTick{15625};
inline constexpr int kTicksPerSecond = 64;

// Waits until a time point or until stop is requested, whichever comes first.
class Sleeper {
 public:
  virtual ~Sleeper() = default;
  // False when it returned because stop was requested.
  virtual bool SleepUntil(Clock::TimePoint deadline, std::stop_token stop) = 0;
};

// Sleeps on a condition variable against the steady clock, woken at once by a stop request. Pair it with
// SteadyClock.
class StopTokenSleeper final : public Sleeper {
 public:
  bool SleepUntil(Clock::TimePoint deadline, std::stop_token stop) override;
};

class LightingTicker {
 public:
  using TickFunction = std::function<void(std::uint64_t tick, Clock::TimePoint now)>;
  // Holds the loop while nobody needs its ticks; false when it returned because stop was requested.
  using IdleFunction = std::function<bool(std::stop_token stop)>;

  // More than this many ticks behind schedule: start the schedule again from now.
  static constexpr int kMaxCatchUpTicks = 4;

  LightingTicker(const Clock& clock, Sleeper& sleeper) : clock_(clock), sleeper_(sleeper) {}

  // Calls onTick once per tick until stop is requested; returns promptly after the request. Before each tick
  // the loop may wait in `waitWhileIdle`; after a wait the next tick comes at once and the schedule starts
  // again from there (the missed ticks are dropped, as after any stall).
  void Run(std::stop_token stop, const TickFunction& onTick, const IdleFunction& waitWhileIdle = {});

 private:
  const Clock& clock_;
  Sleeper& sleeper_;
};

}  // namespace norvane::lighting
