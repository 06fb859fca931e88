// The hidraw connection's I/O over a packet socket pair, which keeps report boundaries as a hidraw node
// does: reads, wake-ups, writes, the node going away, and ioctls the file refuses.
#include "hid/hidraw_connection.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <future>

namespace norvane::hid {
namespace {

using namespace std::chrono_literals;

class HidrawConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0);
    device_ = UniqueFd(fds[1]);
    connection_ = HidrawConnection::Create(UniqueFd(fds[0]));
    ASSERT_NE(connection_, nullptr);
  }

  void DeviceSends(std::vector<uint8_t> report) {
    ASSERT_EQ(::write(device_.get(), report.data(), report.size()), static_cast<ssize_t>(report.size()));
  }

  UniqueFd device_;
  std::unique_ptr<HidrawConnection> connection_;
};

TEST_F(HidrawConnectionTest, ReadsOneReportAtATimeAndTimesOut) {
  DeviceSends({0x04, 0x01, 0x02});
  DeviceSends({0x03, 0xE9});
  std::vector<uint8_t> report;
  ASSERT_EQ(connection_->ReadInput(report, 100ms), ReadStatus::kReport);
  EXPECT_EQ(report, (std::vector<uint8_t>{0x04, 0x01, 0x02}));
  ASSERT_EQ(connection_->ReadInput(report, 100ms), ReadStatus::kReport);
  EXPECT_EQ(report, (std::vector<uint8_t>{0x03, 0xE9}));
  EXPECT_EQ(connection_->ReadInput(report, 20ms), ReadStatus::kTimeout);
}

TEST_F(HidrawConnectionTest, WakeEndsAWaitAndIsRememberedUntilThen) {
  connection_->Wake();  // before the wait: the next wait returns at once
  std::vector<uint8_t> report;
  EXPECT_EQ(connection_->ReadInput(report, 5s), ReadStatus::kWoken);
  auto waiter = std::async(std::launch::async, [&] { return connection_->ReadInput(report, 10s); });
  std::this_thread::sleep_for(20ms);
  connection_->Wake();
  ASSERT_EQ(waiter.wait_for(2s), std::future_status::ready);
  EXPECT_EQ(waiter.get(), ReadStatus::kWoken);
}

TEST_F(HidrawConnectionTest, WritesWholeReports) {
  const std::vector<uint8_t> frame = {0x04, 0x10, 0x20};
  ASSERT_TRUE(connection_->WriteOutput(frame));
  std::vector<uint8_t> received(64);
  ASSERT_EQ(::read(device_.get(), received.data(), received.size()), 3);
  EXPECT_FALSE(connection_->WriteOutput({}));
}

TEST_F(HidrawConnectionTest, NodeGoingAwayEndsReading) {
  device_.Reset();
  std::vector<uint8_t> report;
  EXPECT_EQ(connection_->ReadInput(report, 1s), ReadStatus::kGone);
}

TEST_F(HidrawConnectionTest, RefusedIoctlsFailCleanly) {
  std::vector<uint8_t> feature = {0x05, 0, 0, 0};
  EXPECT_FALSE(connection_->SetFeature(feature));
  EXPECT_FALSE(connection_->GetFeature(feature).has_value());
  EXPECT_FALSE(connection_->WriteOutputControl(feature));
  EXPECT_FALSE(connection_->GetFeature({}).has_value());
}

}  // namespace
}  // namespace norvane::hid
