// Key tables, macros and the light mask as the keyboard stores them.
#include <gtest/gtest.h>

#include "keyboard_fixture.h"
#include "tests/support/callback_page_view.h"
#include "protocol/channel_opener.h"

namespace norvane::devices::testing {
namespace {

using emulator::FaultKind;
using emulator::MemoryArea;

constexpr uint8_t kBegin = 0x01;
constexpr uint8_t kEnd = 0x02;
constexpr uint8_t kWriteKeyTable = 0x09;
constexpr uint8_t kWriteMacros = 0x15;
constexpr uint8_t kReadInfo = 0x03;

class KeyboardWritesTest : public KeyboardTest {
 protected:
  norvane::testing::CallbackPageView view_;
  void SetUp() override {
    OpenWired();
    ASSERT_EQ(page->ReadDeviceKeys(), 1);
    ASSERT_EQ(page->LoadProfile(), 1);
    view_.Attach(*page, {.showMessage = [this](const DeviceMessage& message) { messages.push_back(message); }});
    Emulator().ClearFrameLog();
  }
  void Assign(int key, KeyFunction function) {
    page->SelectKey(key);
    KeyAssignment assignment = page->KeyList()[static_cast<size_t>(key)];
    assignment.current = function;
    page->SetSelectedKeyAssignment(assignment);
  }
  std::vector<uint8_t> CodeAt(MemoryArea area, int position) {
    return Memory(area, 3 * static_cast<size_t>(position), 3);
  }

