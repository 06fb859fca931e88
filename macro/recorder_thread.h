#pragma once
// The worker thread of a recording backend that reads its input from file descriptors (the X server's
// connection, the kernel's devices): the sinks it delivers to, a wake-up the thread polls beside its own
// descriptors, and the stop that wakes it and waits for it. Nothing reaches the sinks once Stop returns.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "macro/input_capture.h"

namespace norvane::macro {

class RecorderThread {
 public:
  RecorderThread() = default;
  ~RecorderThread();
  RecorderThread(const RecorderThread&) = delete;
  RecorderThread& operator=(const RecorderThread&) = delete;

  // Runs `run` on a new thread that delivers to the sinks. False (with why) when no wake-up can be made.
  [[nodiscard]] bool Start(InputRecorder::Sink sink, InputRecorder::LostSink lost, std::function<void()> run,
                           std::string& why);
  // Asks the thread to stop, wakes it and waits for it; then drops the sinks. Safe when not started.
  void Stop();
  bool IsRunning() const { return thread_.joinable(); }

  // The thread's side.
  bool Stopping() const { return stopping_; }
  // Polled beside the thread's descriptors; readable once a stop is asked for.
  int WakeDescriptor() const { return wake_; }
  void TakeWakeUp();
  void Emit(const CapturedInput& input);
  // The input ended by itself; told once, and not when a stop was asked for.
  void ReportLost(const std::string& reason);

 private:
  std::thread thread_;
  int wake_ = -1;
  std::atomic<bool> stopping_{false};
  std::mutex sinkMutex_;
  InputRecorder::Sink sink_;
  InputRecorder::LostSink lost_;
};

}  // namespace norvane::macro
