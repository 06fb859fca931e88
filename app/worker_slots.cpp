#include "app/worker_slots.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/trace.h"

namespace norvane::app {
namespace {

std::atomic<bool> g_workerLeftRunning{false};

// Shared by the thread and its owner, so that a thread left running detached keeps what it uses alive.
struct ThreadState {
  std::mutex mutex;
  std::condition_variable ended;
  bool finished = false;
  std::stop_source stop;
};

class ThreadWorker final : public IWorker {
 public:
  ThreadWorker(std::string name, std::function<void(std::stop_token)> body)
      : name_(std::move(name)), state_(std::make_shared<ThreadState>()) {
    thread_ = std::thread([state = state_, body = std::move(body)] {
      body(state->stop.get_token());
      std::lock_guard lock(state->mutex);
      state->finished = true;
      state->ended.notify_all();
    });
  }
  ~ThreadWorker() override {
    if (!thread_.joinable()) return;
    RequestStop();
    WaitForEnd(kWorkerStopBound);
  }

  void RequestStop() override { state_->stop.request_stop(); }

  bool WaitForEnd(std::chrono::milliseconds bound) override {
    if (!thread_.joinable()) return true;
    bool ended = false;
    {
      std::unique_lock lock(state_->mutex);
      ended = state_->ended.wait_for(lock, bound, [this] { return state_->finished; });
    }
    if (ended) {
      thread_.join();
      Trace(name_ + ": thread ended");
      return true;
    }
    Trace(name_ + ": thread overran its stop time of " + std::to_string(bound.count()) +
          " ms; left to end on its own");
    g_workerLeftRunning = true;
    thread_.detach();
    return false;
  }

 private:
  std::string name_;
  std::shared_ptr<ThreadState> state_;
  std::thread thread_;
};

class OwnedElsewhereWorker final : public IWorker {
 public:
  explicit OwnedElsewhereWorker(std::function<void()> stop) : stop_(std::move(stop)) {}
  void RequestStop() override {}
  bool WaitForEnd(std::chrono::milliseconds) override {
    if (stop_) std::exchange(stop_, {})();
    return true;
  }

 private:
  std::function<void()> stop_;
};

}  // namespace

std::unique_ptr<IWorker> StartThreadWorker(std::string name, std::function<void(std::stop_token)> body) {
  return std::make_unique<ThreadWorker>(std::move(name), std::move(body));
}

std::unique_ptr<IWorker> MakeOwnedElsewhereWorker(std::function<void()> stop) {
  return std::make_unique<OwnedElsewhereWorker>(std::move(stop));
}

bool WorkerSlots::Put(int slot, std::unique_ptr<IWorker> worker) {
  if (!worker) return false;
  if (slot < 0 || slot >= kWorkerSlotCount || slots_[slot]) {
    worker->RequestStop();
    worker->WaitForEnd(kWorkerStopBound);
    return false;
  }
  slots_[slot] = std::move(worker);
  return true;
}

bool WorkerSlots::IsTaken(int slot) const {
  return slot >= 0 && slot < kWorkerSlotCount && slots_[slot] != nullptr;
}

WorkerSlots::StopReport WorkerSlots::StopAll(std::chrono::milliseconds bound) {
  StopReport report;
  // Every worker hears the stop before any is waited for, so that their exits overlap.
  for (auto& worker : slots_) {
    if (worker) worker->RequestStop();
  }
  for (auto& worker : slots_) {
    if (!worker) continue;
    if (worker->WaitForEnd(bound))
      ++report.stopped;
    else
      ++report.overran;
    worker.reset();
  }
  return report;
}

void NoteWorkerLeftRunning() {
  g_workerLeftRunning = true;
}

bool AnyWorkerLeftRunning() {
  return g_workerLeftRunning;
}

}  // namespace norvane::app
