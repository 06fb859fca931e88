#include "devices/lighting/lighting_ticker.h"

#include <gtest/gtest.h>

#include <vector>

namespace norvane::lighting {
namespace {

using namespace std::chrono_literals;

// Moves a manual clock to each deadline instead of waiting; can stall once to imitate a suspended machine.
class SteppingSleeper final : public Sleeper {
 public:
  explicit SteppingSleeper(ManualClock& clock) : clock_(clock) {}
  bool SleepUntil(Clock::TimePoint deadline, std::stop_token stop) override {
    if (stop.stop_requested()) return false;
    if (clock_.Now() < deadline) clock_.Set(deadline);
    clock_.Advance(stallNext);
    stallNext = {};
    return true;
  }
  Clock::Duration stallNext{};

 private:
  ManualClock& clock_;
};

TEST(LightingTicker, TicksSixtyFourTimesASecondOnAFixedSchedule) {
  ManualClock clock{Clock::TimePoint{1s}};
  SteppingSleeper sleeper(clock);
  LightingTicker ticker(clock, sleeper);
  std::stop_source stop;
  std::vector<Clock::TimePoint> times;
  ticker.Run(stop.get_token(), [&](std::uint64_t tick, Clock::TimePoint now) {
    EXPECT_EQ(tick, times.size());
    times.push_back(now);
    clock.Advance(3ms);  // the work itself takes time; the schedule must not drift
    if (times.size() == kTicksPerSecond) stop.request_stop();
  });
  ASSERT_EQ(times.size(), 64u);
  EXPECT_EQ(times.front(), Clock::TimePoint{1s} + kLightingTick);
  EXPECT_EQ(times.back(), Clock::TimePoint{2s});
}

TEST(LightingTicker, DropsTheTicksMissedDuringAStall) {
  ManualClock clock;
  SteppingSleeper sleeper(clock);
  LightingTicker ticker(clock, sleeper);
  std::stop_source stop;
  std::vector<Clock::TimePoint> times;
  ticker.Run(stop.get_token(), [&](std::uint64_t, Clock::TimePoint now) {
    times.push_back(now);
    if (times.size() == 2) sleeper.stallNext = 10s;
    if (times.size() == 5) stop.request_stop();
  });
  ASSERT_EQ(times.size(), 5u);
  EXPECT_EQ(times[2] - times[1], kLightingTick + 10s);
  EXPECT_EQ(times[3] - times[2], kLightingTick) << "no burst of catch-up ticks";
}

TEST(LightingTicker, AfterAnIdleWaitTheNextTickComesAtOnceAndTheScheduleStartsThere) {
  ManualClock clock;
  SteppingSleeper sleeper(clock);
  LightingTicker ticker(clock, sleeper);
  std::stop_source stop;
  std::vector<Clock::TimePoint> times;
  int waits = 0;
  ticker.Run(
      stop.get_token(),
      [&](std::uint64_t, Clock::TimePoint now) {
        times.push_back(now);
        if (times.size() == 4) stop.request_stop();
      },
      [&](std::stop_token) {
        if (++waits == 3) clock.Advance(10s);  // nobody wanted frames for ten seconds
        return true;
      });
  ASSERT_EQ(times.size(), 4u);
  EXPECT_EQ(times[2] - times[1], 10s) << "the first tick after the wait is not held back";
  EXPECT_EQ(times[3] - times[2], kLightingTick) << "no catch-up burst";

  int ticks = 0;
  ticker.Run(
      stop.get_token(), [&](std::uint64_t, Clock::TimePoint) { ++ticks; }, [](std::stop_token) { return false; });
  EXPECT_EQ(ticks, 0) << "a wait that ends for a stop ends the loop";
}

TEST(LightingTicker, AStopRequestedBeforeRunningCallsNothing) {
  ManualClock clock;
  SteppingSleeper sleeper(clock);
  LightingTicker ticker(clock, sleeper);
  std::stop_source stop;
  stop.request_stop();
  int calls = 0;
  ticker.Run(stop.get_token(), [&](std::uint64_t, Clock::TimePoint) { ++calls; });
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace norvane::lighting
