// The recoil block sent to the mouse: the information read first, the link asked before each step through
// the receiver, the block in frames of 56 on either link, and a series that is always closed.
#include <gtest/gtest.h>

#include "devices/mouse/recoil.h"
#include "mouse_fixture.h"
#include "profiles/json_file_util.h"

namespace norvane::devices::testing {
namespace {

using emulator::FaultKind;
using emulator::MemoryArea;

constexpr uint8_t kWriteShoot = 0x17;

class MouseShootTest : public MouseTest {
 protected:
  // Gun n's file with `bullets` bullets (six events each); every distance is the gun's number + 1.
  void WriteGun(int gun, int bullets) {
    Json::Value document;
    for (int b = 0; b < bullets; ++b)
      mouse::WriteBullet(document, b, {.x = gun + 1, .y = gun + 1, .delay = 60 + b});
    ASSERT_TRUE(JsonFileUtil().WriteJsonValue(mouse::GunFile(page->UserProfileFolder(), gun), document));
  }
  // The block as the recoil layout lays it out, from the files' events.
  std::vector<uint8_t> ExpectedBlock() {
    std::vector<macro::EventRecord> guns;
    for (int gun = 0; gun < 4; ++gun) guns.push_back(mouse::ReadGunEvents(mouse::GunFile(page->UserProfileFolder(), gun)));
    return *mouse::BuildRecoilBlock(guns);
  }
  std::vector<int> ShootFrameSizes() const {
    std::vector<int> sizes;
    for (const auto& frame : Requests(kWriteShoot)) sizes.push_back(frame.bytes[4]);
    return sizes;
  }
};

TEST_F(MouseShootTest, FourFullGunsGoIn52FramesOf56AndOneOf8AfterTheInformationBlock) {
  for (int gun = 0; gun < 4; ++gun) WriteGun(gun, 30);
  OpenWired();
  ASSERT_EQ(page->WriteShootData(), 1);
  const std::vector<uint8_t> expected = ExpectedBlock();
  ASSERT_EQ(expected.size(), 2920u);
  EXPECT_EQ(Memory(MemoryArea::kRecoil, 0, 2920), expected);
  std::vector<int> sizes(52, 56);
  sizes.push_back(8);
  EXPECT_EQ(ShootFrameSizes(), sizes);
  std::vector<uint8_t> codes = {kReadInfo, kBegin};
  codes.insert(codes.end(), 53, kWriteShoot);
  codes.push_back(kEnd);
  EXPECT_EQ(SentCodes(), codes);
  // The frames lie end to end from position 0.
  const auto frames = Requests(kWriteShoot);
  EXPECT_EQ(frames[1].bytes[5] | frames[1].bytes[6] << 8, 56);
  EXPECT_EQ(frames[52].bytes[5] | frames[52].bytes[6] << 8, 52 * 56);
}

TEST_F(MouseShootTest, ThroughTheReceiverTheMouseIsAskedForBeforeEachStepAndTheFramesStay56) {
  WriteGun(0, 30);
  WriteGun(2, 2);
  norvane::testing::WriteText(mouse::GunFile(page->UserProfileFolder(), 3), "not a gun file");
  OpenReceiver();
  ASSERT_EQ(page->WriteShootData(), 1);
  // Guns 1 and 3 have no events: four-byte records.
  const std::vector<uint8_t> expected = ExpectedBlock();
  ASSERT_EQ(expected.size(), 40u + 4 * (180 + 12));
  EXPECT_EQ(Memory(MemoryArea::kRecoil, 0, expected.size()), expected);
  // The information block in two frames of 24, the block (808 bytes) in fourteen frames of 56 and one of 24.
  std::vector<uint8_t> codes = {kLinkQuery, kReadInfo, kReadInfo, kLinkQuery, kBegin, kLinkQuery};
  codes.insert(codes.end(), 15, kWriteShoot);
  codes.insert(codes.end(), {kLinkQuery, kEnd});
  EXPECT_EQ(SentCodes(), codes);
  EXPECT_EQ(ShootFrameSizes().front(), 56) << "the recoil block travels in frames of 56 on either link";
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
  EXPECT_EQ(SentCodes(), std::vector<uint8_t>{kLinkQuery});
}

TEST_F(MouseShootTest, GunsTooLargeForOneBlockSendNothing) {
  Json::Value document;
  for (int e = 0; e < 4100; ++e) document["Events"].append(Json::Value(Json::objectValue));
  for (int gun = 0; gun < 4; ++gun)
    ASSERT_TRUE(JsonFileUtil().WriteJsonValue(mouse::GunFile(page->UserProfileFolder(), gun), document));
  OpenWired();
  const std::vector<uint8_t> before = Memory(MemoryArea::kRecoil, 0, 64);
  EXPECT_EQ(page->WriteShootData(), CNorvaneMouseDevice::kShootTooLarge);
  EXPECT_EQ(SentCodes(), std::vector<uint8_t>{kReadInfo});
  EXPECT_EQ(Memory(MemoryArea::kRecoil, 0, 64), before);
}

}  // namespace
}  // namespace norvane::devices::testing
