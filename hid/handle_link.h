#pragma once
// What one opening of a collection shares with the node's I/O thread: the bounded queue of its input
// reports, the state of its writes, and the cancel that Close raises. One lock guards all of it, so a waiter
// sees a report, a finished write, a cancel and the node's end through one condition.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace norvane::hid {

inline constexpr size_t kInputQueueCapacity = 32;

enum class WaitOutcome { kDone, kTimeout, kCancelled, kGone, kFailed };

// A write handed to the node's I/O thread. Owns its bytes: the caller may give up waiting and return
// while the write is still queued or running.
struct WriteJob {
  enum class State { kQueued, kRunning, kDone, kAbandoned };
  std::vector<uint8_t> report;
  bool control_pipe = false;
  State state = State::kQueued;  // guarded by the link's lock
  bool succeeded = false;
};

// A harness that plays a device (a fuzz target) knows when nothing more can arrive: its node's thread waits
// for input with no reply left to hand over and no write queued. With a probe installed, a wait for a
// report or a write ends as timed out as soon as the probe says so, rather than at its deadline, so that a
// silent device costs no time. The probe runs with the link's lock held and must not take it. Install it
// before the first link waits; nullptr restores plain deadlines.
using IdleProbe = bool (*)();
void SetIdleProbe(IdleProbe probe);

class HandleLink {
 public:
  // `deadline` nullopt waits without limit.
  using Deadline = std::optional<std::chrono::steady_clock::time_point>;
  static Deadline DeadlineAfter(uint32_t timeout_ms);

  // Node side.
  void PushReport(std::span<const uint8_t> report);  // drops the oldest report when full
  void MarkGone();
  // Returns false when the waiter gave up before the write started: skip it.
  bool BeginWrite(WriteJob& job);
  void FinishWrite(WriteJob& job, bool succeeded);

  // Handle side.
  WaitOutcome PopReport(std::vector<uint8_t>& report, const Deadline& deadline);
  WaitOutcome AwaitWrite(WriteJob& job, const Deadline& deadline);
  void Cancel();  // wakes every waiter; the link stays cancelled for the rest of its life

 private:
  // Waits until ready() or the deadline (or the idle probe) says the wait is over.
  template <typename Ready>
  void Wait(std::unique_lock<std::mutex>& lock, const Deadline& deadline, Ready ready);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<uint8_t>> reports_;
  bool cancelled_ = false;
  bool gone_ = false;
};

}  // namespace norvane::hid
