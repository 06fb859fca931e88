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
                           RowCase{7, 0x5C, {0x20, 0x80, 0x00}, "keyboard_key_RWin"},
                           RowCase{8, 0x41, {0x20, 0x00, 0x04}, "keyboard_key_A"},
                           RowCase{44, 0x0D, {0x20, 0x00, 0x28}, "keyboard_key_Enter"},
                           RowCase{103, 0x5D, {0x20, 0x00, 0x65}, "keyboard_key_App"},
                           RowCase{113, 0xFF, {0x20, 0x00, 0x32}, "keyboard_key_K42"},
                           RowCase{114, 0xB7, {0x30, 0x92, 0x01}, "keyboard_key_Launch App2"},
                           RowCase{131, 0xB5, {0x30, 0x83, 0x01}, "keyboard_key_Launch Media Select"},
                           RowCase{135, 0x101, {0xD0, 0xA2, 0x01}, "keyboard_key_M1"},
                           RowCase{141, 0xFF, {0xA0, 0x1B, 0x00}, "keyboard_key_GM"}}) {
    const KeyNameRow& row = table[c.row];
    EXPECT_EQ(row.virtualKey, c.virtualKey) << c.row;
    EXPECT_EQ(row.function, c.function) << c.row;
    EXPECT_EQ(row.nameKey, c.nameKey) << c.row;
  }
}

// Lookups take the first match, so a duplicate would hide a row.
TEST(KeyTable, NoTwoRowsShareAFunctionOrAName) {
  std::set<std::int64_t> functions;
  std::set<std::string_view> names;
  for (const KeyNameRow& row : KeyNameTable()) {
    EXPECT_TRUE(functions.insert(row.function.Pack()).second) << row.nameKey;
    EXPECT_TRUE(names.insert(row.nameKey).second) << row.nameKey;
  }
}

TEST(KeyTable, ScanCodesFindTheirRows) {
  ASSERT_EQ(KeyRowScanCodes().size(), 113u);
  struct Case {
    ScanCode scan;
    std::string_view nameKey;
  };
  for (const Case& c : {Case{{0x1D, false}, "keyboard_key_LCtrl"}, Case{{0x1D, true}, "keyboard_key_RCtrl"},
                        Case{{0x1E, false}, "keyboard_key_A"}, Case{{0x1C, true}, "keyboard_key_Num Enter"},
                        Case{{0x35, true}, "keyboard_key_Num /"}, Case{{0x45, true}, "keyboard_key_Num Lock"},
                        Case{{0x45, false}, "keyboard_key_Pause"}, Case{{0x47, false}, "keyboard_key_Num 7"},
                        Case{{0x71, false}, "keyboard_key_K150"}, Case{{0x72, false}, "keyboard_key_K151"},
                        Case{{0x36, true}, "keyboard_key_RShift"},
                        // the non-US # key reports backslash's code; the first row wins
                        Case{{0x2B, false}, "keyboard_key_xiegang"}}) {
    const std::optional<std::size_t> row = KeyRowOfScanCode(c.scan);
    ASSERT_TRUE(row) << c.nameKey;
    EXPECT_EQ(KeyNameTable()[*row].nameKey, c.nameKey);
  }
  EXPECT_FALSE(KeyRowOfScanCode({0x11, true}));
  EXPECT_FALSE(KeyRowOfScanCode({0x00, false}));
}

// Capture gets its scan codes from the Linux key table: every key row must be one it can deliver, and two
// rows sharing one would make the second unreachable.
TEST(KeyTable, EveryScanCodeRowIsOneALinuxKeyGives) {
  std::set<std::pair<int, bool>> seen;
  for (const ScanCode& scan : KeyRowScanCodes()) {
    const std::optional<int> key = LinuxKeyOfScanCode(scan);
    ASSERT_TRUE(key) << int{scan.code} << (scan.extended ? " extended" : "");
    EXPECT_EQ(ScanCodeOfLinuxKey(*key), scan);
    EXPECT_TRUE(seen.insert({scan.code, scan.extended}).second) << int{scan.code};
  }
}

TEST(KeyCombos, RowsInComboOrder) {
  const auto data = [](std::span<const KeyFunction> rows) {
    std::vector<unsigned> values;
    for (const KeyFunction& row : rows) values.push_back(unsigned{row.data2} << 8 | row.data1);
    return values;
  };
  EXPECT_EQ(data(MouseButtonFunctions()), (std::vector<unsigned>{0x01, 0x04, 0x02, 0x10, 0x08}));
  EXPECT_EQ(data(DpiStepFunctions()), (std::vector<unsigned>{1, 2, 3}));
  EXPECT_EQ(data(SystemKeyFunctions()), (std::vector<unsigned>{1, 2, 4}));
  EXPECT_EQ(data(MediaKeyFunctions()),
            (std::vector<unsigned>{0x0183, 0x00CD, 0x00B7, 0x00B6, 0x00B5, 0x00EA, 0x00E9, 0x00E2, 0x0223,
                                   0x0227, 0x0226, 0x0224, 0x0225, 0x022A, 0x0221, 0x0194, 0x0192, 0x018A}));
  for (const KeyFunction& row : MediaKeyFunctions()) EXPECT_EQ(row.type, 0x30);

  const std::span<const ShortcutRow> shortcuts = ShortcutTable();
  ASSERT_EQ(shortcuts.size(), 11u);
  EXPECT_EQ(shortcuts[0].function, (KeyFunction{0x20, 0x10, 0x12}));
  EXPECT_EQ(shortcuts[0].nameKey, "custem_open");
  EXPECT_EQ(shortcuts[10].function, (KeyFunction{0x20, 0x10, 0x2E}));
  EXPECT_EQ(shortcuts[10].nameKey, "custem_zoom_in");
}

// A media or system key chosen in its combo is labelled by the key table, so each must have a row there.
TEST(KeyCombos, MediaAndSystemRowsAreKeyTableRows) {
  for (const KeyFunction& function : MediaKeyFunctions()) EXPECT_TRUE(KeyRowOfFunction(function));
  for (const KeyFunction& function : SystemKeyFunctions()) EXPECT_TRUE(KeyRowOfFunction(function));
}

TEST(KeyCombos, KnownFunctionTypes) {
  for (int type :
       {0x00, 0x10, 0x16, 0x20, 0x23, 0x30, 0x40, 0x50, 0x60, 0x70, 0x72, 0xA0, 0xB0, 0xC0, 0xD0}) {
    EXPECT_TRUE(IsKnownFunctionType(std::uint8_t(type))) << type;
  }
  for (int type : {0x01, 0x0F, 0x17, 0x24, 0x31, 0x73, 0x90, 0xA1, 0xFF}) {
    EXPECT_FALSE(IsKnownFunctionType(std::uint8_t(type))) << type;
  }
}

}  // namespace
}  // namespace norvane::macro
