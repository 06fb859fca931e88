#include "hid/handle_link.h"

#include <atomic>

namespace norvane::hid {

namespace {
std::atomic<IdleProbe> g_idle_probe{nullptr};
// How often a wait asks the idle probe: a reply routed meanwhile wakes the wait at once anyway.
constexpr std::chrono::microseconds kIdleProbeSlice{50};
}  // namespace

void SetIdleProbe(IdleProbe probe) {
  g_idle_probe.store(probe);
}

template <typename Ready>
void HandleLink::Wait(std::unique_lock<std::mutex>& lock, const Deadline& deadline, Ready ready) {
  const IdleProbe probe = g_idle_probe.load();
  if (probe == nullptr) {
    if (deadline) {
      changed_.wait_until(lock, *deadline, ready);
    } else {
      changed_.wait(lock, ready);
    }
    return;
  }
  while (!ready() && !probe() && (!deadline || std::chrono::steady_clock::now() < *deadline)) {
    changed_.wait_for(lock, kIdleProbeSlice);
  }
}

HandleLink::Deadline HandleLink::DeadlineAfter(uint32_t timeout_ms) {
  constexpr uint32_t kInfiniteTimeout = 0xFFFFFFFFu;
  if (timeout_ms == kInfiniteTimeout) return std::nullopt;
  return std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
}

void HandleLink::PushReport(std::span<const uint8_t> report) {
  {
    std::lock_guard lock(mutex_);
    if (reports_.size() >= kInputQueueCapacity) reports_.pop_front();
    reports_.emplace_back(report.begin(), report.end());
  }
  changed_.notify_all();
}

void HandleLink::MarkGone() {
  {
    std::lock_guard lock(mutex_);
    gone_ = true;
  }
  changed_.notify_all();
}

bool HandleLink::BeginWrite(WriteJob& job) {
  std::lock_guard lock(mutex_);
  if (job.state != WriteJob::State::kQueued) return false;
  job.state = WriteJob::State::kRunning;
  return true;
}

void HandleLink::FinishWrite(WriteJob& job, bool succeeded) {
  {
    std::lock_guard lock(mutex_);
    job.succeeded = succeeded;
    job.state = WriteJob::State::kDone;
  }
  changed_.notify_all();
}

WaitOutcome HandleLink::PopReport(std::vector<uint8_t>& report, const Deadline& deadline) {
  std::unique_lock lock(mutex_);
  Wait(lock, deadline, [&] { return cancelled_ || !reports_.empty() || gone_; });
  if (cancelled_) return WaitOutcome::kCancelled;
  if (!reports_.empty()) {
    report = std::move(reports_.front());
    reports_.pop_front();
    return WaitOutcome::kDone;
  }
  return gone_ ? WaitOutcome::kGone : WaitOutcome::kTimeout;
}

WaitOutcome HandleLink::AwaitWrite(WriteJob& job, const Deadline& deadline) {
  std::unique_lock lock(mutex_);
  Wait(lock, deadline, [&] { return cancelled_ || gone_ || job.state == WriteJob::State::kDone; });
  if (job.state == WriteJob::State::kDone) return job.succeeded ? WaitOutcome::kDone : WaitOutcome::kFailed;
  // A write that has not started yet is never sent once its caller has given up.
  if (job.state == WriteJob::State::kQueued) job.state = WriteJob::State::kAbandoned;
  if (cancelled_) return WaitOutcome::kCancelled;
  return gone_ ? WaitOutcome::kGone : WaitOutcome::kTimeout;
}

void HandleLink::Cancel() {
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
  }
  changed_.notify_all();
}

}  // namespace norvane::hid
