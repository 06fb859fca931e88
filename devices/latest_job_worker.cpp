#include "devices/latest_job_worker.h"

namespace norvane::devices {

LatestJobWorker::~LatestJobWorker() {
  if (!thread_.joinable()) return;
  WaitIdle();
  thread_.request_stop();
  changed_.notify_all();
  thread_.join();
}

void LatestJobWorker::Submit(Job job) {
  {
    std::lock_guard lock(mutex_);
    waiting_ = std::move(job);
    if (!thread_.joinable()) thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
  }
  changed_.notify_all();
}

void LatestJobWorker::WaitIdle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !waiting_ && !running_; });
}

bool LatestJobWorker::IsIdle() const {
  std::lock_guard lock(mutex_);
  return !waiting_ && !running_;
}

void LatestJobWorker::Run(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, stop, [this] { return static_cast<bool>(waiting_); });
    if (!waiting_) return;  // stopped with nothing left to do
    Job job = std::move(waiting_);
    waiting_ = nullptr;
    running_ = true;
    lock.unlock();
    job();
    lock.lock();
    running_ = false;
    changed_.notify_all();
  }
}

}  // namespace norvane::devices
