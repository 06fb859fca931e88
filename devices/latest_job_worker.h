#pragma once
// LatestJobWorker: runs jobs one at a time on a thread of its own, and keeps at most one job waiting: a job
// submitted while another waits replaces it. For writes where only the newest value matters (a slider that
// moves faster than the device takes its settings): at most one write is in flight, the latest one always
// follows, and the thread that submits never waits on the device.
//
// Submit is callable from any thread. The thread starts on the first Submit; the destructor runs the job
// in flight and the one waiting (the last value must still reach the device), then stops the thread. A job
// must not destroy its worker.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

namespace norvane::devices {

class LatestJobWorker {
 public:
  using Job = std::function<void()>;

  LatestJobWorker() = default;
  ~LatestJobWorker();
  LatestJobWorker(const LatestJobWorker&) = delete;
  LatestJobWorker& operator=(const LatestJobWorker&) = delete;

  void Submit(Job job);
  // Blocks until no job waits or runs (tests, shutting down).
  void WaitIdle();
  bool IsIdle() const;

 private:
  void Run(std::stop_token stop);

  mutable std::mutex mutex_;
  std::condition_variable_any changed_;
  Job waiting_;       // guarded by mutex_
  bool running_ = false;  // guarded by mutex_
  std::jthread thread_;
};

}  // namespace norvane::devices
