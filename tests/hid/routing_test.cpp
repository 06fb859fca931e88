// Input routing, queues, time limits, cancel and close across threads, over the in-test fake backend.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "hid/hid_device.h"
#include "tests/hid/fake_hid_backend.h"
#include "tests/hid/test_descriptors.h"

namespace norvane::hid {
namespace {

using namespace std::chrono_literals;
using testing::MakeNodeInfo;
using testing::ScopedFakeBackend;

constexpr char kCommandPath[] = "/dev/hidraw1#vid_320f&pid_5055&mi_01&col04#1-2.3:1.1";
constexpr char kEventPath[] = "/dev/hidraw1#vid_320f&pid_5055&mi_01&col03#1-2.3:1.1";

std::vector<uint8_t> CommandReport(uint8_t marker) {
  std::vector<uint8_t> report(64, 0);
  report[0] = 0x04;
  report[1] = marker;
  return report;
}

// Reads one report; the marker byte, or -1 when nothing came.
int ReadMarker(HidDevice& device, uint32_t timeout_ms) {
  std::vector<uint8_t> buffer(64, 0);
  uint32_t read = 0;
  if (device.ReadReport(buffer, &read, timeout_ms) != 1) return -1;
  return buffer[1];
}

template <typename Predicate>
bool Eventually(Predicate done) {
  for (int i = 0; i < 400; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(5ms);
  }
  return done();
}

class RoutingTest : public ::testing::Test {
 protected:
  void SetUp() override { node_ = backend_->Plug(MakeNodeInfo("/dev/hidraw1", testing::kOurInterfaceOne)); }

  ScopedFakeBackend backend_;
  std::shared_ptr<testing::FakeNode> node_;
};

TEST_F(RoutingTest, CollectionsOfOneNodeShareOneConnectionUntilTheLastCloses) {
  HidDevice command, events, second_command;
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  ASSERT_EQ(events.Open(kEventPath, true, true, true, false), 1);
  ASSERT_EQ(second_command.Open(kCommandPath, true, true, true, false), 1);
  EXPECT_EQ(node_->OpensSoFar(), 1);
  command.Close();
  events.Close();
  EXPECT_EQ(node_->LiveConnections(), 1);
  second_command.Close();
  EXPECT_EQ(node_->LiveConnections(), 0);
}

TEST_F(RoutingTest, ReportsGoOnlyToTheCollectionOwningTheirId) {
  HidDevice command, events, other_command;
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  ASSERT_EQ(other_command.Open(kCommandPath, true, true, true, false), 1);
  ASSERT_EQ(events.Open(kEventPath, true, true, true, false), 1);

  node_->Inject({0x03, 0xE9, 0x00});  // consumer event
  node_->Inject({0x07, 0x01});        // no collection declares id 7: dropped
  node_->Inject(CommandReport(0x11));

  EXPECT_EQ(ReadMarker(command, 1000), 0x11);
  EXPECT_EQ(ReadMarker(other_command, 1000), 0x11);  // every handle of the collection gets its copy
  std::vector<uint8_t> event(3, 0);
  uint32_t read = 0;
  ASSERT_EQ(events.ReadReport(event, &read, 1000), 1);
  EXPECT_EQ(read, 3u);
  EXPECT_EQ(event, (std::vector<uint8_t>{0x03, 0xE9, 0x00}));
  // Neither the event nor the unknown report reached the command queue.
  EXPECT_EQ(ReadMarker(command, 50), -1);
  EXPECT_EQ(events.ReadReport(event, &read, 50), 0);
  EXPECT_EQ(read, 0u);
}

TEST_F(RoutingTest, ManyEventsNeverCrowdOutTheCommandReply) {
  HidDevice command, events;
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  ASSERT_EQ(events.Open(kEventPath, true, true, true, false), 1);
  for (int i = 0; i < 100; ++i) node_->Inject({0x03, static_cast<uint8_t>(i), 0x00});
  node_->Inject(CommandReport(0x55));
  EXPECT_EQ(ReadMarker(command, 1000), 0x55);
}

TEST_F(RoutingTest, QueueKeepsTheNewest32Reports) {
  HidDevice command, events;
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  ASSERT_EQ(events.Open(kEventPath, true, true, true, false), 1);
  for (int i = 1; i <= 40; ++i) node_->Inject(CommandReport(static_cast<uint8_t>(i)));
  // Reports are routed in order: once this event arrives, all 40 command reports have been queued.
  node_->Inject({0x03, 0x01, 0x00});
  std::vector<uint8_t> event(3);
  ASSERT_EQ(events.ReadReport(event, nullptr, 1000), 1);

  EXPECT_EQ(ReadMarker(command, 1000), 9);  // 1 to 8 were dropped
  int last = 9;
  for (int i = 0; i < 31; ++i) last = ReadMarker(command, 1000);
  EXPECT_EQ(last, 40);
  EXPECT_EQ(ReadMarker(command, 20), -1);
}

TEST_F(RoutingTest, ShortReportsArePaddedAndSmallBuffersRefused) {
  HidDevice command;
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  node_->Inject({0x04, 0x21, 0x22});
  std::vector<uint8_t> small(63, 0);
  EXPECT_EQ(command.ReadReport(small, nullptr, 50), 0);
  std::vector<uint8_t> buffer(64, 0xEE);
  uint32_t read = 0;
  ASSERT_EQ(command.ReadReport(buffer, &read, 1000), 1);
  EXPECT_EQ(read, 64u);
  EXPECT_EQ(buffer[2], 0x22);
  EXPECT_EQ(buffer[3], 0x00);
  EXPECT_EQ(buffer[63], 0x00);
}

TEST_F(RoutingTest, ReadTimesOutWithinItsLimit) {
  HidDevice command;
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ReadMarker(command, 100), -1);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, 95ms);
  EXPECT_LT(waited, 2s);
}