  std::vector<DeviceMessage> messages;
};

TEST_F(KeyboardWritesTest, MacroAssignmentsAreRenumberedInOrderOfFirstUse) {
  WriteMacros({1, 3, 2, 1, 1});
  const int a = PositionOf(kCodeA), s = PositionOf(kCodeS), d = PositionOf(kCodeD);
  const int f = PositionOf(kCodeF), g = PositionOf(kCodeG), escape = PositionOf(kCodeEscape);
  Assign(64, {0x70, 2, 0});  // A
  Assign(65, {0x70, 7, 0});  // S: macro 7 does not exist
  Assign(66, {0x71, 4, 1});  // D
  Assign(67, {0x70, 2, 0});  // F: the same macro again
  Assign(68, {0x30, 0xE9, 0x00});
  ASSERT_EQ(page->WriteKeyTableFromProfile(0), 1);

  EXPECT_EQ(CodeAt(MemoryArea::kKeyTable, a), (std::vector<uint8_t>{0x70, 0, 0}));
  EXPECT_EQ(CodeAt(MemoryArea::kKeyTable, s), kCodeS) << "its default";
  EXPECT_EQ(CodeAt(MemoryArea::kKeyTable, d), (std::vector<uint8_t>{0x71, 1, 1}));
  EXPECT_EQ(CodeAt(MemoryArea::kKeyTable, f), (std::vector<uint8_t>{0x70, 0, 0}));
  EXPECT_EQ(CodeAt(MemoryArea::kKeyTable, g), (std::vector<uint8_t>{0x30, 0xE9, 0x00}));
  EXPECT_EQ(CodeAt(MemoryArea::kKeyTable, escape), kCodeEscape);
  EXPECT_EQ(page->CollectUsedMacros(), (std::vector<int>{2, 4}));

  const auto frames = Requests(kWriteKeyTable);
  ASSERT_EQ(frames.size(), 7u) << "387 bytes in 56-byte frames";
  EXPECT_EQ(frames[6].bytes[4], 387 - 6 * 56);
  EXPECT_EQ(Requests(kReadInfo).size(), 1u) << "the information block is refreshed first";
  EXPECT_EQ(Requests(kBegin).size(), 1u);
  EXPECT_EQ(Requests(kEnd).size(), 1u);
}

TEST_F(KeyboardWritesTest, TheMacroBlockHoldsTheUsedMacrosInTheirKeyTableOrder) {
  WriteMacros({1, 3, 2, 1, 1});
  Assign(64, {0x70, 2, 0});
  Assign(66, {0x71, 4, 0});
  EXPECT_EQ(page->WriteUsedMacros(), 0);
  EXPECT_TRUE(messages.empty());

  // 16 header bytes, 2 offsets, macro 2 (2 events) and macro 4 (1 event).
  const std::vector<uint8_t> expected = {
      0xAA, 0x55, 40,   0, 2,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0,  // header
      20,   0,    32,   0,                                               // offsets
      2,    0,    0,    0,                                               // macro 2: two events
      0x2C, 0x01, 0x8A, 6, 0x2D, 0x01, 0x0A, 6,                          // 300 ms down, 301 ms up, key 6
      1,    0,    0,    0,                                               // macro 4: one event
      0x2C, 0x01, 0x8A, 8};
  EXPECT_EQ(Memory(MemoryArea::kMacros, 0, expected.size()), expected);
  EXPECT_EQ(Requests(kWriteMacros).size(), 1u);
}

TEST_F(KeyboardWritesTest, MacrosTooLargeForTheKeyboardAreRefusedWithTheEventsToRemove) {
  WriteMacros({30});
  Assign(64, {0x70, 0, 0});
  ASSERT_TRUE(Emulator().WriteMemory(Keyboard(), MemoryArea::kInfo, 6, std::vector<uint8_t>{1}));
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  Emulator().ClearFrameLog();
  // 16 + 2 + 4 + 120 = 142 bytes against 128: 14 too many, 3 events and one more.
  EXPECT_EQ(page->WriteUsedMacros(), 4);
  EXPECT_EQ(messages, (std::vector<DeviceMessage>{{"message_text_16", 4}}));
  EXPECT_TRUE(Requests(kBegin).empty());
  EXPECT_EQ(page->WriteMacros({}), 0);
  EXPECT_TRUE(Requests(kBegin).empty());
}

TEST_F(KeyboardWritesTest, AFailedMacroWriteAnswersMinusOneAndTellsTheUser) {
  WriteMacros({2});
  Assign(64, {0x70, 0, 0});
  Emulator().AddFault(Keyboard(), {.kind = FaultKind::kRefuse, .command = kWriteMacros});
  EXPECT_EQ(page->WriteUsedMacros(), -1);
  EXPECT_EQ(Requests(kEnd).size(), 1u);
  page->CommandChannel().SetOpen(false);
  EXPECT_EQ(page->WriteUsedMacros(), -1);
  EXPECT_EQ(messages,
            (std::vector<DeviceMessage>{{"message_text_7", std::nullopt}, {"message_text_7", std::nullopt}}));
}

TEST_F(KeyboardWritesTest, AShortKeyListWritesItsKeysAndKeepsTheRest) {
  const int a = PositionOf(kCodeA), h = PositionOf(kCodeH), escape = PositionOf(kCodeEscape);
  const int beyond = PositionOf(kCodeIntl87);  // UI key 100: not in the short list
  std::vector<KeyAssignment> keys(page->KeyList().begin(), page->KeyList().begin() + 70);
  keys[64].current = {0x20, 0x00, 0x05};
  keys[69].current = {0x20, 0x00, 0x06};
  ASSERT_TRUE(Emulator().WriteMemory(Keyboard(), MemoryArea::kKeyTable, 3 * static_cast<size_t>(beyond),
                                     std::vector<uint8_t>{1, 2, 3}));
  ASSERT_EQ(page->WriteKeyTable(0, std::span<const KeyAssignment>(keys)), 1);
  EXPECT_EQ(CodeAt(MemoryArea::kKeyTable, a), (std::vector<uint8_t>{0x20, 0x00, 0x05}));
  EXPECT_EQ(CodeAt(MemoryArea::kKeyTable, h), (std::vector<uint8_t>{0x20, 0x00, 0x06}));
  EXPECT_EQ(CodeAt(MemoryArea::kKeyTable, beyond), kCodeIntl87) << "the rest comes from the table as read";
  // The byte form: three code bytes per key.
  const std::vector<uint8_t> codes = {0x20, 0x00, 0x1E};
  ASSERT_EQ(page->WriteKeyTable(0, std::span<const uint8_t>(codes)), 1);
  EXPECT_EQ(CodeAt(MemoryArea::kKeyTable, escape), (std::vector<uint8_t>{0x20, 0x00, 0x1E}));
}

TEST_F(KeyboardWritesTest, TheSecondTableStartsFromZerosAndTakesCodesAsAssigned) {
  const int a = PositionOf(kCodeA), escape = PositionOf(kCodeEscape);
  const std::vector<int> blanks = PositionsOf(kCodeBlank);
  ASSERT_GE(blanks.size(), 2u);
  std::vector<KeyAssignment> keys = page->KeyList();
  keys[64].current = {0x70, 9, 0};  // no renumbering, no fallback here
  ASSERT_EQ(page->WriteKeyTableExtra(0, std::span<const KeyAssignment>(keys)), 1);
  EXPECT_EQ(CodeAt(MemoryArea::kKeyTableExtra, escape), kCodeEscape);
  EXPECT_EQ(CodeAt(MemoryArea::kKeyTableExtra, a), (std::vector<uint8_t>{0x70, 9, 0}));
  // The blank keys all go to the first blank position; no key goes to the second.
  EXPECT_EQ(CodeAt(MemoryArea::kKeyTableExtra, blanks[1]), (std::vector<uint8_t>{0, 0, 0}));
}

TEST_F(KeyboardWritesTest, ThroughTheReceiverTheKeyTableTravelsIn24ByteFrames) {
  page->CommandChannel().SetOpen(false);
  OpenReceiver();
  Emulator().ClearFrameLog();
  ASSERT_EQ(page->WriteKeyTableFromProfile(0), 1);
  const auto frames = Requests(kWriteKeyTable);
  ASSERT_EQ(frames.size(), 17u);  // 387 bytes
  EXPECT_EQ(frames[0].bytes[4], 24);
  EXPECT_EQ(frames[16].bytes[5] | frames[16].bytes[6] << 8, 16 * 24);
}

TEST_F(KeyboardWritesTest, AFailedInformationRefreshSendsNothing) {
  Emulator().AddFault(Keyboard(), {.kind = FaultKind::kRefuse, .command = kReadInfo});
  EXPECT_EQ(page->WriteKeyTableFromProfile(0), -102);
  EXPECT_EQ(page->WriteKeyTableExtraFromProfile(0), 1) << "the fault hit once";
  Emulator().ClearFrameLog();
  Emulator().AddFault(Keyboard(), {.kind = FaultKind::kNoReply, .command = kReadInfo});
  EXPECT_EQ(page->WriteKeyTableFromProfile(0), 0);
  EXPECT_TRUE(Requests(kBegin).empty());
  EXPECT_TRUE(Requests(kWriteKeyTable).empty());
}

TEST_F(KeyboardWritesTest, AWriteThatStopsHalfwayReportsWhyAndEndsTheSeries) {
  Emulator().AddFault(Keyboard(), {.kind = FaultKind::kRefuseAlt, .command = kWriteKeyTable, .skip = 2});
  EXPECT_EQ(page->WriteKeyTableFromProfile(0), -103);
  EXPECT_EQ(Requests(kWriteKeyTable).size(), 3u);
  EXPECT_EQ(Requests(kEnd).size(), 1u);
  EXPECT_FALSE(Emulator().Counters(Keyboard()).session_open);
  EXPECT_EQ(page->WriteKeyTableFromProfile(1), -201) << "only page 0 exists";

  Emulator().Unplug(Keyboard());
  EXPECT_NE(page->WriteKeyTableFromProfile(0), 1);
  page->CommandChannel().SetOpen(false);
  EXPECT_EQ(page->WriteKeyTableFromProfile(0), 0);
}

TEST_F(KeyboardWritesTest, AKeyboardGoneInTheMiddleOfASeriesIsAFailure) {
  WriteMacros({40, 40});
  Assign(64, {0x70, 0, 0});
  Assign(65, {0x70, 1, 0});
  Emulator().AddFault(Keyboard(), {.kind = FaultKind::kWriteFailure, .command = kWriteKeyTable, .skip = 2});
  EXPECT_EQ(page->WriteKeyTableFromProfile(0), -1);
  Emulator().AddFault(Keyboard(), {.kind = FaultKind::kWriteFailure, .command = kWriteMacros, .skip = 1});
  EXPECT_EQ(page->WriteUsedMacros(), -1);
  EXPECT_EQ(Requests(kEnd).size(), 2u) << "each series was closed";
  EXPECT_FALSE(Emulator().Counters(Keyboard()).session_open);
}

TEST_F(KeyboardWritesTest, SelectionsOutsideTheKeyListAreIgnored) {
  const std::vector<KeyAssignment> before = page->KeyList();
  KeyAssignment macro;
  macro.current = {0x70, 1, 0};
  page->SelectKey(500);
  page->SetSelectedKeyAssignment(macro);
  page->SelectKey(-1);
  page->SetSelectedKeyAssignment(macro);
  EXPECT_EQ(page->KeyList(), before);
}

TEST_F(KeyboardWritesTest, AKeyTableIsNeverWrittenWithoutOneReadFirst) {
  const std::vector<uint8_t> before = Memory(MemoryArea::kKeyTable, 0, 512);
  CNorvaneKeyboardDevice fresh;
  fresh.CommandChannel().SetTimeLimits(std::chrono::milliseconds(250), std::chrono::milliseconds(250));
  ASSERT_EQ(protocol::OpenCommandInterface(fresh.CommandChannel(), PathOf(kKeyboardProduct, kVendorPage),
                                           protocol::LinkType::kWired),
            hid::OpenError::kNone);
  Emulator().AddFault(Keyboard(), {.kind = FaultKind::kRefuse, .command = 0x07});
  std::vector<KeyAssignment> keys(170);
  EXPECT_EQ(fresh.WriteKeyTable(0, std::span<const KeyAssignment>(keys)), -102);
  const std::vector<int> macros = {0};
  fresh.CommandChannel().SetOpen(false);
  EXPECT_EQ(fresh.WriteMacros(macros), -1) << "no information block: the macro memory is unknown";
  EXPECT_TRUE(Requests(kWriteKeyTable).empty());
  EXPECT_EQ(Memory(MemoryArea::kKeyTable, 0, 512), before);
}

// Mode 21: the set keys go to the keyboard as a light mask and into the profile; presenting shows each in
// the colour it was painted in.
TEST_F(KeyboardWritesTest, CustomKeyColoursBuildTheLightMask) {
  page->Profile().SetLightColors(std::vector<LightColor>(170), 0);  // every key dark
  ASSERT_TRUE(Emulator().WriteMemory(Keyboard(), MemoryArea::kLightMask, 0, std::vector<uint8_t>(21, 0xFF)));
  page->SetLightParams({.mode = 21, .brightness = 4, .red = 200, .green = 0, .blue = 10});
  page->RefreshKeyButtons();
  EXPECT_EQ(Memory(MemoryArea::kLightMask, 0, 21), std::vector<uint8_t>(21, 0))
      << "sent when the mode started";
  ASSERT_EQ(page->LiveMode(), 21);
  page->SetLedRecord(64, {0, 0, 0, 255, 0});  // full level, so the shown bytes are the colour itself
  page->SetCustomKeyColour(64, 0);
  page->SetCustomKeyColour(0, 0);
  page->SetCustomKeyColour(170, 0);  // outside the frame: ignored

  // Position p is bit p ÷ 21 of byte p mod 21.
  std::vector<uint8_t> mask(21, 0);
  for (const int position : {PositionOf(kCodeA), PositionOf(kCodeEscape)}) {
    mask[static_cast<size_t>(position % 21)] |= static_cast<uint8_t>(1 << (position / 21));
  }
  EXPECT_EQ(Memory(MemoryArea::kLightMask, 0, 21), mask);
  EXPECT_EQ(page->SendLightMask(), 1);
  EXPECT_EQ(Memory(MemoryArea::kLightMask, 0, 21), mask);

  ASSERT_TRUE(page->PresentFrame());
  EXPECT_EQ(page->LedAt(64).red, 200);
  EXPECT_EQ(page->LedAt(64).blue, 10);
  // Frame bytes are value × level ÷ 256.
  EXPECT_EQ(page->LastDeviceFrame()[3 * static_cast<size_t>(PositionOf(kCodeA))], 199);
  EXPECT_EQ(page->LastDeviceFrame()[3 * static_cast<size_t>(PositionOf(kCodeA)) + 2], 9)
      << "a painted key shows its own colour, blue included";

  CKeyboardProfiledata stored;
  stored.LoadEntry(ProfileFile());
  EXPECT_EQ(stored.GetLightColors(0, 170)[64].red, 200);
}

// The lighting panel's "keys on" and "keys off": every LED of the keyboard at once, one mask; with no custom
// group chosen the profile keeps the colours it had.
TEST_F(KeyboardWritesTest, FillingTheCustomColoursLightsOrDarkensEveryKey) {
  std::vector<LightColor> stored(170);
  stored[64] = {1, 2, 3, 0, 1};
  page->Profile().SetLightColors(stored, 0);
  page->SetLightParams({.mode = 21, .brightness = 4, .red = 0, .green = 90, .blue = 0});
  page->RefreshKeyButtons();
  ASSERT_EQ(page->LiveMode(), 21);

  page->FillCustomColours(1, 0);
  EXPECT_EQ(page->LedAt(5).green, 90);
  EXPECT_EQ(page->LedAt(5).mark, 1);
  // Every LED on the keyboard has its bit: the mask has a bit for each device position the layout maps.
  const std::vector<uint8_t> lit = Memory(MemoryArea::kLightMask, 0, 21);
  EXPECT_TRUE(lit[std::size_t(PositionOf(kCodeA) % 21)] & (1 << (PositionOf(kCodeA) / 21)));
  CKeyboardProfiledata saved;
  saved.LoadEntry(ProfileFile());
  EXPECT_EQ(saved.GetLightColors(0, 170)[64].green, 90) << "stored as group 0";

  page->FillCustomColours(0, -1);
  EXPECT_EQ(Memory(MemoryArea::kLightMask, 0, 21), std::vector<uint8_t>(21, 0));
  EXPECT_EQ(page->LedAt(64).green, 0);
  saved.LoadEntry(ProfileFile());
  EXPECT_EQ(saved.GetLightColors(0, 170)[64].green, 90) << "no group chosen: nothing stored";
}

}  // namespace
}  // namespace norvane::devices::testing
