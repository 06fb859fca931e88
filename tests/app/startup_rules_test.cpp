// The rules the start-up relies on: the command line, which language a saved settings key selects, and
// where the tray menu opens next to the desktop's panel.

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "app/language_config.h"
#include "app/program_options.h"
#include "app/tray_menu_placement.h"
#include "tests/support/temp_folder.h"
#include "uilib/menu.h"

namespace norvane::app {
namespace {

ProgramOptionsOutcome Parse(std::vector<std::string_view> arguments) {
  return ParseProgramOptions(arguments);
}

TEST(ProgramOptionsTest, AcceptsTheDocumentedOptionsAndNamesWhatItRefuses) {
  const ProgramOptionsOutcome demo = Parse({"--emulate", "keyboard,mouse", "--trace"});
  ASSERT_TRUE(demo.error.empty());
  EXPECT_EQ(demo.options.emulate, "keyboard,mouse");
  EXPECT_TRUE(demo.options.trace);
  EXPECT_FALSE(demo.options.minimized);
  EXPECT_TRUE(Parse({"--minimized"}).options.minimized);
  EXPECT_EQ(Parse({"--emulate=mouse"}).options.emulate, "mouse");
  EXPECT_FALSE(Parse({}).options.emulate.has_value());

  EXPECT_NE(Parse({"--emulate"}).error.find("device list"), std::string::npos);
  EXPECT_NE(Parse({"--emulate="}).error.find("device list"), std::string::npos);
  EXPECT_NE(Parse({"--emulate", ""}).error.find("device list"), std::string::npos);
  EXPECT_NE(Parse({"--fullscreen"}).error.find("--fullscreen"), std::string::npos);
}

class SavedLanguageTest : public ::testing::Test {
 protected:
  std::vector<LanguageEntry> entries_ = {{520, "English", "lan_en.xml", "language_english"},
                                         {2052, "Chinese", "lan_cn.xml", "language_chinese"},
                                         {1041, "Japanese", "lan_jp.xml", "language_japanese"}};
  norvane::testing::TempFolder folder_;
  RegistrySettings settings_{folder_ / "registry.ini"};
};

TEST_F(SavedLanguageTest, KeyMissingValueMissingAndStoredValueDiffer) {
  // No key: the first language, and the program does not create the key.
  EXPECT_EQ(SavedLanguageIndex(settings_, entries_), 0);
  EXPECT_FALSE(std::filesystem::exists(settings_.File()));

  // A key without the value stands for id 520, wherever that entry is.
  ASSERT_TRUE(settings_.CreateKeyIfMissing().ok);
  std::vector<LanguageEntry> reordered = {entries_[2], entries_[0]};
  EXPECT_EQ(SavedLanguageIndex(settings_, reordered), 1);

  ASSERT_TRUE(settings_.WriteValue(kLanguageValueName, 1041).ok);
  EXPECT_EQ(SavedLanguageIndex(settings_, entries_), 2);
  // An id no entry carries, or no entries at all: the first language.
  ASSERT_TRUE(settings_.WriteValue(kLanguageValueName, 7).ok);
  EXPECT_EQ(SavedLanguageIndex(settings_, entries_), 0);
  EXPECT_EQ(SavedLanguageIndex(settings_, {}), 0);
}

TEST_F(SavedLanguageTest, TheShippedLanguageListReadsAndWrongTypesReadAsMissing) {
  const std::vector<LanguageEntry> shipped =
      ReadLanguageConfig(NORVANE_SOURCE_DIR "/DefaultData/Language.config");
  ASSERT_GE(shipped.size(), 2u);
  EXPECT_EQ(shipped[0].id, kDefaultLanguageId);
  EXPECT_EQ(shipped[0].file, "lan_en.xml");

  norvane::testing::WriteText(folder_ / "odd.config",
                              R"({"Language": [{"Language_ID": "520", "Language_file": 3}, 7]})");
  const std::vector<LanguageEntry> odd = ReadLanguageConfig(folder_ / "odd.config");
  ASSERT_EQ(odd.size(), 2u);
  EXPECT_EQ(odd[0].id, 0);
  EXPECT_TRUE(odd[0].file.empty());
  norvane::testing::WriteText(folder_ / "array.config", "[1, 2]");
  EXPECT_TRUE(ReadLanguageConfig(folder_ / "array.config").empty());
  EXPECT_TRUE(ReadLanguageConfig(folder_ / "missing.config").empty());
}

TEST(TrayMenuPlacementTest, OpensClearOfThePanelAndGrowsAwayFromIt) {
  using namespace ui;
  const QRect screen(0, 0, 1920, 1080);
  const QPoint cursor(1800, 1060);
  // Panel at the bottom: 20 pixels above its top edge, right- and bottom-aligned.
  TrayMenuPlacement bottom = PlaceTrayMenu(cursor, screen, QRect(0, 0, 1920, 1040));
  EXPECT_EQ(bottom.point, QPoint(1800, 1020));
  EXPECT_EQ(bottom.alignment, eMenuAlignment_Right | eMenuAlignment_Bottom);

  TrayMenuPlacement top = PlaceTrayMenu(QPoint(1800, 10), screen, QRect(0, 32, 1920, 1048));
  EXPECT_EQ(top.point, QPoint(1800, 33));
  EXPECT_EQ(top.alignment, eMenuAlignment_Top | eMenuAlignment_Right);

  TrayMenuPlacement left = PlaceTrayMenu(QPoint(10, 900), screen, QRect(48, 0, 1872, 1080));
  EXPECT_EQ(left.point, QPoint(49, 900));
  EXPECT_EQ(left.alignment, eMenuAlignment_Left | eMenuAlignment_Bottom);

  TrayMenuPlacement right = PlaceTrayMenu(QPoint(1900, 900), screen, QRect(0, 0, 1872, 1080));
  EXPECT_EQ(right.point, QPoint(1871, 900));
  EXPECT_EQ(right.alignment, eMenuAlignment_Right | eMenuAlignment_Bottom);

  // No panel: at the pointer, growing right and down.
  TrayMenuPlacement none = PlaceTrayMenu(QPoint(500, 400), screen, screen);
  EXPECT_EQ(none.point, QPoint(500, 400));
  EXPECT_EQ(none.alignment, eMenuAlignment_Left | eMenuAlignment_Top);
}

}  // namespace
}  // namespace norvane::app
