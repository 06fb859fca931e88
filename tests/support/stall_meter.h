#pragma once
// How long the UI thread went without running its event loop: a fast timer on that thread notes the
// largest gap between two of its ticks. Work done inside a click (a device command waiting for its answer)
// shows as a gap, since the timer cannot tick meanwhile.

#include <QTimer>
#include <algorithm>
#include <chrono>

namespace norvane::testing {

class StallMeter {
 public:
  using Clock = std::chrono::steady_clock;

  StallMeter() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(2);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
    last_ = Clock::now();
  }

  // Starts a new window of measurement; gaps that began before it do not count.
  void Restart() {
    last_ = Clock::now();
    longest_ = {};
  }
  // The longest gap of the window so far, counting the one still open.
  std::chrono::milliseconds Longest() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::max(longest_, Clock::now() - last_));
  }

 private:
  void Tick() {
    const Clock::time_point now = Clock::now();
    longest_ = std::max(longest_, now - last_);
    last_ = now;
  }

  QTimer timer_;
  Clock::time_point last_;
  Clock::duration longest_{};
};

}  // namespace norvane::testing
