#pragma once
// A UiPoster for tests: device threads queue their calls, and the test plays the UI thread by running them.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "devices/ui_poster.h"

namespace norvane::devices::testing {

class QueuePoster : public UiPoster {
 public:
  void Post(std::function<void()> call) override {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
    posted_.notify_all();
  }

  // Waits up to `limit_ms` for a posted call.
  bool WaitForCall(int limit_ms) {
    std::unique_lock lock(mutex_);
    return posted_.wait_for(lock, std::chrono::milliseconds(limit_ms), [this] { return !calls_.empty(); });
  }

  // Runs every queued call on the calling thread (the "UI thread"); how many ran.
  int RunAll() {
    std::deque<std::function<void()>> calls;
    {
      std::lock_guard lock(mutex_);
      calls.swap(calls_);
    }
    for (auto& call : calls) call();
    return static_cast<int>(calls.size());
  }

  std::size_t Pending() {
    std::lock_guard lock(mutex_);
    return calls_.size();
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> calls_;
};

}  // namespace norvane::devices::testing
