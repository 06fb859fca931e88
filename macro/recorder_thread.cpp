#include "macro/recorder_thread.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace norvane::macro {

RecorderThread::~RecorderThread() {
  Stop();
}

bool RecorderThread::Start(InputRecorder::Sink sink, InputRecorder::LostSink lost, std::function<void()> run,
                           std::string& why) {
  Stop();
  wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wake_ < 0) {
    why = "no wake-up for the recording thread";
    return false;
  }
  {
    std::lock_guard lock(sinkMutex_);
    sink_ = std::move(sink);
    lost_ = std::move(lost);
  }
  stopping_ = false;
  thread_ = std::thread(std::move(run));
  return true;
}

void RecorderThread::Stop() {
  if (thread_.joinable()) {
    stopping_ = true;
    const std::uint64_t one = 1;
    (void)!write(wake_, &one, sizeof one);
    thread_.join();
  }
  {
    std::lock_guard lock(sinkMutex_);
    sink_ = nullptr;
    lost_ = nullptr;
  }
  if (wake_ >= 0) {
    close(wake_);
    wake_ = -1;
  }
}

void RecorderThread::TakeWakeUp() {
  std::uint64_t count = 0;
  (void)!read(wake_, &count, sizeof count);
}

void RecorderThread::Emit(const CapturedInput& input) {
  std::lock_guard lock(sinkMutex_);
  if (sink_) sink_(input);
}

void RecorderThread::ReportLost(const std::string& reason) {
  if (stopping_) return;
  InputRecorder::LostSink lost;
  {
    std::lock_guard lock(sinkMutex_);
    lost = lost_;
  }
  if (lost) lost(reason);
}

}  // namespace norvane::macro
