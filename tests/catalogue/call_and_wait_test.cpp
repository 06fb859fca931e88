#include "hid/catalogue/call_and_wait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

namespace norvane::hid::catalogue {
namespace {

using namespace std::chrono_literals;

// A "UI thread" that runs posted calls only when told to.
class ManualQueue {
 public:
  CallPoster Poster() {
    return [this](std::function<void()> call) {
      std::lock_guard lock(mutex_);
      calls_.push_back(std::move(call));
    };
  }
  int RunAll() {
    std::deque<std::function<void()>> calls;
    {
      std::lock_guard lock(mutex_);
      calls.swap(calls_);
    }
    for (auto& call : calls) call();
    return static_cast<int>(calls.size());
  }

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> calls_;
};

TEST(CallAndWait, ReturnsOnceTheOtherThreadRanTheCall) {
  ManualQueue queue;
  std::stop_source stop;
  int ran = 0;
  std::thread ui([&] {
    while (queue.RunAll() == 0) std::this_thread::sleep_for(1ms);
  });
  EXPECT_TRUE(CallAndWait(
      queue.Poster(), [&] { ++ran; }, stop.get_token()));
  ui.join();
  EXPECT_EQ(ran, 1);
}

TEST(CallAndWait, StopAbandonsACallThatHasNotStarted) {
  ManualQueue queue;
  std::stop_source stop;
  int ran = 0;
  std::thread stopper([&] {
    std::this_thread::sleep_for(20ms);
    stop.request_stop();
  });
  const auto before = std::chrono::steady_clock::now();
  EXPECT_FALSE(CallAndWait(
      queue.Poster(), [&] { ++ran; }, stop.get_token()));
  EXPECT_LT(std::chrono::steady_clock::now() - before, 500ms);
  stopper.join();
  EXPECT_EQ(queue.RunAll(), 1);  // the UI thread gets to it later: it must do nothing
  EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace norvane::hid::catalogue