TEST_F(RoutingTest, CloseFromAnotherThreadReleasesAnEndlessRead) {
  HidDevice command;
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  auto reader = std::async(std::launch::async, [&] { return ReadMarker(command, kInfinite); });
  std::this_thread::sleep_for(50ms);
  const auto start = std::chrono::steady_clock::now();
  command.Close();
  ASSERT_EQ(reader.wait_for(2s), std::future_status::ready);
  EXPECT_EQ(reader.get(), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  EXPECT_EQ(node_->LiveConnections(), 0);
}

TEST_F(RoutingTest, CloseWaitsForTheReadToFinishWithTheBufferItBorrowed) {
  // The reader fills the record's own input buffer: Close must not free it under the reader.
  HidDevice command;
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  auto reader = std::async(std::launch::async, [&] {
    return command.ReadReport(command.ReportBuffer(ReportType::kInput), nullptr, kInfinite);
  });
  std::this_thread::sleep_for(20ms);
  node_->Inject(CommandReport(0x31));
  command.Close();
  ASSERT_EQ(reader.wait_for(2s), std::future_status::ready);
  reader.get();  // either outcome is fine; sanitizers watch the buffer
}

TEST_F(RoutingTest, EventThreadPatternSurvivesACloseFromAnotherThread) {
  // An event thread reads, decodes and looks at the first usage while the owner closes the interface.
  HidDevice events;
  ASSERT_EQ(events.Open(kEventPath, true, true, true, false), 1);
  std::atomic<int> decoded{0};
  std::thread reader([&] {
    std::vector<uint8_t> buffer(3);
    while (events.ReadReport(buffer, nullptr, kInfinite) == 1) {
      if (events.DecodeInputReport(buffer, ReportType::kInput) != 1) continue;
      const auto items = events.UsageData(ReportType::kInput);
      if (!items.empty() && !items[0].usages.empty() && items[0].usages[0] != 0) ++decoded;
    }
  });
  for (int i = 1; i <= 20; ++i) node_->Inject({0x03, static_cast<uint8_t>(i), 0x00});
  ASSERT_TRUE(Eventually([&] { return decoded.load() >= 5; }));
  events.Close();
  reader.join();
  EXPECT_FALSE(events.IsOpen());
}

TEST_F(RoutingTest, ACloseWithNothingPendingDoesNotFailTheNextOpening) {
  HidDevice command;
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  command.Close();
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  node_->Inject(CommandReport(0x66));
  EXPECT_EQ(ReadMarker(command, 1000), 0x66);
}

TEST_F(RoutingTest, LateReplyStaysQueuedForTheNextExchange) {
  HidDevice command;
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  ASSERT_EQ(command.WriteReport(CommandReport(0x01), nullptr, 1000), 1);
  EXPECT_EQ(ReadMarker(command, 30), -1);  // no reply in time
  node_->Inject(CommandReport(0x01));      // the late reply
  ASSERT_EQ(command.WriteReport(CommandReport(0x02), nullptr, 1000), 1);
  node_->Inject(CommandReport(0x02));
  EXPECT_EQ(ReadMarker(command, 1000), 0x01);  // the stale reply comes first
  EXPECT_EQ(ReadMarker(command, 1000), 0x02);
}

TEST_F(RoutingTest, WriteToAStalledDeviceReturnsAtItsTimeLimit) {
  HidDevice command;
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  node_->HoldWrites(true);
  const auto start = std::chrono::steady_clock::now();
  uint32_t written = 7;
  EXPECT_EQ(command.WriteReport(CommandReport(0x01), &written, 100), 0);
  EXPECT_EQ(written, 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  // A second write queued behind the stalled one gives up too, and is never sent afterwards.
  EXPECT_EQ(command.WriteReport(CommandReport(0x02), nullptr, 50), 0);
  node_->HoldWrites(false);
  ASSERT_TRUE(Eventually([&] { return node_->Writes().size() == 1; }));
  ASSERT_EQ(command.WriteReport(CommandReport(0x03), nullptr, 1000), 1);
  const auto writes = node_->Writes();
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0][1], 0x01);
  EXPECT_EQ(writes[1][1], 0x03);
}

