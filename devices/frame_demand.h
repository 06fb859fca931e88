#pragma once
// Where a lighting thread waits while nobody needs its frames: the page's preview cannot be seen (window
// hidden, minimised or in the tray, page not the current one) and the device does not take the frames
// (only streamed effects do). The thread then sleeps here instead of ticking 64 times a second, and starts
// again as soon as anything that decides the demand says so (Notify), or at the latest kRecheck later for a
// change nobody announced.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stop_token>

namespace norvane::devices {

class FrameDemand {
 public:
  static constexpr std::chrono::milliseconds kRecheck{250};

  // The demand may have changed: a waiting thread looks again. Any thread.
  void Notify();
  // Returns at once while `wanted` holds; otherwise waits until it does (true) or until stop is requested
  // (false). `wanted` must be cheap and take no lock that a Notify caller holds.
  [[nodiscard]] bool WaitUntilWanted(std::stop_token stop, const std::function<bool()>& wanted);

 private:
  std::mutex mutex_;
  std::condition_variable_any changed_;
  std::uint64_t notifications_ = 0;
};

}  // namespace norvane::devices
