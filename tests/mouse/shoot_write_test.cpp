// The recoil block sent to the mouse: the information read first, the link asked before each step through
// the receiver, the block in frames of 56 on either link, and a series that is always closed. The expected
// bytes are spelled out from the gun file's event table and the 4-byte event form, never taken from the
// block builder.
#include <gtest/gtest.h>

#include <string>

#include "devices/mouse/recoil.h"
#include "mouse_fixture.h"
#include "profiles/json_file_util.h"

namespace norvane::devices::testing {
namespace {

using emulator::FaultKind;
using emulator::MemoryArea;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kWriteShoot = 0x17;

// One bullet as a gun file holds it.
struct Shot {
  bool left;  // horizontal "Action" "down"
  bool up;    // vertical "Action" "down"
  int x;
  int y;
  int delay;
};

// Gun g's bullet b in the files of the full-block tests: odd guns pull right, gun 1 by 300, gun 3's last
// bullet waits 70000 ms.
Shot ShotOf(int gun, int bullet) {
  return {.left = gun % 2 == 0,
          .up = gun == 0,
          .x = gun == 1 ? 300 : gun + 1,
          .y = 10 + bullet,
          .delay = gun == 3 && bullet == 29 ? 70000 : 60 + bullet};
}

Json::Value Event(bool down, int button, const Json::Value& delay, int type) {
  Json::Value event;
  event["Action"] = down ? "down" : "up";
  event["Button"] = button;
  event["Delay"] = delay;
  event["Type"] = type;
  return event;
}

// The six events of a bullet: press 10 ms, release, horizontal move 5 ms, vertical move with the delay,
// both moves again of 0. `textDelays` writes "Delay" as decimal text, the way the macro editor does.
void AppendShot(Json::Value& events, const Shot& shot, bool textDelays) {
  const auto delay = [&](int value) { return textDelays ? Json::Value(std::to_string(value)) : Json::Value(value); };
  events.append(Event(true, 1, delay(10), 1));
  events.append(Event(false, 1, delay(0), 1));
  events.append(Event(shot.left, shot.x, delay(5), 4));
  events.append(Event(shot.up, shot.y, delay(shot.delay), 5));
  events.append(Event(shot.left, 0, delay(0), 4));
  events.append(Event(shot.up, 0, delay(0), 5));
}

// The same bullet as the mouse plays it: delay low, delay high, type with bit 7 for "down", distance.
void AppendCodes(Bytes& block, const Shot& shot) {
  const uint8_t x = shot.left ? 0x84 : 0x04;
  const uint8_t y = shot.up ? 0x85 : 0x05;
  const Bytes codes = {0x0A, 0x00, 0x81, 0x01,  0x00, 0x00, 0x01, 0x01,
                       0x05, 0x00, x, static_cast<uint8_t>(shot.x & 0xFF),
                       static_cast<uint8_t>(shot.delay & 0xFF), static_cast<uint8_t>((shot.delay >> 8) & 0xFF), y,
                       static_cast<uint8_t>(shot.y),
                       0x00, 0x00, x, 0x00,  0x00, 0x00, y, 0x00};
  block.insert(block.end(), codes.begin(), codes.end());
}

class MouseShootTest : public MouseTest {
 protected:
  void WriteGun(int gun, int bullets, bool textDelays = false) {
    Json::Value document;
    document["Events"] = Json::Value(Json::arrayValue);
    for (int b = 0; b < bullets; ++b) AppendShot(document["Events"], ShotOf(gun, b), textDelays);
    ASSERT_TRUE(JsonFileUtil().WriteJsonValue(mouse::GunFile(page->UserProfileFolder(), gun), document));
  }
  std::vector<int> ShootFrameSizes() const {
    std::vector<int> sizes;
    for (const auto& frame : Requests(kWriteShoot)) sizes.push_back(frame.bytes[4]);
    return sizes;
  }
  // The block as the frames carried it, payload after payload at their offsets.
  Bytes SentBlock() const {
    Bytes block;
    for (const auto& frame : Requests(kWriteShoot)) {
      const size_t offset = frame.bytes[5] | frame.bytes[6] << 8;
      block.resize(std::max(block.size(), offset + frame.bytes[4]));
      std::copy_n(frame.bytes.begin() + 8, frame.bytes[4], block.begin() + offset);
    }
    return block;
  }
};

TEST_F(MouseShootTest, FourFullGunsGoIn52FramesOf56AndOneOf8AfterTheInformationBlock) {
  for (int gun = 0; gun < 4; ++gun) WriteGun(gun, 30, gun == 2);
  OpenWired();
  ASSERT_EQ(page->WriteShootData(), 1);

  // 2920 = 0x0B68 bytes; the records at 24, 748, 1472 and 2196, each 180 events.
  Bytes expected = {0xAA, 0x55, 0x68, 0x0B, 0x04, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                    0x18, 0x00, 0xEC, 0x02, 0xC0, 0x05, 0x94, 0x08};
  for (int gun = 0; gun < 4; ++gun) {
    expected.insert(expected.end(), {0xB4, 0x00, 0x00, 0x00});
    for (int b = 0; b < 30; ++b) AppendCodes(expected, ShotOf(gun, b));
  }
  ASSERT_EQ(expected.size(), 2920u);
  EXPECT_EQ(Memory(MemoryArea::kRecoil, 0, 2920), expected);
  EXPECT_EQ(SentBlock(), expected);
  // Spelled out once more where the device keeps only the low bits: gun 1's first horizontal move of 300
  // arrives as 0x2C, gun 3's last delay of 70000 as 4464 (0x1170).
  EXPECT_EQ(Memory(MemoryArea::kRecoil, 748 + 4 + 8, 4), (Bytes{0x05, 0x00, 0x04, 0x2C}));
  EXPECT_EQ(Memory(MemoryArea::kRecoil, 2196 + 4 + 29 * 24 + 12, 4), (Bytes{0x70, 0x11, 0x05, 39}));

  std::vector<int> sizes(52, 56);
  sizes.push_back(8);
  EXPECT_EQ(ShootFrameSizes(), sizes);
  Bytes codes = {kReadInfo, kBegin};
  codes.insert(codes.end(), 53, kWriteShoot);
  codes.push_back(kEnd);
  EXPECT_EQ(SentCodes(), codes);
}

TEST_F(MouseShootTest, ThroughTheReceiverTheMouseIsAskedForBeforeEachStepAndTheFramesStay56) {
  WriteGun(0, 30);
  WriteGun(2, 2);
  norvane::testing::WriteText(mouse::GunFile(page->UserProfileFolder(), 3), "not a gun file");
  OpenReceiver();
  ASSERT_EQ(page->WriteShootData(), 1);

  // 808 = 0x0328 bytes: gun 0 at 24, gun 1 (no file) at 748, gun 2 (two bullets) at 752, gun 3 (not JSON)
  // at 804; guns without events take a record of four bytes.
  Bytes expected = {0xAA, 0x55, 0x28, 0x03, 0x04, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                    0x18, 0x00, 0xEC, 0x02, 0xF0, 0x02, 0x24, 0x03, 0xB4, 0x00, 0x00, 0x00};
  for (int b = 0; b < 30; ++b) AppendCodes(expected, ShotOf(0, b));
  expected.insert(expected.end(), {0x00, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00, 0x00});
  for (int b = 0; b < 2; ++b) AppendCodes(expected, ShotOf(2, b));
  expected.insert(expected.end(), {0x00, 0x00, 0x00, 0x00});
  ASSERT_EQ(expected.size(), 808u);
  EXPECT_EQ(Memory(MemoryArea::kRecoil, 0, 808), expected);
  EXPECT_EQ(SentBlock(), expected);

  // The information block in two frames of 24, the block in fourteen frames of 56 and one of 24.
  Bytes codes = {kLinkQuery, kReadInfo, kReadInfo, kLinkQuery, kBegin, kLinkQuery};
  codes.insert(codes.end(), 15, kWriteShoot);
  codes.insert(codes.end(), {kLinkQuery, kEnd});
  EXPECT_EQ(SentCodes(), codes);
  std::vector<int> sizes(14, 56);
  sizes.push_back(24);
  EXPECT_EQ(ShootFrameSizes(), sizes) << "the recoil block travels in frames of 56 on either link";
}

TEST_F(MouseShootTest, AFailureInTheMiddleIsReturnedAndTheSeriesStillClosed) {
  for (int gun = 0; gun < 4; ++gun) WriteGun(gun, 30);
  OpenWired();
  Emulator().AddFault(Mouse(), {.kind = FaultKind::kRefuse, .command = kWriteShoot, .skip = 20});
  EXPECT_EQ(page->WriteShootData(), protocol::kResultRefused);
  EXPECT_EQ(ShootFrameSizes().size(), 21u) << "nothing after the refused frame";
  EXPECT_EQ(SentCodes().back(), kEnd);

  // The receiver loses the mouse: the series that began is closed all the same.
  MakePage();
  OpenReceiver();
  Emulator().ClearFrameLog();
  Emulator().AddFault(Receiver(), {.kind = FaultKind::kNoReply, .command = kWriteShoot, .skip = 3});
  EXPECT_EQ(page->WriteShootData(), protocol::kResultNoReply);
  EXPECT_EQ(SentCodes().back(), kEnd);
  EXPECT_FALSE(Emulator().Counters(Mouse()).session_open);

  // Out of reach from the start: nothing is sent but the question.
  Emulator().SetLinkUp(Receiver(), false);
  Emulator().ClearFrameLog();
  EXPECT_EQ(page->WriteShootData(), protocol::kResultNoReply);
  EXPECT_EQ(SentCodes(), Bytes{kLinkQuery});
}

TEST_F(MouseShootTest, GunsTooLargeForOneBlockSendNothing) {
  // 4 × 4100 events would need 65640 bytes, more than the block's 16-bit size can say.
  Json::Value document;
  for (int e = 0; e < 4100; ++e) document["Events"].append(Json::Value(Json::objectValue));
  for (int gun = 0; gun < 4; ++gun)
    ASSERT_TRUE(JsonFileUtil().WriteJsonValue(mouse::GunFile(page->UserProfileFolder(), gun), document));
  OpenWired();
  const Bytes before = Memory(MemoryArea::kRecoil, 0, 64);
  EXPECT_EQ(page->WriteShootData(), CNorvaneMouseDevice::kShootTooLarge);
  EXPECT_EQ(SentCodes(), Bytes{kReadInfo});
  EXPECT_EQ(Memory(MemoryArea::kRecoil, 0, 64), before);
}

}  // namespace
}  // namespace norvane::devices::testing
