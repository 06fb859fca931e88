#pragma once
// How device threads reach the UI thread: they never touch the UI themselves, they post a call that the UI
// thread runs later, in posting order. The UI layer implements it on its event loop; tests with a queue.

#include <functional>

namespace norvane::devices {

class UiPoster {
 public:
  virtual ~UiPoster() = default;
  // Queues `call` for the UI thread. Callable from any thread; must not block.
  virtual void Post(std::function<void()> call) = 0;
};

}  // namespace norvane::devices
