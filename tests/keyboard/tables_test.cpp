// The keyboard's byte builders on their own: damaged or unusual input never reads or writes out of bounds
// and never turns one thing into another.
#include <gtest/gtest.h>

#include "devices/effect_lists.h"
#include "devices/keyboard/key_positions.h"
#include "devices/keyboard/key_table_builder.h"
#include "devices/keyboard/light_mask.h"
#include "devices/keyboard/settings_record.h"
#include "macro/macro_block.h"
#include "tests/support/temp_folder.h"

namespace norvane::devices::keyboard {
namespace {

TEST(KeyboardMacroBlock, UnknownMacrosAndUnsafeFileNamesGiveEmptyRecordsInPlace) {
  norvane::testing::TempFolder folder;
  norvane::testing::WriteText(folder / "ok.mac",
                              R"({"Events":[{"Action":"down","Type":10,"Button":5,"Delay":"1"}, 7]})");
  const std::string escape = folder.path().filename().string() + "_escape";
  norvane::testing::WriteText(folder.path().parent_path() / (escape + ".mac"),
                              R"({"Events":[{"Action":"down","Type":10,"Button":9,"Delay":"1"}]})");
  const std::vector<macro::MacroEntry> list = {{"a", "../" + escape}, {"b", "ok"}};
  const std::vector<int> macros = {0, 5, 1, -1};
  const macro::MacroBlockPlan plan = macro::BuildMacroBlock(folder.path(), list, macros, 512);
  ASSERT_EQ(plan.result, 0);
  // 16 + 4 × 2 offsets + three empty records + one record with one event (the number is not an event).
  ASSERT_EQ(plan.block.size(), 16u + 8 + 4 * 4 + 4);
  EXPECT_EQ(plan.block[4], 4);
  const size_t third = plan.block[16 + 4] | plan.block[16 + 5] << 8;
  EXPECT_EQ(plan.block[third], 1) << "macro 1 keeps the third record";
  EXPECT_EQ(plan.block[third + 7], 5);
  std::filesystem::remove(folder.path().parent_path() / (escape + ".mac"));
}

TEST(KeyboardPositionMaps, AShortOrOversizedTableIsReadOnlyAsFarAsItGoes) {
  KeyTable table{};
  table[0] = 0x20;
  table[2] = 0x29;  // Esc at position 0
  const PositionMaps maps = BuildPositionMaps(std::span(table).first(3), 200);
  EXPECT_EQ(maps.keys[0], 0);
  EXPECT_EQ(maps.keys[1], kNoPosition);
  EXPECT_EQ(BuildPositionMaps(table, 1000).keys[0], 0);
}

TEST(KeyboardPositionMaps, ReassignedKeysAreFoundByTheirFunctionAtPlacesNoOtherKeyHolds) {
  // Position 0: Esc's own code. Positions 1 and 2 both hold volume up (30 E9 00), position 3 a macro as the
  // table numbers it (71 00 01), position 4 Ctrl+C (20 01 06).
  KeyTable table{};
  const std::array<std::uint8_t, 15> codes{0x20, 0x00, 0x29, 0x30, 0xE9, 0x00, 0x30, 0xE9,
                                           0x00, 0x71, 0x00, 0x01, 0x20, 0x01, 0x06};
  std::copy(codes.begin(), codes.end(), table.begin());
  PositionMaps maps = BuildPositionMaps(table, 5);
  const std::uint8_t esc = maps.keys[0];
  ASSERT_EQ(esc, 0);
  std::vector<KeyAssignment> keys(kAssignableKeys + 1);
  keys[0].current = {0x30, 0xE9, 0x00};  // Esc keeps its place, though the profile says volume up
  keys[5].current = {0x30, 0xE9, 0x00};
  keys[6].current = {0x30, 0xE9, 0x00};
  keys[7].current = {0x71, 0x04, 0x01};  // macro number 4 in the profile
  keys[8].current = {0x20, 0x01, 0x07};  // a function the keyboard does not hold: no place
  keys[kAssignableKeys].current = {0x20, 0x01, 0x06};  // only keys that take assignments are placed
  CompletePositionMaps(maps, table, 5, keys);
  EXPECT_EQ(maps.keys[0], 0);
  EXPECT_EQ(maps.keys[5], 1);
  EXPECT_EQ(maps.keys[6], 2);
  EXPECT_EQ(maps.keys[7], 3);
  EXPECT_EQ(maps.keys[8], kNoPosition);
  EXPECT_EQ(maps.keys[kAssignableKeys], kNoPosition);
  EXPECT_EQ(maps.lights[5], 1) << "the lighting finds the key there too";
}

TEST(KeyboardKeyTables, PositionsBeyondTheTableAreSkipped) {
  PositionMap positions{};
  positions.fill(kNoPosition);
  positions[0] = 1;
  positions[1] = 169;  // beyond a 6-byte table
  std::vector<KeyAssignment> keys(2);
  keys[0].current = {0x20, 0, 0x04};
  keys[1].current = {0x20, 0, 0x05};
  const BuiltKeyTable built = BuildKeyTable(KeyTable{}, 6, keys, positions, 0);
  EXPECT_EQ(built.table[3], 0x20);
  EXPECT_EQ(built.table[5], 0x04);
  EXPECT_EQ(built.table[3 * 169], 0);
  const KeyTable extra = BuildExtraKeyTable(6, keys, positions);
  EXPECT_EQ(extra[3 * 169], 0);
}

TEST(KeyboardLightMask, OnlyLitLedsOnTheKeyboardAndPositionsTheMaskCanHold) {
  std::vector<lighting::LedRecord> leds(4);
  leds[0] = {0, 0, 1, 0, 0};  // lit by blue alone, level 0
  leds[1] = {0, 0, 0, 255, 1};
  leds[2] = {9, 0, 0, 255, 0};
  leds[3] = {9, 0, 0, 255, 0};
  PositionMap positions{};
  positions.fill(kNoPosition);
  positions[0] = 22;
  positions[1] = 0;
  positions[2] = 168;  // bit 8: no such bit
  positions[3] = 167;
  const LightMask mask = BuildLightMask(leds, positions);
  LightMask expected{};
  expected[1] = 0x02;
  expected[20] = 0x80;
  EXPECT_EQ(mask, expected);
}

TEST(KeyboardSettingsRecord, ReadsUnknownModesAndWildSpeedsSafely) {
  SettingsRecord record{};
  record[record_byte::kMode] = 0x60;
  record[record_byte::kSpeed] = 9;
  const std::vector<uint8_t> table = {0, 1, 2};
  const LiveSettings live = DecodeSettingsRecord(record, table);
  EXPECT_EQ(live.light.mode, 0x60) << "a code no effect has stays as read";
  EXPECT_EQ(live.light.speed, 0);
  const SettingsRecord written = EncodeSettingsRecord(record, {.mode = 7}, {}, table, 0);
  EXPECT_EQ(written[record_byte::kMode], 7) << "an effect beyond the table is written unchanged";
}

TEST(KeyboardEffectLists, ComeFromTheVariantsListsAndSurviveDamage) {
  norvane::testing::TempFolder folder;
  norvane::testing::WriteText(folder / "default_light.json", R"({"DefaultLightName": [[], [
      {"LightName": "Wave", "visible": 1, "value": 3}, {"LightName": "Odd", "visible": 0, "value": "x"}]],
      "AreaLightName": [[], [{"LightName": "WASD"}]]})");
  const EffectLists lists =
      ReadEffectLists(folder / "default_light.json", folder / "none.config", folder.path(), 1);
  EXPECT_EQ(lists.effectNames, (std::vector<std::string>{"Wave", "Odd"}));
  EXPECT_EQ(lists.modeTable, (std::vector<uint8_t>{3, 1})) << "an unusable code keeps the effect's index";
  EXPECT_EQ(lists.effectVisible, (std::vector<uint8_t>{1, 0}));
  EXPECT_EQ(lists.areaNames, (std::vector<std::string>{"WASD"}));
  EXPECT_TRUE(ReadEffectLists(folder / "default_light.json", {}, {}, 7).modeTable.empty());
}

}  // namespace
}  // namespace norvane::devices::keyboard
