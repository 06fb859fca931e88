#include "devices/worker_thread.h"

#include "platform/trace.h"

namespace norvane::devices {

void WorkerThread::Start(std::string name, std::function<void(std::stop_token)> body) {
  if (thread_.joinable()) {
    {
      std::lock_guard lock(mutex_);
      if (!finished_) return;
    }
    thread_.join();  // a body that ended on its own: start afresh
  }
  name_ = std::move(name);
  {
    std::lock_guard lock(mutex_);
    finished_ = false;
  }
  thread_ = std::jthread([this, body = std::move(body)](std::stop_token stop) {
    body(stop);
    std::lock_guard lock(mutex_);
    finished_ = true;
    ended_.notify_all();
  });
}

void WorkerThread::Stop(std::chrono::milliseconds limit, const std::function<void()>& release) {
  if (!thread_.joinable()) {
    if (release) release();
    return;
  }
  thread_.request_stop();
  if (release) release();
  bool ended = false;
  {
    std::unique_lock lock(mutex_);
    ended = ended_.wait_for(lock, limit, [this] { return finished_; });
  }
  Trace(name_ + (ended ? ": thread ended" : ": thread overran its stop time; waiting for it to end"));
  thread_.join();
}

}  // namespace norvane::devices
