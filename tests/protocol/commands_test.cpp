// The command set, byte for byte as the device receives it, on wired and receiver links.
#include "protocol/commands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <thread>
#include <vector>

#include "protocol/command_codes.h"
#include "protocol/command_series.h"
#include "tests/protocol/emulated_link.h"

namespace norvane::protocol {
namespace {

using emulator::DeviceModel;
using emulator::FaultKind;
using emulator::FaultRule;
using emulator::MemoryArea;
using testing::CommandOf;
using testing::EmulatedLink;
using testing::LengthOf;
using testing::OffsetOf;
using Frame = std::array<uint8_t, 64>;

struct Piece {
  uint8_t length;
  uint16_t offset;
};

// Every request is a well-formed frame: report id 4, status 0, a checksum over bytes 3..63, and nothing
// behind the payload it announces.
void ExpectWellFormed(const Frame& frame) {
  EXPECT_EQ(frame[0], 0x04);
  EXPECT_EQ(frame[7], 0x00);
  EXPECT_EQ(frame[1] | (frame[2] << 8), FrameChecksum(frame));
}

void ExpectPieces(const std::vector<Frame>& frames, uint8_t command, const std::vector<Piece>& pieces) {
  ASSERT_EQ(frames.size(), pieces.size());
  for (size_t i = 0; i < frames.size(); ++i) {
    SCOPED_TRACE("frame " + std::to_string(i));
    ExpectWellFormed(frames[i]);
    EXPECT_EQ(CommandOf(frames[i]), command);
    EXPECT_EQ(LengthOf(frames[i]), pieces[i].length);
    EXPECT_EQ(OffsetOf(frames[i]), pieces[i].offset);
  }
}

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
  std::vector<uint8_t> bytes(size);
  std::iota(bytes.begin(), bytes.end(), seed);
  return bytes;
}

FaultRule RefuseFrame(uint8_t command, int skip) {
  FaultRule rule;
  rule.kind = FaultKind::kRefuse;
  rule.command = command;
  rule.skip = skip;
  return rule;
}

class KeyboardCommandsTest : public ::testing::Test {
 protected:
  KeyboardCommandsTest() : link_({DeviceModel::kKeyboard, DeviceModel::kKeyboardReceiver}) {}
  emulator::DeviceId Keyboard() { return link_.Device(DeviceModel::kKeyboard); }
  emulator::DeviceId Receiver() { return link_.Device(DeviceModel::kKeyboardReceiver); }
  void OpenWired() { link_.Open(channel_, hid::DeviceKind::kKeyboard); }
  void OpenReceiver() { link_.Open(channel_, hid::DeviceKind::kKeyboardReceiver); }

