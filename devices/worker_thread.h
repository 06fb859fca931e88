#pragma once
// A device worker: a std::jthread with a stop signal and a bounded stop. Stopping asks the worker to end,
// runs the caller's release action (closing the interface a read blocks on, for example), waits up to a
// time limit and traces an overrun; the thread is never killed, so the final join follows the worker's own
// prompt exit.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

namespace norvane::devices {

class WorkerThread {
 public:
  WorkerThread() = default;
  ~WorkerThread() { Stop(std::chrono::milliseconds(1000)); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts `body` unless a worker runs already (one whose body has returned counts as ended). `name` is
  // used in traces.
  void Start(std::string name, std::function<void(std::stop_token)> body);
  // Requests stop, runs `release` (may be empty), waits at most `limit` for the body to end, then joins.
  void Stop(std::chrono::milliseconds limit, const std::function<void()>& release = {});
  bool IsRunning() const { return thread_.joinable(); }

 private:
  std::string name_;
  std::mutex mutex_;
  std::condition_variable ended_;
  bool finished_ = false;
  std::jthread thread_;
};

}  // namespace norvane::devices
