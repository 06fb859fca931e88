// Reading the keyboard's layout: information block, key tables and the key maps.
#include <gtest/gtest.h>

#include "devices/keyboard/key_positions.h"
#include "emulator/emulator.h"
#include "keyboard_fixture.h"

namespace norvane::devices::testing {
namespace {

using emulator::FaultKind;
using emulator::MemoryArea;
using keyboard::kNoPosition;

constexpr uint8_t kBegin = 0x01;
constexpr uint8_t kEnd = 0x02;
constexpr uint8_t kReadKeyTable = 0x07;
constexpr uint8_t kReadExtra = 0x1B;

using KeyboardLayoutTest = KeyboardTest;

TEST_F(KeyboardLayoutTest, MapsEveryKeyToTheFirstPositionHoldingItsCode) {
  OpenWired();
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  const auto& layout = page->Layout();
  EXPECT_EQ(layout.KeyPositions(), 129u);
  EXPECT_EQ(page->CommandChannel().BlockSize(), 387);
  EXPECT_EQ(layout.maps.keys[0], PositionOf(kCodeEscape));
  EXPECT_EQ(layout.maps.keys[64], PositionOf(kCodeA));
  EXPECT_EQ(layout.maps.keys[125], PositionOf(kCodeRightWin));
  EXPECT_NE(layout.maps.keys[64], 64) << "the keyboard's positions are not the page's order";
  // The blank keys and every key above 125 share 20 00 00: the first position that holds it.
  const std::vector<int> blanks = PositionsOf(kCodeBlank);
  ASSERT_GE(blanks.size(), 2u);
  EXPECT_EQ(layout.maps.keys[19], blanks.front());
  EXPECT_EQ(layout.maps.keys[104], blanks.front());
  EXPECT_EQ(layout.maps.keys[169], blanks.front());
  EXPECT_EQ(layout.maps.lights, layout.maps.keys);
  EXPECT_EQ(Emulator().Counters(Keyboard()).begin_count, 1);
  EXPECT_EQ(Emulator().Counters(Keyboard()).end_count, 1);
  EXPECT_EQ(Requests(kReadExtra).size(), 3u) << "129 bytes of the second table in 56-byte frames";
}

TEST_F(KeyboardLayoutTest, KeysBeyondTheDevicesPositionsAreNotOnIt) {
  OpenWired();
  // Only the first 100 positions count: A lies among them, Escape beyond.
  ASSERT_LT(PositionOf(kCodeA), 100);
  ASSERT_GE(PositionOf(kCodeEscape), 100);
  ASSERT_TRUE(Emulator().WriteMemory(Keyboard(), MemoryArea::kInfo, 5, std::vector<uint8_t>{100}));
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  EXPECT_EQ(page->CommandChannel().BlockSize(), 300);
  EXPECT_EQ(page->Layout().maps.keys[64], PositionOf(kCodeA));
  EXPECT_EQ(page->Layout().maps.keys[0], kNoPosition);
}

TEST_F(KeyboardLayoutTest, ThroughTheReceiverTheTableComesIn24ByteFrames) {
  OpenReceiver();
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  const auto frames = Requests(kReadKeyTable);
  ASSERT_EQ(frames.size(), 17u);  // 387 bytes
  EXPECT_EQ(frames[0].bytes[4], 24);
  EXPECT_EQ(frames[16].bytes[4], 387 - 16 * 24);
  EXPECT_EQ(page->Layout().maps.keys[64], PositionOf(kCodeA));
}

TEST_F(KeyboardLayoutTest, AnOversizedBlockStopsBeforeAnyTableAndStillEndsTheSeries) {
  OpenWired();
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  ASSERT_TRUE(Emulator().WriteMemory(Keyboard(), MemoryArea::kInfo, 5, std::vector<uint8_t>{171}));
  Emulator().ClearFrameLog();
  EXPECT_NE(page->ReadDeviceKeys(), 1);
  EXPECT_TRUE(Requests(kReadKeyTable).empty());
  EXPECT_EQ(Requests(kEnd).size(), 1u);
  EXPECT_EQ(page->Layout().KeyPositions(), 129u) << "the layout read before stays";
}

// Refusals, silence, a link that is down and an unplugged keyboard: the cached layout stays whole and the
// series is closed whenever it was opened.
TEST_F(KeyboardLayoutTest, AFailedReadKeepsThePreviousLayout) {
  OpenWired();
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  const keyboard::KeyboardLayout before = page->Layout();
  // The keyboard now reports other keys: a partial read must not mix them into the cache.
  std::vector<uint8_t> other(387, 0x30);
  ASSERT_TRUE(Emulator().WriteMemory(Keyboard(), MemoryArea::kKeyTable, 0, other));

  struct Case {
    FaultKind kind;
    int skip;
    int expected;
  };
  for (const Case& c : {Case{FaultKind::kRefuse, 3, -102}, Case{FaultKind::kRefuseAlt, 0, -103},
                        Case{FaultKind::kNoReply, 2, 0}}) {
    Emulator().ClearFaults(Keyboard());
    Emulator().AddFault(Keyboard(), {.kind = c.kind, .command = kReadKeyTable, .skip = c.skip});
    Emulator().ClearFrameLog();
    EXPECT_EQ(page->ReadDeviceKeys(), c.expected);
    EXPECT_EQ(page->Layout().keyTable, before.keyTable);
    EXPECT_EQ(page->Layout().maps.keys, before.maps.keys);
    EXPECT_EQ(Requests(kBegin).size(), 1u);
    EXPECT_EQ(Requests(kEnd).size(), 1u);
  }
  Emulator().ClearFaults(Keyboard());
  Emulator().Unplug(Keyboard());
  EXPECT_NE(page->ReadDeviceKeys(), 1);
  EXPECT_EQ(page->Layout().maps.keys, before.maps.keys);
}

TEST_F(KeyboardLayoutTest, AReceiverWhoseLinkIsDownReportsItAndChangesNothing) {
  OpenReceiver();
  Emulator().SetLinkUp(Receiver(), false);
  EXPECT_EQ(page->ReadDeviceKeys(), -101);
  EXPECT_FALSE(page->Layout().loaded);
  EXPECT_EQ(page->Layout().maps.keys[0], kNoPosition);
}

}  // namespace
}  // namespace norvane::devices::testing
