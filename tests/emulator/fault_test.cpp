// Faults asked of a device: refusals, silence, late and foreign replies, failed writes, and how rules pick
// their frames.

#include <future>
#include <thread>

#include "emulator_test_support.h"

namespace norvane::emulator::testing {
namespace {

using std::chrono::milliseconds;

class FaultTest : public EmulatorTest {
 protected:
  void SetUp() override {
    Create("mouse");
    mouse = Find(DeviceModel::kMouse);
    connection = OpenCommandNode(mouse);
    ASSERT_NE(connection, nullptr);
  }

  std::optional<Bytes> Send(const Wire& frame, milliseconds timeout = milliseconds(100)) {
    return Exchange(*connection, frame, timeout);
  }

  DeviceId mouse = 0;
  std::unique_ptr<hid::HidNodeConnection> connection;
};

TEST_F(FaultTest, RefusalsLeaveMemoryAsItWas) {
  backend->AddFault(mouse, {.kind = FaultKind::kRefuse, .command = 0x06});
  backend->AddFault(mouse, {.kind = FaultKind::kRefuseAlt, .command = 0x06});
  const Bytes before = backend->ReadMemory(mouse, MemoryArea::kSettings, 0, 4);
  const Wire write = MakeFrame(0x06, 4, 0, Bytes{7, 7, 7, 7});
  EXPECT_EQ(Send(write).value().at(7), 0xFF);
  EXPECT_EQ(Send(write).value().at(7), 0xFE);
  EXPECT_EQ(backend->ReadMemory(mouse, MemoryArea::kSettings, 0, 4), before);
  // Both rules are spent; the third write goes through.
  EXPECT_EQ(Send(write).value().at(7), 0x01);
  EXPECT_EQ(backend->ReadMemory(mouse, MemoryArea::kSettings, 0, 4), (Bytes{7, 7, 7, 7}));
}

TEST_F(FaultTest, ARefusalMayCarryWhatItsBufferHeld) {
  backend->AddFault(mouse, {.kind = FaultKind::kRefuse, .command = 0x05, .refusal_fill = 0xFF});
  const Bytes reply = Send(MakeFrame(0x05, 4, 0)).value();
  EXPECT_EQ(reply.at(7), 0xFF);
  EXPECT_EQ(PayloadOf(reply, 56), Bytes(56, 0xFF));
  uint32_t sum = 0;
  for (size_t i = 3; i < 64; ++i) sum += reply[i];
  EXPECT_EQ(reply[1] | (reply[2] << 8), static_cast<int>(sum & 0xFFFF));
}

TEST_F(FaultTest, RuleForOneCommandLetsOthersPass) {
  backend->AddFault(mouse, {.kind = FaultKind::kRefuse, .command = 0x15, .times = 0});
  EXPECT_EQ(Send(MakeFrame(0x01, 0, 0)).value().at(7), 0x01);
  EXPECT_EQ(Send(MakeFrame(0x15, 0, 0)).value().at(7), 0xFF);
  EXPECT_EQ(Send(MakeFrame(0x15, 0, 0)).value().at(7), 0xFF);  // times 0: until cleared
  backend->ClearFaults(mouse);
  EXPECT_EQ(Send(MakeFrame(0x15, 0, 0)).value().at(7), 0x01);
}

TEST_F(FaultTest, PerFrameRuleSkipsFramesFirst) {
  backend->AddFault(mouse, {.kind = FaultKind::kRefuse, .skip = 2, .times = 1});
  EXPECT_EQ(Send(MakeFrame(0x01, 0, 0)).value().at(7), 0x01);
  EXPECT_EQ(Send(MakeFrame(0x05, 1, 0)).value().at(7), 0x01);
  EXPECT_EQ(Send(MakeFrame(0x02, 0, 0)).value().at(7), 0xFF);
  EXPECT_EQ(Send(MakeFrame(0x02, 0, 0)).value().at(7), 0x01);
}

TEST_F(FaultTest, NoReplyCarriesTheRequestOutSilently) {
  backend->AddFault(mouse, {.kind = FaultKind::kNoReply, .command = 0x06});
  EXPECT_FALSE(Send(MakeFrame(0x06, 2, 0, Bytes{3, 3}), milliseconds(30)).has_value());
  EXPECT_EQ(backend->ReadMemory(mouse, MemoryArea::kSettings, 0, 2), (Bytes{3, 3}));
}

TEST_F(FaultTest, LateReplyBecomesTheNextExchangesStaleReply) {
  backend->AddFault(mouse, {.kind = FaultKind::kLateReply, .command = 0x05, .delay = milliseconds(5000)});
  EXPECT_FALSE(Send(MakeFrame(0x05, 1, 0), milliseconds(30)).has_value());
  // The next request brings the held reply out first, then its own.
  ASSERT_TRUE(connection->WriteOutput(MakeFrame(0x03, 34, 0)));
  Bytes first, second;
  ASSERT_EQ(connection->ReadInput(first, milliseconds(100)), hid::ReadStatus::kReport);
  ASSERT_EQ(connection->ReadInput(second, milliseconds(100)), hid::ReadStatus::kReport);
  EXPECT_EQ(first[3], 0x05);
  EXPECT_EQ(second[3], 0x03);
}

TEST_F(FaultTest, HeldReplyReachesAWaitingReaderEvenWhenTheNextRequestGetsNoReply) {
  backend->AddFault(mouse, {.kind = FaultKind::kLateReply, .command = 0x05, .delay = milliseconds(60000)});
  backend->AddFault(mouse, {.kind = FaultKind::kNoReply, .command = 0x02});
  ASSERT_TRUE(connection->WriteOutput(MakeFrame(0x05, 1, 0)));
  auto reader = std::async(std::launch::async, [&] {
    Bytes reply;
    const auto status = connection->ReadInput(reply, milliseconds(30000));
    return std::pair(status, reply);
  });
  std::this_thread::sleep_for(milliseconds(20));
  ASSERT_TRUE(connection->WriteOutput(MakeFrame(0x02, 0, 0)));
  ASSERT_EQ(reader.wait_for(milliseconds(2000)), std::future_status::ready);
  const auto [status, reply] = reader.get();
  EXPECT_EQ(status, hid::ReadStatus::kReport);
  EXPECT_EQ(reply.at(3), 0x05);
}

TEST_F(FaultTest, LateReplyArrivesAfterItsDelayWithoutAnotherRequest) {
  backend->AddFault(mouse, {.kind = FaultKind::kLateReply, .delay = milliseconds(250)});
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(connection->WriteOutput(MakeFrame(0x01, 0, 0)));
  Bytes reply;
  EXPECT_EQ(connection->ReadInput(reply, milliseconds(20)), hid::ReadStatus::kTimeout);
  ASSERT_EQ(connection->ReadInput(reply, milliseconds(1000)), hid::ReadStatus::kReport);
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(250));
  EXPECT_EQ(reply[3], 0x01);
}

TEST_F(FaultTest, WrongCommandCodeInReply) {
  backend->AddFault(mouse, {.kind = FaultKind::kWrongCommand, .command = 0x05, .reply_command = 0x1A});
  const Bytes reply = Send(MakeFrame(0x05, 1, 0)).value();
  EXPECT_EQ(reply[3], 0x1A);
  uint32_t sum = 0;
  for (size_t i = 3; i < 64; ++i) sum += reply[i];
  EXPECT_EQ(reply[1] | (reply[2] << 8), static_cast<int>(sum & 0xFFFF));
}

TEST_F(FaultTest, WriteFailureReachesNothing) {
  backend->AddFault(mouse, {.kind = FaultKind::kWriteFailure, .command = 0x01});
  EXPECT_FALSE(connection->WriteOutput(MakeFrame(0x01, 0, 0)));
  EXPECT_EQ(backend->Counters(mouse).begin_count, 0);
  EXPECT_TRUE(backend->FrameLog().empty());
  EXPECT_TRUE(connection->WriteOutput(MakeFrame(0x01, 0, 0)));
}

TEST_F(FaultTest, FrameLogShowsBothDirectionsInWireOrder) {
  backend->AddFault(mouse, {.kind = FaultKind::kLateReply, .command = 0x01, .delay = milliseconds(5000)});
  EXPECT_FALSE(Send(MakeFrame(0x01, 0, 0), milliseconds(10)).has_value());
  EXPECT_TRUE(Send(MakeFrame(0x02, 0, 0)).has_value());
  const std::vector<LoggedFrame> log = backend->FrameLog();
  ASSERT_EQ(log.size(), 4u);
  const auto shape = [](const LoggedFrame& frame) { return std::pair(frame.direction, frame.bytes[3]); };
  EXPECT_EQ(shape(log[0]), std::pair(FrameDirection::kToDevice, uint8_t{0x01}));
  EXPECT_EQ(shape(log[1]), std::pair(FrameDirection::kToDevice, uint8_t{0x02}));
  EXPECT_EQ(shape(log[2]), std::pair(FrameDirection::kToHost, uint8_t{0x01}));
  EXPECT_EQ(shape(log[3]), std::pair(FrameDirection::kToHost, uint8_t{0x02}));
  EXPECT_EQ(log[0].device, mouse);
  EXPECT_EQ(log[0].node_id, backend->CommandNodeId(mouse));
  EXPECT_EQ(log[0].bytes, MakeFrame(0x01, 0, 0));

  std::vector<LoggedFrame> heard;
  backend->SetFrameListener([&](const LoggedFrame& frame) { heard.push_back(frame); });
  EXPECT_TRUE(Send(MakeFrame(0x01, 0, 0)).has_value());
  backend->SetFrameListener({});
  EXPECT_EQ(heard.size(), 2u);

  backend->ClearFrameLog();
  EXPECT_TRUE(backend->FrameLog().empty());
}

}  // namespace
}  // namespace norvane::emulator::testing
