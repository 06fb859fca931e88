// Input traffic across threads: a reader thread beside writers, Wake, latency, event reports.

#include <atomic>
#include <future>
#include <thread>

#include "emulator_test_support.h"

namespace norvane::emulator::testing {
namespace {

using std::chrono::milliseconds;

class TrafficTest : public EmulatorTest {
 protected:
  void SetUp() override {
    Create("keyboard,keyboard-receiver,headset");
    keyboard = Find(DeviceModel::kKeyboard);
    receiver = Find(DeviceModel::kKeyboardReceiver);
    headset = Find(DeviceModel::kHeadset);
  }

  DeviceId keyboard = 0, receiver = 0, headset = 0;
};

TEST_F(TrafficTest, WakeReleasesABlockedReadAndAPendingOne) {
  auto connection = OpenCommandNode(keyboard);
  auto blocked = std::async(std::launch::async, [&] {
    Bytes report;
    return connection->ReadInput(report, milliseconds(60000));
  });
  std::this_thread::sleep_for(milliseconds(20));
  connection->Wake();
  ASSERT_EQ(blocked.wait_for(milliseconds(2000)), std::future_status::ready);
  EXPECT_EQ(blocked.get(), hid::ReadStatus::kWoken);

  // A wake with nobody waiting is kept for the next read, and used up by it.
  connection->Wake();
  Bytes report;
  EXPECT_EQ(connection->ReadInput(report, milliseconds(1000)), hid::ReadStatus::kWoken);
  EXPECT_EQ(connection->ReadInput(report, milliseconds(10)), hid::ReadStatus::kTimeout);
}

TEST_F(TrafficTest, UnplugReleasesABlockedRead) {
  auto connection = OpenCommandNode(keyboard);
  auto blocked = std::async(std::launch::async, [&] {
    Bytes report;
    return connection->ReadInput(report, milliseconds(60000));
  });
  std::this_thread::sleep_for(milliseconds(20));
  backend->Unplug(keyboard);
  ASSERT_EQ(blocked.wait_for(milliseconds(2000)), std::future_status::ready);
  EXPECT_EQ(blocked.get(), hid::ReadStatus::kGone);
}

TEST_F(TrafficTest, ReaderThreadSeesEveryReplyOfAWriterThread) {
  auto connection = OpenCommandNode(keyboard);
  backend->SetLatency(milliseconds(1));
  constexpr int kFrames = 40;
  auto reader = std::async(std::launch::async, [&] {
    std::vector<uint16_t> offsets;
    Bytes report;
    while (offsets.size() < kFrames &&
           connection->ReadInput(report, milliseconds(2000)) == hid::ReadStatus::kReport) {
      offsets.push_back(static_cast<uint16_t>(report[5] | (report[6] << 8)));
    }
    return offsets;
  });
  for (int i = 0; i < kFrames; ++i) {
    ASSERT_TRUE(connection->WriteOutput(MakeFrame(0x05, 1, static_cast<uint16_t>(i))));
  }
  const std::vector<uint16_t> offsets = reader.get();
  ASSERT_EQ(offsets.size(), static_cast<size_t>(kFrames));
  for (int i = 0; i < kFrames; ++i) EXPECT_EQ(offsets[i], i);
}

TEST_F(TrafficTest, LatencyDelaysTheReply) {
  backend->SetLatency(receiver, milliseconds(250));
  auto slow = OpenCommandNode(receiver);
  auto fast = OpenCommandNode(keyboard);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(slow->WriteOutput(MakeFrame(0x01, 0, 0)));
  Bytes reply;
  EXPECT_EQ(slow->ReadInput(reply, milliseconds(30)), hid::ReadStatus::kTimeout);
  ASSERT_EQ(slow->ReadInput(reply, milliseconds(1000)), hid::ReadStatus::kReport);
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(250));
  // The other device keeps its own (zero) latency.
  EXPECT_TRUE(Exchange(*fast, MakeFrame(0x01, 0, 0), milliseconds(30)).has_value());
}

TEST_F(TrafficTest, EventReportsGoToEveryOpenConnectionOfTheNode) {
  auto first = OpenCommandNode(keyboard);
  auto second = OpenCommandNode(keyboard);
  ASSERT_TRUE(backend->InjectEvent(keyboard, 0x1123));
  Bytes report;
  for (auto* connection : {first.get(), second.get()}) {
    ASSERT_EQ(connection->ReadInput(report, milliseconds(100)), hid::ReadStatus::kReport);
    EXPECT_EQ(report, (Bytes{0x03, 0x23, 0x11}));  // consumer collection, code little-endian
  }
  // Events are not command frames.
  EXPECT_TRUE(backend->FrameLog().empty());

  auto headset_connection = OpenCommandNode(headset);
  ASSERT_TRUE(backend->InjectEvent(headset, 0x0401));
  ASSERT_EQ(headset_connection->ReadInput(report, milliseconds(100)), hid::ReadStatus::kReport);
  EXPECT_EQ(report, (Bytes{0x01, 0x01, 0x04}));
}

TEST_F(TrafficTest, AnyInputReportCanBeSentOnAnyInterface) {
  hid::OpenError error = hid::OpenError::kNone;
  auto boot = backend->Open(*backend->NodeId(keyboard, 0), nullptr, error);
  auto commands = OpenCommandNode(keyboard);
  const Bytes key_down{0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00};
  ASSERT_TRUE(backend->InjectInputReport(keyboard, 0, key_down));
  Bytes report;
  ASSERT_EQ(boot->ReadInput(report, milliseconds(100)), hid::ReadStatus::kReport);
  EXPECT_EQ(report, key_down);
  EXPECT_EQ(commands->ReadInput(report, milliseconds(10)), hid::ReadStatus::kTimeout);
  EXPECT_FALSE(backend->InjectInputReport(keyboard, 2, key_down));
  EXPECT_FALSE(backend->InjectInputReport(keyboard, 0, {}));
}

TEST_F(TrafficTest, ReceiverSendsNoEventsWhileTheLinkIsDown) {
  auto connection = OpenCommandNode(receiver);
  backend->SetLinkUp(receiver, false);
  EXPECT_FALSE(backend->InjectEvent(receiver, 0x0401));
  backend->SetLinkUp(receiver, true);
  EXPECT_TRUE(backend->InjectEvent(receiver, 0x0401));
  Bytes report;
  EXPECT_EQ(connection->ReadInput(report, milliseconds(100)), hid::ReadStatus::kReport);
}

TEST_F(TrafficTest, QueueOfAConnectionThatNobodyReadsStaysBounded) {
  auto connection = OpenCommandNode(keyboard);
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(backend->InjectEvent(keyboard, static_cast<uint16_t>(0x500 + i)));
  Bytes report;
  int received = 0;
  uint16_t last = 0;
  while (connection->ReadInput(report, milliseconds(5)) == hid::ReadStatus::kReport) {
    ++received;
    last = static_cast<uint16_t>(report[1] | (report[2] << 8));
  }
  EXPECT_EQ(received, 64);
  EXPECT_EQ(last, 0x500 + 63);  // the newest are dropped, as the kernel does
}

TEST_F(TrafficTest, ConcurrentControlAndTrafficStayConsistent) {
  auto connection = OpenCommandNode(receiver);
  std::atomic<bool> stop{false};
  auto toggler = std::async(std::launch::async, [&] {
    while (!stop) {
      backend->SetLinkUp(receiver, false);
      backend->SetLinkUp(receiver, true);
      backend->InjectEvent(keyboard, 0x0401);
      (void)backend->FrameLog();
    }
  });
  int answered = 0;
  for (int i = 0; i < 200; ++i) {
    const auto reply = Exchange(*connection, MakeFrame(0x05, 1, 0), milliseconds(500));
    ASSERT_TRUE(reply.has_value());
    EXPECT_TRUE((*reply)[3] == 0x05 || (*reply)[3] == 0xAA);
    ++answered;
  }
  stop = true;
  toggler.get();
  EXPECT_EQ(answered, 200);
}

}  // namespace
}  // namespace norvane::emulator::testing
