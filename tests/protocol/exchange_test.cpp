// Exchange and ExchangeQuick against emulated devices: what reaches the device, and the result for every
// kind of answer and fault.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/trace.h"
#include "protocol/channel_opener.h"
#include "protocol/command_channel.h"
#include "protocol/command_codes.h"
#include "protocol/commands.h"
#include "tests/protocol/emulated_link.h"

namespace norvane::protocol {
namespace {

using emulator::DeviceModel;
using emulator::FaultKind;
using emulator::FaultRule;
using testing::EmulatedLink;
using Clock = std::chrono::steady_clock;

constexpr uint8_t kBegin = ToByte(CommandCode::kBegin);
constexpr uint8_t kReadStatus = ToByte(CommandCode::kReadStatus);

FaultRule Fault(FaultKind kind, uint8_t command) {
  FaultRule rule;
  rule.kind = kind;
  rule.command = command;
  return rule;
}

class ExchangeTest : public ::testing::Test {
 protected:
  ExchangeTest() : link_({DeviceModel::kKeyboard, DeviceModel::kKeyboardReceiver}) {}

  void OpenWired() { link_.Open(channel_, hid::DeviceKind::kKeyboard); }
  void OpenReceiver() { link_.Open(channel_, hid::DeviceKind::kKeyboardReceiver); }
  emulator::DeviceId Keyboard() { return link_.Device(DeviceModel::kKeyboard); }
  emulator::DeviceId Receiver() { return link_.Device(DeviceModel::kKeyboardReceiver); }

  int Send(uint8_t command) {
    return channel_.Exchange(CommandFrame::Request(command, 0, 0).Bytes(), reply_.MutableBytes());
  }

  EmulatedLink link_;
  CommandChannel channel_;
  CommandFrame reply_;
};

TEST(CommandChannelSettingsTest, LinkTypeAndBlockSize) {
  CommandChannel channel;
  EXPECT_EQ(channel.BlockSize(), 512);
  EXPECT_EQ(channel.PayloadSize(), 24);
  EXPECT_FALSE(channel.IsOpen());
  EXPECT_FALSE(channel.IsWireless());
  EXPECT_FALSE(channel.IsBusy());

  channel.SetLinkType(2);
  EXPECT_TRUE(channel.IsWireless());
  EXPECT_EQ(channel.PayloadSize(), 24);
  channel.SetLinkType(1);
  EXPECT_FALSE(channel.IsWireless());
  EXPECT_EQ(channel.PayloadSize(), 56);
  channel.SetLinkType(7);  // anything but 2 is wired
  EXPECT_FALSE(channel.IsWireless());

  EXPECT_EQ(channel.SetBlockSize(513), 0);
  EXPECT_EQ(channel.BlockSize(), 512);
  EXPECT_EQ(channel.SetBlockSize(240), 1);
  EXPECT_EQ(channel.BlockSize(), 240);
  EXPECT_EQ(channel.SetBlockSize(512), 1);
}

// The catalogue's rule per kind: a receiver kind goes through the receiver, a wired keyboard gets the wired
// link type, and the mouse pad keeps the settings of a new channel (24-byte frames, not wireless).
TEST(ChannelOpenerTest, EachKindGetsTheLinkTheCatalogueGivesIt) {
  EmulatedLink link({DeviceModel::kKeyboard, DeviceModel::kKeyboardReceiver, DeviceModel::kMousePad});
  using Pieces = std::vector<std::pair<int, int>>;
  struct Case {
    hid::DeviceKind kind;
    bool wireless;
    int payload;
    Pieces info_frames;  // (data length, offset) of the information read
  };
  for (const Case& c : {Case{hid::DeviceKind::kKeyboard, false, 56, {{34, 0}}},
                        Case{hid::DeviceKind::kKeyboardReceiver, true, 24, {{24, 0}, {10, 24}}},
                        Case{hid::DeviceKind::kMousePad, false, 24, {{24, 0}, {10, 24}}}}) {
    CommandChannel channel;
    ASSERT_EQ(OpenCommandInterfaceOfKind(channel, link.CommandPath(c.kind), c.kind), hid::OpenError::kNone);
    EXPECT_TRUE(channel.IsOpen());
    EXPECT_EQ(channel.IsWireless(), c.wireless) << int(c.kind);
    EXPECT_EQ(channel.PayloadSize(), c.payload) << int(c.kind);
    link.ClearLog();
    std::array<uint8_t, kDeviceInfoSize> info{};
    ASSERT_EQ(CmdReadDeviceInfo(channel, info), kResultOk) << int(c.kind);
    Pieces sent;
    for (const auto& frame : link.Requests()) sent.emplace_back(frame[4], frame[5] | frame[6] << 8);
    EXPECT_EQ(sent, c.info_frames) << int(c.kind);
  }
}

TEST_F(ExchangeTest, ClosedChannelSendsNothing) {
  EXPECT_EQ(Send(kBegin), kResultNoReply);
  EXPECT_EQ(channel_.ExchangeQuick(CommandFrame::Request(0x12, 0, 0).Bytes(), reply_.MutableBytes()),
            kResultNoReply);
  EXPECT_EQ(CmdBegin(channel_), kResultNoReply);
  EXPECT_TRUE(link_.Requests().empty());
}

TEST_F(ExchangeTest, ShortRequestIsSentZeroFilledTo64Bytes) {
  OpenWired();
  // Report id, checksum of the lone command byte, command 0x01.
  const std::vector<uint8_t> request = {0x04, 0x01, 0x00, 0x01};
  uint32_t bytes_read = 0;
  EXPECT_EQ(channel_.Exchange(request, reply_.MutableBytes(), bytes_read), kResultOk);
  EXPECT_EQ(bytes_read, 64u);
  const auto sent = link_.Requests();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][3], 0x01);
  for (size_t i = 4; i < 64; ++i) EXPECT_EQ(sent[0][i], 0) << i;
  EXPECT_EQ(reply_.Command(), 0x01);
}

