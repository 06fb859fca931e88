// The macro list and a macro's events as every device kind reads them from its folder.
#include "macro/macro_files.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace norvane::macro {
namespace {

using testing::TempFolder;
using testing::WriteText;

TEST(MacroFiles, DamagedListsAndFilesReadAsEmpty) {
  TempFolder folder;
  EXPECT_TRUE(ReadMacroList(folder.path()).empty());
  WriteText(folder / "macro.config", R"({"MacroInfo": {"not": "an array"}})");
  EXPECT_TRUE(ReadMacroList(folder.path()).empty());
  WriteText(folder / "macro.config", "{ broken");
  EXPECT_TRUE(ReadMacroList(folder.path()).empty());
  WriteText(folder / "x.mac", R"({"Events": 7})");
  EXPECT_TRUE(ReadMacroEvents(folder.path(), "x").empty());
  WriteText(folder / "x.mac", R"([{"Events": []}])");
  EXPECT_TRUE(ReadMacroEvents(folder.path(), "x").empty());
  EXPECT_TRUE(ReadMacroEvents(folder.path(), "missing").empty());
}

TEST(MacroFiles, ListEntriesKeepTheirPlaceWhateverTheyHold) {
  TempFolder folder;
  WriteText(
      folder / "macro.config",
      R"({"MacroInfo": [{"Guid": "a", "MacroName": "one"}, 5, {"MacroName": ["x"]}, {"Guid": "../b"}]})");
  EXPECT_EQ(ReadMacroList(folder.path()),
            (std::vector<MacroEntry>{{"one", "a"}, {"", ""}, {"", ""}, {"", "../b"}}));
}

TEST(MacroFiles, AListOfMoreThanFiftyIsReadAsItsFirstFifty) {
  TempFolder folder;
  std::string text = R"({"MacroInfo": [)";
  for (int i = 0; i < 52; ++i)
    text += (i ? "," : "") + std::string(R"({"Guid": "g)") + std::to_string(i) + "\"}";
  WriteText(folder / "macro.config", text + "]}");
  const std::vector<MacroEntry> list = ReadMacroList(folder.path());
  ASSERT_EQ(list.size(), 50u);
  EXPECT_EQ(list.back().guid, "g49");
}

TEST(MacroFiles, EventsThatAreNotObjectsAreSkipped) {
  TempFolder folder;
  WriteText(folder / "m.mac", R"({"Events": [
      {"Action": "down", "Button": 4, "Delay": "300", "Type": 10}, 3, "up", null,
      {"Action": "up", "Button": 4, "Delay": 20, "Type": 10}]})");
  EXPECT_EQ(ReadMacroEvents(folder.path(), "m"),
            (std::vector<MacroEvent>{{"down", 4, 300, 10}, {"up", 4, 20, 10}}));
}

TEST(MacroFiles, IdentifiersThatAreNotPlainNamesReachNoFile) {
  TempFolder folder;
  const std::string events = R"({"Events": [{"Action": "down", "Type": 10, "Button": 4}]})";
  std::filesystem::create_directories(folder / "sub");
  WriteText(folder / "x.mac", events);
  WriteText(folder / "sub" / "x.mac", events);
  const std::filesystem::path inner = folder / "sub";
  for (const std::string& guid : {std::string("../x"), std::string("sub/x"), std::string("sub\\x"),
                                  (folder / "x").string(), std::string(""), std::string("..")}) {
    EXPECT_TRUE(MacroFilePath(folder.path(), guid).empty()) << guid;
    EXPECT_TRUE(ReadMacroEvents(folder.path(), guid).empty()) << guid;
    EXPECT_TRUE(ReadMacroEvents(inner, guid).empty()) << guid;
  }
  EXPECT_EQ(ReadMacroEvents(inner, "x").size(), 1u);
  EXPECT_EQ(MacroFilePath(folder.path(), "2024_01_02_03_04_05_000"), folder / "2024_01_02_03_04_05_000.mac");
}

}  // namespace
}  // namespace norvane::macro