  EmulatedLink link_;
  CommandChannel channel_;
};

TEST_F(KeyboardCommandsTest, DeviceInfoIsOneFrameWiredAndTwoThroughTheReceiver) {
  const auto expected = link_.Backend().ReadMemory(Keyboard(), MemoryArea::kInfo, 0, kDeviceInfoSize);
  ASSERT_EQ(expected.size(), kDeviceInfoSize);

  OpenWired();
  std::array<uint8_t, kDeviceInfoSize> info{};
  ASSERT_EQ(CmdReadDeviceInfo(channel_, info), kResultOk);
  ExpectPieces(link_.Requests(), 0x03, {{34, 0}});
  EXPECT_TRUE(std::equal(info.begin(), info.end(), expected.begin()));

  CommandChannel through_receiver;
  link_.Open(through_receiver, hid::DeviceKind::kKeyboardReceiver);
  info.fill(0);
  ASSERT_EQ(CmdReadDeviceInfo(through_receiver, info), kResultOk);
  ExpectPieces(link_.Requests(), 0x03, {{24, 0}, {10, 24}});
  EXPECT_TRUE(std::equal(info.begin(), info.end(), expected.begin()));
}

TEST_F(KeyboardCommandsTest, DeviceInfoIsLeftUntouchedWhenAFrameFails) {
  OpenReceiver();
  link_.Backend().AddFault(Receiver(), RefuseFrame(0x03, 1));
  std::array<uint8_t, kDeviceInfoSize> info;
  info.fill(0xEE);
  EXPECT_EQ(CmdReadDeviceInfo(channel_, info), kResultRefused);
  for (uint8_t byte : info) EXPECT_EQ(byte, 0xEE);
}

TEST_F(KeyboardCommandsTest, KeyTableWriteIsCutIntoPayloadSizedFrames) {
  OpenWired();
  ASSERT_EQ(channel_.SetBlockSize(240), 1);
  const auto table = Pattern(240, 3);
  ASSERT_EQ(CmdWriteKeyTable(channel_, table, 0), kResultOk);
  const auto frames = link_.Requests();
  ExpectPieces(frames, 0x09, {{56, 0}, {56, 56}, {56, 112}, {56, 168}, {16, 224}});
  EXPECT_EQ(frames[4][8], table[224]);
  EXPECT_EQ(frames[4][8 + 16], 0) << "nothing behind the last piece";
  EXPECT_EQ(link_.Backend().ReadMemory(Keyboard(), MemoryArea::kKeyTable, 0, 240), table);
}

TEST_F(KeyboardCommandsTest, SecondKeyTableUsesItsOwnCode) {
  OpenReceiver();
  ASSERT_EQ(channel_.SetBlockSize(60), 1);
  const auto table = Pattern(60, 9);
  ASSERT_EQ(CmdWriteKeyTableExtra(channel_, table, 0), kResultOk);
  ExpectPieces(link_.Requests(), 0x27, {{24, 0}, {24, 24}, {12, 48}});
  EXPECT_EQ(link_.Backend().ReadMemory(Keyboard(), MemoryArea::kKeyTableExtra, 0, 60), table);
}

TEST_F(KeyboardCommandsTest, KeyTablePagesOtherThanZeroAndShortBuffersSendNothing) {
  OpenWired();
  ASSERT_EQ(channel_.SetBlockSize(240), 1);
  const auto table = Pattern(240, 0);
  EXPECT_EQ(CmdWriteKeyTable(channel_, table, 1), kResultBadPage);
  EXPECT_EQ(CmdWriteKeyTableExtra(channel_, table, -1), kResultBadPage);
  const auto too_short = Pattern(239, 0);
  EXPECT_EQ(CmdWriteKeyTable(channel_, too_short, 0), kResultNotWritten);
  std::vector<uint8_t> small(100);
  EXPECT_EQ(CmdReadKeyTable(channel_, small), kResultNotWritten);
  EXPECT_TRUE(link_.Requests().empty());
}

TEST_F(KeyboardCommandsTest, KeyTableReadsFillTheFrontOfTheDestination) {
  const auto table = Pattern(240, 40);
  ASSERT_TRUE(link_.Backend().WriteMemory(Keyboard(), MemoryArea::kKeyTable, 0, table));
  const auto extra = Pattern(80, 90);
  ASSERT_TRUE(link_.Backend().WriteMemory(Keyboard(), MemoryArea::kKeyTableExtra, 0, extra));
  OpenWired();
  ASSERT_EQ(channel_.SetBlockSize(240), 1);

  std::vector<uint8_t> read(512, 0xCC);
  ASSERT_EQ(CmdReadKeyTable(channel_, read), kResultOk);
  EXPECT_TRUE(std::equal(table.begin(), table.end(), read.begin()));
  EXPECT_EQ(read[240], 0xCC);

  link_.ClearLog();
  std::vector<uint8_t> read_extra(80);
  ASSERT_EQ(CmdReadKeyTableExtra(channel_, read_extra), kResultOk);
  ExpectPieces(link_.Requests(), 0x1B, {{56, 0}, {24, 56}});
  EXPECT_EQ(read_extra, extra);
}

TEST_F(KeyboardCommandsTest, SettingsTravelAtTheirBaseAddress) {
  OpenReceiver();
  const auto record = Pattern(31, 100);
  ASSERT_EQ(CmdWriteSettings(channel_, record, 62), kResultOk);
  ExpectPieces(link_.Requests(), 0x06, {{24, 62}, {7, 86}});
  EXPECT_EQ(link_.Backend().ReadMemory(Keyboard(), MemoryArea::kSettings, 62, 31), record);

  link_.ClearLog();
  std::vector<uint8_t> back(31);
  ASSERT_EQ(CmdReadSettings(channel_, back, 62), kResultOk);
  ExpectPieces(link_.Requests(), 0x05, {{24, 62}, {7, 86}});
  EXPECT_EQ(back, record);
}

TEST_F(KeyboardCommandsTest, BlocksReachingPastTheOffsetRangeAreRefusedBeforeSending) {
  OpenWired();
  std::vector<uint8_t> record(31);
  EXPECT_EQ(CmdWriteSettings(channel_, record, 0xFFF0), kResultNotWritten);
  EXPECT_EQ(CmdReadSettings(channel_, record, 0xFFF0), kResultNotWritten);
  EXPECT_EQ(CmdWriteKeyLight(channel_, std::span(record).first(3), 0x6000), kResultNotWritten);
  EXPECT_TRUE(link_.Requests().empty());
}

TEST_F(KeyboardCommandsTest, MultiFrameCommandStopsAtTheFirstRefusedFrame) {
  OpenWired();
  link_.Backend().AddFault(Keyboard(), RefuseFrame(0x15, 1));
  const auto macros = Pattern(130, 1);
  EXPECT_EQ(CmdWriteMacros(channel_, macros), kResultRefused);
  ExpectPieces(link_.Requests(), 0x15, {{56, 0}, {56, 56}});

  link_.ClearLog();
  EXPECT_EQ(CmdWriteMacros(channel_, macros), kResultOk);
  ExpectPieces(link_.Requests(), 0x15, {{56, 0}, {56, 56}, {18, 112}});
}

TEST_F(KeyboardCommandsTest, KeyLightMaskIsOneFrameAtThreeBytesPerRecord) {
  OpenWired();
  const auto mask = Pattern(9, 7);
  ASSERT_EQ(CmdWriteKeyLight(channel_, mask, 5), kResultOk);
  const auto frames = link_.Requests();
  ExpectPieces(frames, 0x0B, {{9, 15}});
  EXPECT_EQ(frames[0][8], 7);
  EXPECT_EQ(frames[0][16], 15);
}

TEST_F(KeyboardCommandsTest, SingleFrameCommandsRefuseMoreThanOneFrameOfData) {
  OpenWired();
  const auto mask = Pattern(57, 0);
  EXPECT_EQ(CmdWriteKeyLight(channel_, mask, 0), kResultNotWritten);
  std::vector<uint8_t> status(57);
  EXPECT_EQ(CmdReadStatus(channel_, status, 0), kResultNotWritten);
  EXPECT_EQ(CmdWriteKeyLight(channel_, mask, -1), kResultNotWritten);
  EXPECT_TRUE(link_.Requests().empty());

  // 56 is one full frame and goes.
  EXPECT_EQ(CmdWriteKeyLight(channel_, std::span(mask).first(56), 0), kResultOk);
  ExpectPieces(link_.Requests(), 0x0B, {{56, 0}});
}

TEST_F(KeyboardCommandsTest, StatusReadCopiesOnlyTheAskedBytes) {
  // Byte 3 is the link flag, 0 on the wired link.
  const std::vector<uint8_t> wireless_status = {0x11, 0x22, 0x33, 0x00, 0x55, 0x66};
  ASSERT_TRUE(link_.Backend().WriteMemory(Keyboard(), MemoryArea::kStatus, 0, wireless_status));
  OpenWired();
  std::array<uint8_t, 8> destination;
  destination.fill(0xAB);
  ASSERT_EQ(CmdReadStatus(channel_, std::span(destination).first(6), 0), kResultOk);
  const auto frames = link_.Requests();
  ExpectPieces(frames, 0x1A, {{6, 0}});
  for (size_t i = 8; i < 64; ++i) EXPECT_EQ(frames[0][i], 0) << "a read request carries no payload";
  EXPECT_TRUE(std::equal(wireless_status.begin(), wireless_status.end(), destination.begin()));
  EXPECT_EQ(destination[6], 0xAB);
}

TEST_F(KeyboardCommandsTest, SeriesCommandsAreEmptyFramesAndEndWaitsFirst) {
  OpenWired();
  EXPECT_EQ(CmdBegin(channel_), kResultOk);
  EXPECT_EQ(CmdTakeLightControl(channel_), kResultOk);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(CmdEnd(channel_), kResultOk);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(10));