TEST_F(ExchangeTest, RefusalsReachTheCommandAsStatusCodes) {
  OpenWired();
  link_.Backend().AddFault(Keyboard(), Fault(FaultKind::kRefuse, kBegin));
  EXPECT_EQ(Send(kBegin), kResultOk) << "Exchange leaves the status to the command";
  EXPECT_EQ(reply_.Status(), 0xFF);

  link_.Backend().AddFault(Keyboard(), Fault(FaultKind::kRefuse, kBegin));
  EXPECT_EQ(CmdBegin(channel_), kResultRefused);
  link_.Backend().AddFault(Keyboard(), Fault(FaultKind::kRefuseAlt, kBegin));
  EXPECT_EQ(CmdBegin(channel_), kResultRefusedOther);
  EXPECT_EQ(CmdBegin(channel_), kResultOk);
}

TEST_F(ExchangeTest, NoReplyWaitsTwoReadsAndGivesZero) {
  OpenWired();
  link_.Backend().AddFault(Keyboard(), Fault(FaultKind::kNoReply, kBegin));
  const auto start = Clock::now();
  EXPECT_EQ(CmdBegin(channel_), kResultNoReply);
  EXPECT_GE(Clock::now() - start, 2 * testing::kTestWiredLimit);
  EXPECT_EQ(link_.Requests().size(), 1u);
}

TEST_F(ExchangeTest, WriteFailureGivesMinusOne) {
  OpenWired();
  link_.Backend().AddFault(Keyboard(), Fault(FaultKind::kWriteFailure, kBegin));
  EXPECT_EQ(CmdBegin(channel_), kResultNotWritten);
}

TEST_F(ExchangeTest, UnpluggedDeviceIsNotWritten) {
  OpenWired();
  link_.Backend().Unplug(Keyboard());
  EXPECT_EQ(CmdBegin(channel_), kResultNotWritten);
}

TEST_F(ExchangeTest, StaleReplyIsSkippedForTheRightOne) {
  OpenWired();
  FaultRule late = Fault(FaultKind::kLateReply, kBegin);
  late.delay = std::chrono::seconds(5);  // arrives just before the next reply
  link_.Backend().AddFault(Keyboard(), late);
  EXPECT_EQ(CmdBegin(channel_), kResultNoReply);

  std::array<uint8_t, 6> status{};
  EXPECT_EQ(CmdReadStatus(channel_, status, 0), kResultOk);
  const auto replies = link_.Replies();
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0][3], kBegin);
  EXPECT_EQ(replies[1][3], kReadStatus);
}

TEST_F(ExchangeTest, ReplyLateForTheFirstReadIsTakenByTheSecond) {
  OpenWired();
  // The reply comes in the middle of the second read's window, with room either side for a slow machine.
  channel_.SetTimeLimits(std::chrono::milliseconds(200), std::chrono::milliseconds(200));
  FaultRule late = Fault(FaultKind::kLateReply, kBegin);
  late.delay = std::chrono::milliseconds(300);
  link_.Backend().AddFault(Keyboard(), late);
  EXPECT_EQ(Send(kBegin), kResultOk);
  EXPECT_EQ(reply_.Command(), kBegin);
}

