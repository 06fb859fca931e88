#include "devices/coalescing_timer.h"

#include <utility>

namespace norvane::devices {

CoalescingTimer::CoalescingTimer(std::chrono::milliseconds delay, std::function<void()> call)
    : delay_(delay), call_(std::move(call)) {}

CoalescingTimer::~CoalescingTimer() {
  std::jthread thread;
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    thread = std::move(thread_);
  }
  // Leaving this scope requests the stop, which wakes the waiting thread, and joins it.
}

void CoalescingTimer::Arm() {
  std::lock_guard lock(mutex_);
  if (stopped_) return;
  due_ = std::chrono::steady_clock::now() + delay_;
  if (!thread_.joinable()) {
    thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
  }
  changed_.notify_all();
}

bool CoalescingTimer::IsArmed() const {
  std::lock_guard lock(mutex_);
  return due_.has_value();
}

void CoalescingTimer::Run(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  while (!stop.stop_requested()) {
    if (!due_) {
      changed_.wait(lock, stop, [this] { return due_.has_value(); });
      continue;
    }
    const SteadyTime due = *due_;
    // Woken early by a new Arm (which moved the time) or by the stop: look again.
    if (changed_.wait_until(lock, stop, due, [&] { return !due_ || *due_ != due; })) continue;
    if (stop.stop_requested()) break;
    due_.reset();
    lock.unlock();
    call_();
    lock.lock();
  }
}

}  // namespace norvane::devices