  const auto frames = link_.Requests();
  ASSERT_EQ(frames.size(), 3u);
  const uint8_t codes[] = {0x01, 0x1C, 0x02};
  for (size_t i = 0; i < 3; ++i) {
    ExpectPieces({frames[i]}, codes[i], {{0, 0}});
    for (size_t b = 8; b < 64; ++b) EXPECT_EQ(frames[i][b], 0);
  }
  const auto counters = link_.Backend().Counters(Keyboard());
  EXPECT_EQ(counters.begin_count, 1);
  EXPECT_EQ(counters.end_count, 1);
  EXPECT_FALSE(counters.session_open);
  EXPECT_TRUE(counters.light_control_taken);
}

TEST_F(KeyboardCommandsTest, WirelessQueryOnlyAsksThroughTheReceiver) {
  OpenWired();
  EXPECT_EQ(CmdQueryWirelessLink(channel_), 1);
  EXPECT_TRUE(link_.Requests().empty());

  CommandChannel through_receiver;
  link_.Open(through_receiver, hid::DeviceKind::kKeyboardReceiver);
  EXPECT_EQ(CmdQueryWirelessLink(through_receiver), 1);
  ExpectPieces(link_.Requests(), 0xAA, {{0, 0}});

  link_.Backend().SetLinkUp(Receiver(), false);
  EXPECT_EQ(CmdQueryWirelessLink(through_receiver), 0);
  link_.Backend().SetLinkUp(Receiver(), true);
  FaultRule refuse = RefuseFrame(0xAA, 0);
  refuse.refusal_fill = 0xFF;  // the refusal's payload looks like "reachable"
  link_.Backend().AddFault(Receiver(), refuse);
  EXPECT_EQ(CmdQueryWirelessLink(through_receiver), 0) << "a refused query is not a link";
  link_.Backend().AddFault(Receiver(), refuse);
  const WirelessLinkReply reply = ExchangeWirelessLinkQuery(through_receiver);
  EXPECT_EQ(reply.result, kResultRefused);
  EXPECT_FALSE(reply.reachable);
}