TEST_F(ExchangeTest, TwoForeignRepliesAreNoReplyAndLeaveNothingBehind) {
  OpenWired();
  FaultRule late = Fault(FaultKind::kLateReply, kBegin);
  late.delay = std::chrono::seconds(5);
  link_.Backend().AddFault(Keyboard(), late);
  EXPECT_EQ(CmdBegin(channel_), kResultNoReply);

  // The next request is answered with the stale 0x01 reply and then with a reply carrying 0x03: neither is
  // the status read's, so its destination must not receive either payload.
  FaultRule wrong = Fault(FaultKind::kWrongCommand, kReadStatus);
  wrong.reply_command = 0x03;
  link_.Backend().AddFault(Keyboard(), wrong);
  std::array<uint8_t, 6> status;
  status.fill(0x5A);
  EXPECT_EQ(CmdReadStatus(channel_, status, 0), kResultNoReply);
  for (uint8_t byte : status) EXPECT_EQ(byte, 0x5A);

  EXPECT_EQ(CmdReadStatus(channel_, status, 0), kResultOk) << "nothing stale is left queued";
}

TEST_F(ExchangeTest, OneForeignReplyThenSilenceIsNoReply) {
  OpenWired();
  FaultRule wrong = Fault(FaultKind::kWrongCommand, kBegin);
  wrong.reply_command = 0x05;
  link_.Backend().AddFault(Keyboard(), wrong);
  EXPECT_EQ(Send(kBegin), kResultNoReply);
  for (uint8_t byte : reply_.Bytes()) EXPECT_EQ(byte, 0);
}

TEST_F(ExchangeTest, ReceiverLinkDownGivesMinus101AtOnce) {
  OpenReceiver();
  channel_.SetTimeLimits(testing::kTestWiredLimit, std::chrono::seconds(3));
  link_.Backend().SetLinkUp(Receiver(), false);
  const auto start = Clock::now();
  EXPECT_EQ(CmdBegin(channel_), kResultLinkDown);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500)) << "no second read after 0xaa";
  link_.Backend().SetLinkUp(Receiver(), true);
  EXPECT_EQ(CmdBegin(channel_), kResultOk);
}

TEST_F(ExchangeTest, CodeAaOnTheWiredLinkIsJustAForeignReply) {
  OpenWired();
  FaultRule wrong = Fault(FaultKind::kWrongCommand, kBegin);
  wrong.reply_command = 0xAA;
  link_.Backend().AddFault(Keyboard(), wrong);
  EXPECT_EQ(CmdBegin(channel_), kResultNoReply);
}

TEST_F(ExchangeTest, ClosingTheInterfaceReleasesAWaitingExchange) {
  OpenWired();
  channel_.SetTimeLimits(std::chrono::seconds(10), std::chrono::seconds(10));
  link_.Backend().AddFault(Keyboard(), Fault(FaultKind::kNoReply, kBegin));
  const auto start = Clock::now();
  std::thread closer([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    channel_.SetOpen(false);
    channel_.Wired().Close();
  });
  EXPECT_EQ(CmdBegin(channel_), kResultNoReply);
  closer.join();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(CmdBegin(channel_), kResultNoReply) << "closed channel";
}

TEST_F(ExchangeTest, ExchangeQuickReadsOnceWithoutLookingAtTheCode) {
  OpenWired();
  FaultRule wrong = Fault(FaultKind::kWrongCommand, 0x12);
  wrong.reply_command = 0x77;
  link_.Backend().AddFault(Keyboard(), wrong);
  const std::array<uint8_t, 3> rgb = {1, 2, 3};
  EXPECT_EQ(channel_.ExchangeQuick(CommandFrame::Request(0x12, 3, 0, rgb).Bytes(), reply_.MutableBytes()),
            kResultOk);
  EXPECT_EQ(reply_.Command(), 0x77);
  EXPECT_FALSE(channel_.IsBusy());
}

TEST_F(ExchangeTest, TracesEachFrameAsOneLine) {
  OpenWired();
  std::vector<std::string> lines;
  SetTraceEnabled(true);
  TraceSink old = SetTraceSink([&](std::string_view line) { lines.emplace_back(line); });
  EXPECT_EQ(CmdBegin(channel_), kResultOk);
  SetTraceSink(std::move(old));
  SetTraceEnabled(false);

  ASSERT_EQ(lines.size(), 2u);
  const auto sent = link_.Requests();
  const auto answered = link_.Replies();
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(answered.size(), 1u);
  EXPECT_EQ(lines[0], "> " + HexBytes(sent[0]));
  EXPECT_EQ(lines[1], "< " + HexBytes(answered[0]));
}

}  // namespace
}  // namespace norvane::protocol
