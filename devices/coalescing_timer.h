#pragma once
// CoalescingTimer: makes one call `delay` after the last Arm, on a thread of its own. Arming again before
// the call was made moves it back, as restarting a running UI timer does, so a burst of requests leads to a
// single call. It is the device threads' stand-in for the tab's resync timer: they must not touch the UI
// thread's timers themselves.
//
// Arm is callable from any thread. The thread starts on the first Arm; the destructor stops it and waits
// for a call in progress. The call must not destroy the timer.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

namespace norvane::devices {

class CoalescingTimer {
 public:
  CoalescingTimer(std::chrono::milliseconds delay, std::function<void()> call);
  ~CoalescingTimer();
  CoalescingTimer(const CoalescingTimer&) = delete;
  CoalescingTimer& operator=(const CoalescingTimer&) = delete;

  // The call follows `delay` from now, unless another Arm comes first.
  void Arm();
  // True between an Arm and its call.
  bool IsArmed() const;

 private:
  using SteadyTime = std::chrono::steady_clock::time_point;
  void Run(std::stop_token stop);

  const std::chrono::milliseconds delay_;
  const std::function<void()> call_;
  mutable std::mutex mutex_;
  std::condition_variable_any changed_;
  std::optional<SteadyTime> due_;  // guarded by mutex_
  bool stopped_ = false;           // guarded by mutex_
  std::jthread thread_;            // started under mutex_
};

}  // namespace norvane::devices