std::vector<uint8_t> CodesOf(const std::vector<Frame>& frames) {
  std::vector<uint8_t> codes;
  for (const Frame& frame : frames) codes.push_back(CommandOf(frame));
  return codes;
}

TEST_F(KeyboardCommandsTest, ASeriesStopsAtItsFirstFailureAndEndsExactlyOnce) {
  OpenWired();
  link_.Backend().AddFault(Keyboard(), RefuseFrame(0x05, 0));
  std::array<uint8_t, 1> active{};
  int runs = 0;
  const auto read = [&](CommandChannel& channel) {
    ++runs;
    return CmdReadSettings(channel, active, 0);
  };
  {
    CommandSeries series(channel_);
    EXPECT_EQ(series.Result(), kResultOk);
    EXPECT_EQ(series.Run(read), kResultRefused);
    EXPECT_EQ(series.Run(read), kResultRefused) << "not run after a failure";
    EXPECT_EQ(series.End(), kResultOk);
    EXPECT_EQ(series.End(), kResultOk);
  }
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(CodesOf(link_.Requests()), (std::vector<uint8_t>{0x01, 0x05, 0x02}));

  // A refused begin runs nothing, and the series is still closed.
  link_.ClearLog();
  link_.Backend().AddFault(Keyboard(), RefuseFrame(0x01, 0));
  {
    CommandSeries series(channel_);
    EXPECT_EQ(series.Result(), kResultRefused);
    series.Run(read);
  }
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(CodesOf(link_.Requests()), (std::vector<uint8_t>{0x01, 0x02}));
  EXPECT_FALSE(link_.Backend().Counters(Keyboard()).session_open);
}

TEST_F(KeyboardCommandsTest, NoOtherCommandLandsInsideASeries) {
  OpenWired();
  std::jthread other;
  {
    CommandSeries series(channel_);
    other = std::jthread([this] { static_cast<void>(CmdTakeLightControl(channel_)); });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // the other command waits for the lock
    std::array<uint8_t, 1> active{};
    EXPECT_EQ(series.Run([&](CommandChannel& channel) { return CmdReadSettings(channel, active, 0); }),
              kResultOk);
  }
  other.join();
  EXPECT_EQ(CodesOf(link_.Requests()), (std::vector<uint8_t>{0x01, 0x05, 0x02, 0x1C}));
}

TEST_F(KeyboardCommandsTest, StreamLightGoesOutInPayloadSizedFramesWhenIdle) {
  OpenWired();
  const auto frame = Pattern(100, 0);
  EXPECT_EQ(CmdStreamLight(channel_, frame), kResultOk);
  ExpectPieces(link_.Requests(), 0x12, {{56, 0}, {44, 56}});
  EXPECT_EQ(link_.Backend().Counters(Keyboard()).stream_frames, 2);
}

class MouseCommandsTest : public ::testing::Test {
 protected:
  MouseCommandsTest() : link_({DeviceModel::kMouse, DeviceModel::kMouseReceiver}) {}
  EmulatedLink link_;
  CommandChannel channel_;
};

TEST_F(MouseCommandsTest, ShootDataUses56ByteFramesEvenThroughTheReceiver) {
  link_.Open(channel_, hid::DeviceKind::kMouseReceiver);
  const auto recoil = Pattern(120, 5);
  ASSERT_EQ(CmdWriteShootData(channel_, recoil), kResultOk);
  ExpectPieces(link_.Requests(), 0x17, {{56, 0}, {56, 56}, {8, 112}});
  const auto mouse = link_.Device(DeviceModel::kMouse);
  EXPECT_EQ(link_.Backend().ReadMemory(mouse, MemoryArea::kRecoil, 0, 120), recoil);
}

}  // namespace
}  // namespace norvane::protocol
