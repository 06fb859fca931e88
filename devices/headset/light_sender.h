#pragma once
// LightReportSender: takes the headset's lighting reports of each presented frame and sends, on a thread
// of its own, only those whose bytes changed since they were last sent, so a static effect costs nothing
// after its first frame and the window never waits on the headset. Once a second every report goes out
// again, so a headset that lost its state (a reset, a sleep) gets it back; after a failed send, and when
// Forget is called (the headset was opened again, the lighting came back to this program), the next frame
// goes out whole.
//
// Present and Forget are for the UI thread; the send function runs on the sender's thread.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "devices/headset/light_reports.h"
#include "devices/latest_job_worker.h"
#include "platform/clock.h"

namespace norvane::devices::headset {

class LightReportSender {
 public:
  // Sends one report; false when it did not go out.
  using SendReport = std::function<bool(std::span<const std::uint8_t>)>;
  static constexpr std::chrono::seconds kRefresh{1};

  explicit LightReportSender(SendReport send) : send_(std::move(send)) {}

  // Hands the frame's reports on; false when nothing needs to go out (the same frame within a second).
  bool Present(const LightReports& reports, Clock::TimePoint now);
  void Forget();
  // Until the reports handed on so far have gone out (tests, benchmarks).
  void WaitIdle() { worker_.WaitIdle(); }
  std::uint64_t ReportsSent() const { return sent_.load(); }

 private:
  void Send(const LightReports& reports, Clock::TimePoint now);

  SendReport send_;
  // UI thread.
  std::optional<LightReports> handedOn_;
  Clock::TimePoint handedOnAt_{};
  // Set by Forget and by a failed send; the sender's thread clears its cache when it takes it.
  std::atomic<bool> forget_{true};
  // The sender's thread.
  LightReportCache cache_;
  std::optional<Clock::TimePoint> wholeAt_;
  std::atomic<std::uint64_t> sent_{0};
  // Last: its thread finishes the frames handed on before anything they use goes.
  LatestJobWorker worker_;
};

}  // namespace norvane::devices::headset
