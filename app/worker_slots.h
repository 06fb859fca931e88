#pragma once
// The main window's worker slots: twenty places for background threads, of which the program uses two (the
// device scan in slot 0, the lighting synchronisation in slot 8). Stopping asks every worker to stop first,
// then waits for each in turn within a bound. A worker is never killed: its stop request also cancels the
// waits it blocks in, and one that still overruns its bound is left to end on its own (traced), so that
// closing the program never hangs on it.

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>

namespace norvane::app {

inline constexpr int kWorkerSlotCount = 20;
inline constexpr int kScanSlot = 0;
inline constexpr int kLightSyncSlot = 8;
inline constexpr std::chrono::milliseconds kWorkerStopBound{1000};

// One worker as the slots see it.
class IWorker {
 public:
  virtual ~IWorker() = default;
  // Signals the worker to stop and cancels the waits it may block in. Must not block.
  virtual void RequestStop() = 0;
  // Waits at most `bound` for the worker to end. False when it overran; it is then left running detached
  // and must not touch anything that goes away with its owner.
  virtual bool WaitForEnd(std::chrono::milliseconds bound) = 0;
};

// A thread running body(stop). The stop token's callbacks are the way to cancel a blocking wait.
std::unique_ptr<IWorker> StartThreadWorker(std::string name, std::function<void(std::stop_token)> body);

// A worker whose thread somebody else owns: `stop` ends it within its own bound.
std::unique_ptr<IWorker> MakeOwnedElsewhereWorker(std::function<void()> stop);

class WorkerSlots {
 public:
  WorkerSlots() = default;
  ~WorkerSlots() { StopAll(); }
  WorkerSlots(const WorkerSlots&) = delete;
  WorkerSlots& operator=(const WorkerSlots&) = delete;

  // Puts a worker into a free slot; false (and the worker stopped) for a bad index or a taken slot.
  bool Put(int slot, std::unique_ptr<IWorker> worker);
  bool IsTaken(int slot) const;

  struct StopReport {
    int stopped = 0;
    int overran = 0;
  };
  // Signals every worker, then waits for each up to `bound`. Empties the slots; safe to call again.
  StopReport StopAll(std::chrono::milliseconds bound = kWorkerStopBound);

 private:
  std::array<std::unique_ptr<IWorker>, kWorkerSlotCount> slots_;
};

// True once any worker of the process overran its stop bound and was left running. The process then ends
// without running static destructors under that thread.
bool AnyWorkerLeftRunning();
// Says that a worker started elsewhere (the settings window's update work) overran its bound and was left
// running.
void NoteWorkerLeftRunning();

}  // namespace norvane::app
