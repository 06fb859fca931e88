// The idle probe: a harness that knows nothing more can arrive ends waits at once; what did arrive, and the
// deadline, still count as without it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <vector>

#include "hid/handle_link.h"

namespace norvane::hid {
namespace {

std::atomic<bool> g_idle{false};

class IdleProbeTest : public ::testing::Test {
 protected:
  void SetUp() override { SetIdleProbe([] { return g_idle.load(); }); }
  void TearDown() override { SetIdleProbe(nullptr); }
};

TEST_F(IdleProbeTest, AnIdleDeviceEndsReportAndWriteWaitsAsTimedOutLongBeforeTheirDeadline) {
  g_idle = true;
  HandleLink link;
  std::vector<uint8_t> report;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link.PopReport(report, HandleLink::DeadlineAfter(60000)), WaitOutcome::kTimeout);
  WriteJob job;
  job.report = {0x04, 0x01};
  EXPECT_EQ(link.AwaitWrite(job, HandleLink::DeadlineAfter(60000)), WaitOutcome::kTimeout);
  EXPECT_EQ(job.state, WriteJob::State::kAbandoned) << "a write given up on is never sent";
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST_F(IdleProbeTest, WhatArrivedIsTakenAndABusyDeviceStillHasItsDeadline) {
  g_idle = true;
  HandleLink link;
  const std::vector<uint8_t> sent = {0x04, 0x55};
  link.PushReport(sent);
  std::vector<uint8_t> report;
  EXPECT_EQ(link.PopReport(report, HandleLink::DeadlineAfter(60000)), WaitOutcome::kDone);
  EXPECT_EQ(report, sent);

  g_idle = false;
  EXPECT_EQ(link.PopReport(report, HandleLink::DeadlineAfter(20)), WaitOutcome::kTimeout);
  link.Cancel();
  EXPECT_EQ(link.PopReport(report, std::nullopt), WaitOutcome::kCancelled);
}

}  // namespace
}  // namespace norvane::hid
