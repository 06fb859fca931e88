// The built-in key tables: rows written out here by their values, the scan-code lookup a key capture uses,
// and the combos' rows.
#include "macro/key_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace norvane::macro {
namespace {

struct RowCase {
  std::size_t row;
  std::uint16_t virtualKey;
  KeyFunction function;
  std::string_view nameKey;
};

TEST(KeyTable, RowsHoldTheirKeys) {
  const std::span<const KeyNameRow> table = KeyNameTable();
  ASSERT_EQ(table.size(), 142u);
  for (const RowCase& c : {RowCase{0, 0xA2, {0x20, 0x01, 0x00}, "keyboard_key_LCtrl"},
                           RowCase{3, 0x5B, {0x20, 0x08, 0x00}, "keyboard_key_LWin"},
                           RowCase{7, 0x5C, {0x20, 0x80, 0x00}, "keyboard_key_RWin"},
                           RowCase{8, 0x41, {0x20, 0x00, 0x04}, "keyboard_key_A"},
                           RowCase{33, 0x5A, {0x20, 0x00, 0x1D}, "keyboard_key_Z"},
                           RowCase{43, 0x30, {0x20, 0x00, 0x27}, "keyboard_key_0"},
                           RowCase{44, 0x0D, {0x20, 0x00, 0x28}, "keyboard_key_Enter"},
                           RowCase{53, 0xDC, {0x20, 0x00, 0x31}, "keyboard_key_xiegang"},
                           RowCase{54, 0xBA, {0x20, 0x00, 0x33}, "keyboard_key_;"},
                           RowCase{72, 0x7B, {0x20, 0x00, 0x45}, "keyboard_key_F12"},
                           RowCase{101, 0x60, {0x20, 0x00, 0x62}, "keyboard_key_Num 0"},
                           RowCase{103, 0x5D, {0x20, 0x00, 0x65}, "keyboard_key_App"},
                           RowCase{104, 0xE2, {0x20, 0x00, 0x64}, "keyboard_key_K45"},
                           RowCase{112, 0x15, {0x20, 0x00, 0x90}, "keyboard_key_K151"},
                           RowCase{113, 0xFF, {0x20, 0x00, 0x32}, "keyboard_key_K42"},
                           RowCase{114, 0xB7, {0x30, 0x92, 0x01}, "keyboard_key_Launch App2"},
                           RowCase{119, 0xAF, {0x30, 0xE9, 0x00}, "keyboard_key_Volume Up"},
                           RowCase{130, 0xA9, {0x30, 0x26, 0x02}, "wed_stop"},
                           RowCase{131, 0xB5, {0x30, 0x83, 0x01}, "keyboard_key_Launch Media Select"},
                           RowCase{132, 0xFF, {0x40, 0x01, 0x00}, "keyboard_key_Power"},
                           RowCase{134, 0xFF, {0x40, 0x04, 0x00}, "keyboard_key_Wakeup"},
                           RowCase{135, 0x101, {0xD0, 0xA2, 0x01}, "keyboard_key_M1"},
                           RowCase{139, 0x105, {0xD0, 0xA2, 0x05}, "keyboard_key_M5"},
                           RowCase{140, 0xFF, {0xA0, 0x01, 0x00}, "keyboard_key_FN"},
                           RowCase{141, 0xFF, {0xA0, 0x1B, 0x00}, "keyboard_key_GM"}}) {
    const KeyNameRow& row = table[c.row];
    EXPECT_EQ(row.virtualKey, c.virtualKey) << c.row;
    EXPECT_EQ(row.function, c.function) << c.row;
    EXPECT_EQ(row.nameKey, c.nameKey) << c.row;
  }
}

TEST(KeyTable, NoTwoRowsShareAFunctionOrAName) {
  std::set<std::int64_t> functions;
  std::set<std::string_view> names;
  for (const KeyNameRow& row : KeyNameTable()) {
    EXPECT_TRUE(functions.insert(row.function.Pack()).second) << row.nameKey;
    EXPECT_TRUE(names.insert(row.nameKey).second) << row.nameKey;
  }
}

TEST(KeyTable, RowOfFunctionComparesTypeAndBothData) {
  EXPECT_EQ(KeyRowOfFunction({0x20, 0x00, 0x04}), 8u);
  EXPECT_EQ(KeyRowOfFunction({0xD0, 0xA2, 0x03}), 137u);
  EXPECT_FALSE(KeyRowOfFunction({0x00, 0x00, 0x04}));  // A's usage under another type
  EXPECT_FALSE(KeyRowOfFunction({0x20, 0x02, 0x04}));  // Shift+A is no row of its own
}

TEST(KeyTable, ScanCodesFindTheirRows) {
  const std::span<const KeyNameRow> table = KeyNameTable();
  ASSERT_EQ(KeyRowScanCodes().size(), 113u);
  struct Case {
    ScanCode scan;
    std::string_view nameKey;
  };
  for (const Case& c :
       {Case{{0x1D, false}, "keyboard_key_LCtrl"}, Case{{0x1D, true}, "keyboard_key_RCtrl"},
        Case{{0x38, true}, "keyboard_key_RAlt"}, Case{{0x36, false}, "keyboard_key_RShift"},
        Case{{0x1E, false}, "keyboard_key_A"}, Case{{0x1C, false}, "keyboard_key_Enter"},
        Case{{0x1C, true}, "keyboard_key_Num Enter"}, Case{{0x35, false}, "keyboard_key_/"},
        Case{{0x35, true}, "keyboard_key_Num /"}, Case{{0x45, true}, "keyboard_key_Num Lock"},
        Case{{0x45, false}, "keyboard_key_Pause"}, Case{{0x37, true}, "keyboard_key_Print Scr"},
        Case{{0x47, true}, "keyboard_key_Home"}, Case{{0x47, false}, "keyboard_key_Num 7"},
        Case{{0x57, false}, "keyboard_key_F11"}, Case{{0x5D, true}, "keyboard_key_App"},
        Case{{0x73, false}, "keyboard_key_K56"}, Case{{0xF1, false}, "keyboard_key_K150"},
        // the non-US # key reports backslash's code; the first row wins
        Case{{0x2B, false}, "keyboard_key_xiegang"}}) {
    const std::optional<std::size_t> row = KeyRowOfScanCode(c.scan);
    ASSERT_TRUE(row) << c.nameKey;
    EXPECT_EQ(table[*row].nameKey, c.nameKey);
  }
  EXPECT_FALSE(KeyRowOfScanCode({0x11, true}));
  EXPECT_FALSE(KeyRowOfScanCode({0x00, false}));
}

// Capture gets its scan codes from the Linux key table; every key row must be one it can deliver, and two
// rows sharing one would make the second unreachable.
TEST(KeyTable, EveryScanCodeRowIsOneALinuxKeyGives) {
  std::set<std::pair<int, bool>> seen;
  for (const ScanCode& scan : KeyRowScanCodes()) {
    const std::optional<int> key = LinuxKeyOfScanCode(scan);
    ASSERT_TRUE(key) << int{scan.code} << (scan.extended ? " extended" : "");
    EXPECT_EQ(ScanCodeOfLinuxKey(*key), scan);
    EXPECT_TRUE(seen.insert({scan.code, scan.extended}).second) << int{scan.code};
  }
  const std::span<const KeyNameRow> table = KeyNameTable();
  const auto nameOfLinuxKey = [&](int key) {
    return table[KeyRowOfScanCode(*ScanCodeOfLinuxKey(key)).value()].nameKey;
  };
  EXPECT_EQ(nameOfLinuxKey(30), "keyboard_key_A");
  EXPECT_EQ(nameOfLinuxKey(97), "keyboard_key_RCtrl");
  EXPECT_EQ(nameOfLinuxKey(69), "keyboard_key_Num Lock");
  EXPECT_EQ(nameOfLinuxKey(119), "keyboard_key_Pause");
  EXPECT_EQ(nameOfLinuxKey(122), "keyboard_key_K151");
}

TEST(KeyCombos, RowsInComboOrder) {
  const auto functions = [](std::span<const KeyFunction> rows) {
    return std::vector(rows.begin(), rows.end());
  };
  EXPECT_EQ(functions(MouseButtonFunctions()),
            (std::vector<KeyFunction>{
                {0x10, 0x01, 0}, {0x10, 0x04, 0}, {0x10, 0x02, 0}, {0x10, 0x10, 0}, {0x10, 0x08, 0}}));
  EXPECT_EQ(functions(DpiStepFunctions()),
            (std::vector<KeyFunction>{{0x13, 1, 0}, {0x13, 2, 0}, {0x13, 3, 0}}));
  EXPECT_EQ(functions(SystemKeyFunctions()),
            (std::vector<KeyFunction>{{0x40, 1, 0}, {0x40, 2, 0}, {0x40, 4, 0}}));
  EXPECT_EQ(functions(MediaKeyFunctions()), (std::vector<KeyFunction>{{0x30, 0x83, 0x01},
                                                                      {0x30, 0xCD, 0x00},
                                                                      {0x30, 0xB7, 0x00},
                                                                      {0x30, 0xB6, 0x00},
                                                                      {0x30, 0xB5, 0x00},
                                                                      {0x30, 0xEA, 0x00},
                                                                      {0x30, 0xE9, 0x00},
                                                                      {0x30, 0xE2, 0x00},
                                                                      {0x30, 0x23, 0x02},
                                                                      {0x30, 0x27, 0x02},
                                                                      {0x30, 0x26, 0x02},
                                                                      {0x30, 0x24, 0x02},
                                                                      {0x30, 0x25, 0x02},
                                                                      {0x30, 0x2A, 0x02},
                                                                      {0x30, 0x21, 0x02},
                                                                      {0x30, 0x94, 0x01},
                                                                      {0x30, 0x92, 0x01},
                                                                      {0x30, 0x8A, 0x01}}));

  const std::vector<std::uint8_t> usages = {0x12, 0x11, 0x1D, 0x16, 0x06, 0x1B, 0x19, 0x09, 0x04, 0x2D, 0x2E};
  const std::vector<std::string_view> names = {
      "custem_open",  "custem_new",  "custem_undo",       "custem_save",     "custem_copy",   "custem_cut",
      "custem_paste", "custem_find", "custem_select_all", "custem_zoom_out", "custem_zoom_in"};
  const std::span<const ShortcutRow> shortcuts = ShortcutTable();
  ASSERT_EQ(shortcuts.size(), usages.size());
  for (std::size_t i = 0; i < shortcuts.size(); ++i) {
    EXPECT_EQ(shortcuts[i].function, (KeyFunction{0x20, 0x10, usages[i]})) << i;
    EXPECT_EQ(shortcuts[i].nameKey, names[i]) << i;
  }
}

// A media or system key chosen in its combo is labelled by the key table, so each must have a row there.
TEST(KeyCombos, MediaAndSystemRowsAreKeyTableRows) {
  for (const KeyFunction& function : MediaKeyFunctions()) EXPECT_TRUE(KeyRowOfFunction(function));
  for (const KeyFunction& function : SystemKeyFunctions()) EXPECT_TRUE(KeyRowOfFunction(function));
}

TEST(KeyCombos, ModifierChoicesFoldLeftAndRight) {
  const int choices[] = {1, 2, 3, 4, 1, 2, 3, 4};  // Ctrl, Shift, Alt, Win, then their right-hand twins
  const std::uint8_t bits[] = {0x01, 0x02, 0x04, 0x08, 0x01, 0x02, 0x04, 0x08};
  for (std::size_t row = 0; row < 8; ++row) {
    EXPECT_EQ(ModifierChoiceOfRow(row), choices[row]) << row;
    EXPECT_EQ(ModifierBitOfChoice(ModifierChoiceOfRow(row)), bits[row]) << row;
  }
  for (int choice : {-1, 0, 5}) EXPECT_EQ(ModifierBitOfChoice(choice), 0) << choice;
}

TEST(KeyCombos, KnownFunctionTypes) {
  for (int type : {0x00, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x20, 0x21, 0x22, 0x23,
                   0x30, 0x40, 0x50, 0x60, 0x70, 0x71, 0x72, 0xA0, 0xB0, 0xC0, 0xD0}) {
    EXPECT_TRUE(IsKnownFunctionType(std::uint8_t(type))) << type;
  }
  for (int type : {0x01, 0x0F, 0x17, 0x24, 0x31, 0x41, 0x73, 0x80, 0x90, 0xA1, 0xD1, 0xFF}) {
    EXPECT_FALSE(IsKnownFunctionType(std::uint8_t(type))) << type;
  }
}

}  // namespace
}  // namespace norvane::macro
