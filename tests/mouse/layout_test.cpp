// What the mouse tells about itself: its information block, its key table and where the page's buttons sit
// in it, read in one series on either link; damaged or failed reads leave what was known.
#include <gtest/gtest.h>

#include "mouse_fixture.h"

namespace norvane::devices::testing {
namespace {

using emulator::FaultKind;
using emulator::MemoryArea;
using mouse::kNoButton;

class MouseLayoutTest : public MouseTest {};

TEST_F(MouseLayoutTest, TheButtonsAreFoundWhereTheMouseKeepsThemAndTheMissingOnesAreAbsent) {
  OpenWired();
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  const mouse::ButtonMap& map = page->Layout().buttons;
  EXPECT_EQ(map[0], PositionOf(kLeft));
  EXPECT_EQ(map[1], PositionOf(kRight));
  EXPECT_EQ(map[2], PositionOf(kMiddle));
  EXPECT_EQ(map[3], PositionOf(kForward));
  EXPECT_EQ(map[4], PositionOf(kBack));
  EXPECT_EQ(map[5], PositionOf(kDpiUp));
  EXPECT_EQ(map[6], PositionOf(kDpiDown));
  EXPECT_EQ(map[7], PositionOf(kDpiCycle));
  EXPECT_NE(PositionOf(kForward), 3) << "the mouse's order is not the page's";
  // This mouse has eight of the eleven buttons.
  EXPECT_EQ(map[8], kNoButton);
  EXPECT_EQ(map[9], kNoButton);
  EXPECT_EQ(map[10], kNoButton);
  EXPECT_EQ(page->CommandChannel().BlockSize(), 24) << "three table bytes for each of the eight positions";
  // One series: the information block, then the table.
  EXPECT_EQ(SentCodes(), (std::vector<uint8_t>{kBegin, kReadInfo, kReadKeyTable, kEnd}));
  const mouse::DpiScale scale = page->DpiScale();
  EXPECT_EQ(scale.sensor, 0x3325);
  EXPECT_EQ(scale.HighestDpi(), 9900);
}

TEST_F(MouseLayoutTest, AMouseWithEveryButtonAndAnotherSensor) {
  Emulator().UseMouseFixture(Mouse(), emulator::MouseFixture::kElevenButtons);
  OpenReceiver();
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  const mouse::ButtonMap& map = page->Layout().buttons;
  const std::vector<Code> codes = {kLeft,    kRight,    kMiddle,  kForward,  kBack,     kDpiUp,
                                   kDpiDown, kDpiCycle, kModeKey, kDpiShift, kRapidFire};
  for (size_t button = 0; button < codes.size(); ++button)
    EXPECT_EQ(map[button], PositionOf(codes[button])) << "button " << button;
  // Through the receiver the link is asked first, and reads travel in frames of 24.
  EXPECT_EQ(Requests(kLinkQuery).size(), 1u);
  EXPECT_EQ(Requests(kReadKeyTable).size(), 2u) << "36 bytes in frames of 24";

  Emulator().UseMouseFixture(Mouse(), emulator::MouseFixture::kOtherSensor);
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  EXPECT_EQ(page->DpiScale().DpiOf(10), 700);
  EXPECT_EQ(page->DpiScale().PositionOf(150), 0);
}

TEST_F(MouseLayoutTest, AShorterTableLeavesNoButtonWhereItWasBefore) {
  OpenWired();
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  const mouse::ButtonMap before = page->Layout().buttons;
  // The mouse now reports only its first two positions: every button found behind them is gone.
  std::vector<uint8_t> info = Memory(MemoryArea::kInfo, 0, 34);
  info[5] = 2;
  ASSERT_TRUE(Emulator().WriteMemory(Mouse(), MemoryArea::kInfo, 0, info));
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  int behind = 0;
  for (size_t button = 0; button < before.size(); ++button) {
    if (before[button] == kNoButton) continue;
    if (before[button] < 2) {
      EXPECT_EQ(page->Layout().buttons[button], before[button]) << "button " << button;
    } else {
      ++behind;
      EXPECT_EQ(page->Layout().buttons[button], kNoButton) << "button " << button;
    }
  }
  EXPECT_GE(behind, 6);
}

TEST_F(MouseLayoutTest, ABlockTooLargeOrAFailedReadKeepsWhatWasKnown) {
  OpenWired();
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  const mouse::MouseLayout before = page->Layout();

  std::vector<uint8_t> info = Memory(MemoryArea::kInfo, 0, 34);
  info[5] = 171;  // 513 table bytes: more than any key table holds
  ASSERT_TRUE(Emulator().WriteMemory(Mouse(), MemoryArea::kInfo, 0, info));
  Emulator().ClearFrameLog();
  EXPECT_NE(page->ReadDeviceKeys(), 1);
  EXPECT_TRUE(Requests(kReadKeyTable).empty()) << "no table is read with a block that cannot be";
  EXPECT_EQ(SentCodes().back(), kEnd) << "the series is closed";
  EXPECT_EQ(page->Layout().info, before.info);
  EXPECT_EQ(page->Layout().buttons, before.buttons);

  info[5] = 8;
  ASSERT_TRUE(Emulator().WriteMemory(Mouse(), MemoryArea::kInfo, 0, info));
  Emulator().AddFault(Mouse(), {.kind = FaultKind::kRefuse, .command = kReadKeyTable});
  EXPECT_EQ(page->ReadDeviceKeys(), protocol::kResultRefused);
  EXPECT_EQ(page->Layout().keyTable, before.keyTable);
}

TEST_F(MouseLayoutTest, NothingIsAskedWhileTheReceiverCannotReachTheMouse) {
  OpenReceiver();
  Emulator().SetLinkUp(Receiver(), false);
  std::vector<SyncResult> results;
  view.Attach(*page, {.showSyncResult = [&](SyncResult result) { results.push_back(result); }});
  EXPECT_NE(page->ReadDeviceKeys(), 1);
  EXPECT_FALSE(page->Layout().loaded);
  EXPECT_EQ(SentCodes(), (std::vector<uint8_t>{kLinkQuery}));
  EXPECT_EQ(results, (std::vector<SyncResult>{SyncResult::kNoReply}));
}

TEST_F(MouseLayoutTest, AMouseWithAnotherInformationBlockStartsWithNoPlaceKnown) {
  OpenWired();
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  const int back = PositionOf(kBack), forward = PositionOf(kForward);
  EXPECT_EQ(page->Layout().known[3], forward);
  // Forward's code now at back's slot too, and the information block names another sensor.
  ASSERT_TRUE(
      Emulator().WriteMemory(Mouse(), MemoryArea::kKeyTable, 3 * static_cast<size_t>(back), kForward));
  std::vector<uint8_t> info = Memory(MemoryArea::kInfo, 0, 34);
  info[9] ^= 0x01;
  ASSERT_TRUE(Emulator().WriteMemory(Mouse(), MemoryArea::kInfo, 0, info));
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  EXPECT_EQ(page->Layout().known[3], kNoButton);
  EXPECT_EQ(page->Layout().buttons[3], std::min(back, forward)) << "the first, as nothing is known";
}

// Tables written by hand: left at 0, forward at 1, back at 2.
TEST(MouseButtonPlaces, AKnownPlaceSettlesACodeHeldTwice) {
  const std::vector<uint8_t> clean{0x10, 0x01, 0x00, 0x10, 0x10, 0x00, 0x10, 0x08, 0x00};
  mouse::ButtonMap known = mouse::MouseLayout::EmptyButtons();
  mouse::ButtonMap map = mouse::PlaceButtons(clean, 3, known);
  EXPECT_EQ(map[0], 0);
  EXPECT_EQ(map[3], 1);
  EXPECT_EQ(map[4], 2);
  EXPECT_EQ(known, map) << "every code held once: every place is known";

  // Forward given back's function: back's code is held at 1 and 2.
  const std::vector<uint8_t> twice{0x10, 0x01, 0x00, 0x10, 0x08, 0x00, 0x10, 0x08, 0x00};
  EXPECT_EQ(mouse::BuildButtonMap(twice, 3)[4], 1) << "without knowledge, the first";
  map = mouse::PlaceButtons(twice, 3, known);
  EXPECT_EQ(map[4], 2);
  EXPECT_EQ(map[3], kNoButton);
  EXPECT_EQ(known[3], 1) << "what is not seen is not forgotten";

  std::vector<KeyAssignment> keys(mouse::kButtonCount);
  keys[3].current = {0x10, 0x08, 0x00};
  PlaceReassignedKeys(map, kNoButton, twice, 3, keys, known);
  EXPECT_EQ(map[3], 1);
  // A known place that holds something else, or that another button took, is not given back.
  map[3] = kNoButton;
  keys[3].current = {0x30, 0xE9, 0x00};
  PlaceReassignedKeys(map, kNoButton, twice, 3, keys, known);
  EXPECT_EQ(map[3], kNoButton);
}

}  // namespace
}  // namespace norvane::devices::testing
