#pragma once
// An injectable clock. Production code takes a Clock& (defaulting to SteadyClock::Instance()) wherever
// elapsed time decides behaviour, so tests can step time deterministically with ManualClock.

#include <atomic>
#include <chrono>

namespace norvane {

class Clock {
 public:
  using Duration = std::chrono::steady_clock::duration;
  using TimePoint = std::chrono::steady_clock::time_point;

  virtual ~Clock() = default;
  virtual TimePoint Now() const = 0;
};

// The real monotonic clock.
class SteadyClock final : public Clock {
 public:
  TimePoint Now() const override { return std::chrono::steady_clock::now(); }
  static SteadyClock& Instance();
};

// A clock that only moves when told to. Safe to read from several threads.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(TimePoint start = TimePoint{}) : now_(start.time_since_epoch().count()) {}
  TimePoint Now() const override { return TimePoint(Duration(now_.load())); }
  void Advance(Duration step) { now_ += step.count(); }
  void Set(TimePoint at) { now_ = at.time_since_epoch().count(); }

 private:
  std::atomic<Duration::rep> now_;
};

}  // namespace norvane
