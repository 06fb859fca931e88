// The buttons and macros as the mouse stores them: each button's code at the place the mouse keeps it,
// macros numbered by first use, buttons the mouse lacks left alone, failures told.
#include <gtest/gtest.h>

#include "mouse_fixture.h"

namespace norvane::devices::testing {
namespace {

using emulator::FaultKind;
using emulator::MemoryArea;

class MouseWritesTest : public MouseTest {
 protected:
  void SetUp() override {
    OpenWired();
    ASSERT_EQ(page->ReadDeviceKeys(), 1);
    ASSERT_EQ(page->LoadProfile(), 1);
    Emulator().ClearFrameLog();
  }
  void Assign(int button, KeyFunction function) {
    page->SelectKey(button);
    KeyAssignment assignment = page->KeyList()[static_cast<size_t>(button)];
    assignment.current = function;
    page->SetSelectedKeyAssignment(assignment);
  }
  std::vector<uint8_t> CodeAt(int position) { return Memory(MemoryArea::kKeyTable, 3 * static_cast<size_t>(position), 3); }
};

TEST_F(MouseWritesTest, ButtonsGetTheirCodesAtTheMousesPositionsAndMacrosTheirBlockOrder) {
  WriteMacros({2, 1, 3});
  const int right = PositionOf(kRight), forward = PositionOf(kForward), cycle = PositionOf(kDpiCycle);
  const std::vector<uint8_t> before = Memory(MemoryArea::kKeyTable, 0, 512);
  Assign(1, {0x70, 2, 0});   // right: macro 2
  Assign(3, {0x30, 0xE9, 0x00});  // forward: volume up
  Assign(7, {0x71, 0, 3});   // DPI cycle: macro 0, three times
  Assign(10, {0x70, 1, 0});  // rapid fire: this mouse has no such button
  EXPECT_EQ(page->CollectUsedMacros(), (std::vector<int>{2, 0})) << "the absent button's macro is not used";

  ASSERT_EQ(page->CommitKeyAssignments(), 1);
  EXPECT_EQ(CodeAt(right), (std::vector<uint8_t>{0x70, 0, 0}));
  EXPECT_EQ(CodeAt(forward), (std::vector<uint8_t>{0x30, 0xE9, 0x00}));
  EXPECT_EQ(CodeAt(cycle), (std::vector<uint8_t>{0x71, 1, 3}));
  EXPECT_EQ(CodeAt(PositionOf(kLeft)), kLeft);
  // Beyond the mouse's eight positions nothing is written.
  const std::vector<uint8_t> after = Memory(MemoryArea::kKeyTable, 0, 512);
  EXPECT_EQ(std::vector<uint8_t>(after.begin() + 24, after.end()), std::vector<uint8_t>(before.begin() + 24, before.end()));
  EXPECT_EQ(Requests(kWriteKeyTable).size(), 1u) << "24 bytes in one frame";

  // Macro 2 (three events) first, then macro 0 (two events).
  const std::vector<uint8_t> expected = {
      0xAA, 0x55, 48, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // header: total 16 + 2 × 2 + 4 + 12 + 4 + 8
      20, 0, 36, 0,                                          // offsets
      3, 0, 0, 0,                                            // macro 2
      0x2C, 0x01, 0x8A, 6, 0x2D, 0x01, 0x0A, 6, 0x2E, 0x01, 0x8A, 6,
      2, 0, 0, 0,                                            // macro 0
      0x2C, 0x01, 0x8A, 4, 0x2D, 0x01, 0x0A, 4};
  EXPECT_EQ(Memory(MemoryArea::kMacros, 0, expected.size()), expected);
  EXPECT_TRUE(messages.empty());
}

// Back sits before forward on this mouse; given forward's function, its slot holds the same code as
// forward's own. Read again (a replug, a wake-up), each must still be found at its own slot, or an edit of
// one lands on the other.
TEST_F(MouseWritesTest, AButtonGivenAnotherButtonsFunctionIsStillToldApartAfterTheMouseIsReadAgain) {
  const int back = PositionOf(kBack), forward = PositionOf(kForward);
  ASSERT_LT(back, forward);
  Assign(4, {0x10, 0x10, 0x00});  // back: forward
  ASSERT_EQ(page->CommitKeyAssignments(), 1);
  ASSERT_EQ(CodeAt(back), kForward);
  ASSERT_EQ(page->ReadDeviceState(), 1);

  Assign(3, {0x13, 0x01, 0x00});  // forward: DPI up
  ASSERT_EQ(page->CommitKeyAssignments(), 1);
  EXPECT_EQ(CodeAt(forward), kDpiUp);
  EXPECT_EQ(CodeAt(back), kForward) << "back keeps what it was given";
  Assign(4, {0x30, 0xE9, 0x00});  // back: volume up
  ASSERT_EQ(page->CommitKeyAssignments(), 1);
  EXPECT_EQ(CodeAt(back), (std::vector<uint8_t>{0x30, 0xE9, 0x00}));
  EXPECT_EQ(CodeAt(forward), kDpiUp);
}

TEST_F(MouseWritesTest, ARefusedTableIsToldAndItsFailureReturnedTheProfileKeepsTheButtons) {
  Assign(3, {0x30, 0xE9, 0x00});
  Emulator().AddFault(Mouse(), {.kind = FaultKind::kRefuse, .command = kWriteKeyTable});
  EXPECT_EQ(page->WriteKeyTableFromProfile(0), protocol::kResultRefused);
  EXPECT_EQ(SentCodes().back(), kEnd) << "the series is closed";
  Emulator().AddFault(Mouse(), {.kind = FaultKind::kRefuse, .command = kWriteKeyTable});
  EXPECT_EQ(page->CommitKeyAssignments(), protocol::kResultRefused);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].textId, "key_write_failed_text");
  EXPECT_TRUE(Requests(kWriteMacros).empty());
  EXPECT_EQ(page->KeyList()[3].current, (KeyFunction{0x30, 0xE9, 0x00}));
  // A table longer than the mouse's key table cache is not written at all.
  std::vector<uint8_t> info = Memory(MemoryArea::kInfo, 0, 34);
  info[5] = 200;
  ASSERT_TRUE(Emulator().WriteMemory(Mouse(), MemoryArea::kInfo, 0, info));
  MakePage();
  OpenWired();
  EXPECT_NE(page->WriteKeyTableFromProfile(0), 1);
}

TEST_F(MouseWritesTest, MacrosTooLargeForTheMouseAreRefusedWithTheEventsToRemove) {
  // 2048 bytes of macro memory: 16 + 2 + 4 + 4 × 510 = 2062 bytes, 14 too many: 3 events plus one.
  WriteMacros({510});
  Assign(1, {0x70, 0, 0});
  EXPECT_EQ(page->WriteUsedMacros(), 4);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], (DeviceMessage{"message_text_16", 4}));
  EXPECT_TRUE(Requests(kWriteMacros).empty());
}

TEST_F(MouseWritesTest, AMacroThatIsGoneSendsTheButtonBackToItsDefault) {
  WriteMacros({1});
  Assign(4, {0x70, 3, 0});
  page->DropStaleMacroKeys();
  EXPECT_EQ(page->KeyList()[4].current, (KeyFunction{0x10, 0x08, 0x00}));
}

}  // namespace
}  // namespace norvane::devices::testing
