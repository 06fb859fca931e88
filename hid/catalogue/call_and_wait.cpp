#include "hid/catalogue/call_and_wait.h"

#include <condition_variable>
#include <memory>
#include <mutex>

namespace norvane::hid::catalogue {

namespace {

// Shared by the waiter and the posted call, which may outlive the wait.
struct CallState {
  std::mutex mutex;
  std::condition_variable_any finished;
  bool started = false;
  bool done = false;
  bool abandoned = false;
};

}  // namespace

bool CallAndWait(const CallPoster& post, std::function<void()> call, std::stop_token stop) {
  if (stop.stop_requested()) return false;
  auto state = std::make_shared<CallState>();
  post([state, call = std::move(call)] {
    {
      std::lock_guard lock(state->mutex);
      if (state->abandoned) return;
      state->started = true;
    }
    call();
    std::lock_guard lock(state->mutex);
    state->done = true;
    state->finished.notify_all();
  });
  std::unique_lock lock(state->mutex);
  if (state->finished.wait(lock, stop, [&] { return state->done; })) return true;
  // Stopped. A call that already started is let finish (it may hold the other thread's state); one that
  // has not is skipped.
  if (!state->started) {
    state->abandoned = true;
    return false;
  }
  state->finished.wait(lock, [&] { return state->done; });
  return true;
}

}  // namespace norvane::hid::catalogue