TEST_F(RoutingTest, CloseReleasesAWriteWaitingWithoutLimit) {
  HidDevice command;
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  node_->HoldWrites(true);
  auto writer = std::async(std::launch::async,
                           [&] { return command.WriteReport(CommandReport(1), nullptr, kInfinite); });
  ASSERT_TRUE(Eventually([&] { return node_->WritesStarted() == 1; }));
  // The last handle's Close also ends the node, which waits for the device to finish the running write.
  auto closer = std::async(std::launch::async, [&] { command.Close(); });
  ASSERT_EQ(writer.wait_for(2s), std::future_status::ready);  // released while the device still stalls
  EXPECT_EQ(writer.get(), 0);
  node_->HoldWrites(false);
  ASSERT_EQ(closer.wait_for(2s), std::future_status::ready);
  EXPECT_EQ(node_->LiveConnections(), 0);
}

TEST_F(RoutingTest, UnplugEndsReadsAndTheNextOpenFindsNothing) {
  HidDevice command;
  ASSERT_EQ(command.Open(kCommandPath, true, true, true, false), 1);
  auto reader = std::async(std::launch::async, [&] { return ReadMarker(command, kInfinite); });
  std::this_thread::sleep_for(20ms);
  backend_->Unplug("/dev/hidraw1");
  ASSERT_EQ(reader.wait_for(2s), std::future_status::ready);
  EXPECT_EQ(reader.get(), -1);
  EXPECT_EQ(command.WriteReport(CommandReport(1), nullptr, 1000), 0);
  EXPECT_EQ(ReadMarker(command, 10), -1);

  HidDevice again;
  EXPECT_EQ(again.Open(kCommandPath, true, true, true, false), 0);
  EXPECT_EQ(again.LastOpenError(), OpenError::kNotFound);

  // Replugged on the same node: a new connection, while the old handle still holds the dead one.
  const auto replugged = backend_->Plug(MakeNodeInfo("/dev/hidraw1", testing::kOurInterfaceOne));
  ASSERT_EQ(again.Open(kCommandPath, true, true, true, false), 1);
  EXPECT_EQ(replugged->OpensSoFar(), 1);
  replugged->Inject(CommandReport(0x77));
  EXPECT_EQ(ReadMarker(again, 1000), 0x77);
}

TEST(RoutingWithoutIdsTest, BareReportsGetTheirZeroIdByte) {
  ScopedFakeBackend backend;
  HidNodeInfo info = MakeNodeInfo("/dev/hidraw5", testing::kVendorWithoutIds);
  info.composite = false;
  const auto node = backend->Plug(info);
  HidDevice device;
  ASSERT_EQ(device.Open("/dev/hidraw5#vid_320f&pid_5055#1-2.3:1.1", true, true, true, false), 1);
  std::vector<uint8_t> bare(63, 0);
  bare[0] = 0xAB;
  node->Inject(bare);
  std::vector<uint8_t> buffer(64, 0xEE);
  ASSERT_EQ(device.ReadReport(buffer, nullptr, 1000), 1);
  EXPECT_EQ(buffer[0], 0x00);
  EXPECT_EQ(buffer[1], 0xAB);
  // Writes carry the zero id byte, as the kernel expects it.
  std::vector<uint8_t> out(64, 0);
  ASSERT_EQ(device.WriteReport(out, nullptr, 1000), 1);
  EXPECT_EQ(node->Writes()[0].size(), 64u);
}

}  // namespace
}  // namespace norvane::hid
