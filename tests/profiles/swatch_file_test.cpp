// The colour chooser's swatch file: the colour text, which documents count as empty or damaged, the copy of
// the shipped defaults, damaged files set aside, and saves that change only their own row.
#include "profiles/swatch_file.h"

#include <gtest/gtest.h>

#include "profiles/json_file_util.h"
#include "tests/support/temp_folder.h"

namespace norvane::swatches {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

const fs::path kShipped = NORVANE_SOURCE_DIR "/DefaultData/color_option_info.config";

Json::Value Parse(const std::string& text) {
  Json::Value value;
  EXPECT_TRUE(JsonFileUtil::TryParseJson(text, value)) << text;
  return value;
}

TEST(SwatchColourText, EightUpperCaseDigitsMostSignificantFirstAndReadBackInEitherCase) {
  EXPECT_EQ(ColourText(0xFFFF0000u), "FFFF0000");
  EXPECT_EQ(ColourText(0x0A0B0C0Du), "0A0B0C0D");
  EXPECT_EQ(ColourText(0u), "00000000");
  EXPECT_EQ(ParseColourText("FF00FF00"), 0xFF00FF00u);
  EXPECT_EQ(ParseColourText("ff00ff00"), 0xFF00FF00u);
  EXPECT_EQ(ParseColourText("FF"), 0xFFu);
  for (const char* text : {"", "FF00FF001", "#FF0000", "0xFF00", "FF 00", "GG", "-1"})
    EXPECT_FALSE(ParseColourText(text)) << text;
}

TEST(SwatchClassify, EmptyDamagedAndUsableDocuments) {
  for (const char* text : {"null", "{}", R"({"coloroptioninfo": {}})"})
    EXPECT_EQ(Classify(Parse(text)), Content::kEmpty) << text;
  for (const char* text : {
           "[]",
           R"({"other": 1})",
           R"({"coloroptioninfo": []})",
           R"({"coloroptioninfo": {"palletDialogcoloroption": {"color": "FFFF0000"}}})",
           R"({"coloroptioninfo": {"palletDialogcoloroption": [{"color": 4278190080}]}})",
           R"({"coloroptioninfo": {"palletDialogcoloroption": [{"color": "#FF0000"}]}})",
           R"({"coloroptioninfo": {"palletDialogcollectcoloroption": [{"UserData": 1}]}})",
           R"({"coloroptioninfo": {"palletDialogcoloroption_selectitem": "4"}})",
           R"({"coloroptioninfo": {"palletDialogcollectcoloroption_selectitem": 2.5}})",
       })
    EXPECT_EQ(Classify(Parse(text)), Content::kDamaged) << text;
  EXPECT_EQ(Classify(Parse(R"({"coloroptioninfo": {"palletDialogcollectcoloroption": [null, {}], "x": 1}})")),
            Content::kUsable);
}

TEST(SwatchDecode, TheShippedDefaultsAndRowsOfOtherLengths) {
  const Swatches shipped = Decode(JsonFileUtil().ReadJsonValue(kShipped));
  EXPECT_EQ(shipped.presets[0].colour, 0xFFFF0000u);
  EXPECT_EQ(shipped.presets[4].colour, 0xFF00FF00u);
  EXPECT_EQ(shipped.presets[19].colour, 0xFFFFFFFFu);
  EXPECT_EQ(shipped.presetSelected, 4);
  EXPECT_EQ(shipped.favouriteSelected, 0);
  for (const Slot& slot : shipped.favourites) {
    EXPECT_TRUE(slot.present && slot.colour == 0xFFFFFFFFu && slot.userData.empty());
  }

  const Swatches odd = Decode(Parse(R"({"coloroptioninfo": {"palletDialogcollectcoloroption": [
      {"UserData": "1"}, {"color": "ff00ff00", "UserData": "1"}]}})"));
  EXPECT_FALSE(odd.favourites[0].present) << "an element without a colour is no entry";
  EXPECT_EQ(odd.favourites[1].colour, 0xFF00FF00u);
  EXPECT_EQ(odd.favourites[1].userData, "1");
  EXPECT_FALSE(odd.favourites[2].present);
  EXPECT_FALSE(odd.presetSelected);
}

class SwatchFileTest : public ::testing::Test {
 protected:
  fs::path User() const { return folder_ / "user" / "color_option_info.config"; }
  SwatchFile File() const { return SwatchFile(User(), kShipped); }
  void WriteUser(const std::string& text) const {
    fs::create_directories(User().parent_path());
    WriteText(User(), text);
  }
  void ExpectUserFileIsTheDefaults() const {
    EXPECT_EQ(JsonFileUtil().ReadJsonValue(User()), JsonFileUtil().ReadJsonValue(kShipped));
  }

  TempFolder folder_;
};

TEST_F(SwatchFileTest, MissingOrEmptyUserFilesGetTheShippedDefaults) {
  const Swatches loaded = File().Load();
  ASSERT_TRUE(fs::exists(User())) << "the user's folder is made and the defaults copied";
  ExpectUserFileIsTheDefaults();
  EXPECT_EQ(loaded.presets[0].colour, 0xFFFF0000u);
  EXPECT_EQ(loaded.presetSelected, 4);

  for (const char* nothing : {"", "  \n", "{}", "null", R"({"coloroptioninfo": {}})"}) {
    WriteUser(nothing);
    EXPECT_EQ(File().Load().presets[4].colour, 0xFF00FF00u) << nothing;
    ExpectUserFileIsTheDefaults();
    EXPECT_FALSE(fs::exists(User().string() + ".damaged")) << "nothing was lost: " << nothing;
  }
}

TEST_F(SwatchFileTest, DamagedFilesAreSetAsideNeverOverwritten) {
  WriteUser("{\"coloroptioninfo\": {\"palletDialogcoloroption\": [");
  EXPECT_EQ(File().Load().presets[0].colour, 0xFFFF0000u);
  EXPECT_EQ(ReadText(User().string() + ".damaged"), "{\"coloroptioninfo\": {\"palletDialogcoloroption\": [");
  ExpectUserFileIsTheDefaults();

  const std::string wrongTyped = R"({"coloroptioninfo": {"palletDialogcoloroption_selectitem": "4"}})";
  WriteUser(wrongTyped);
  EXPECT_EQ(File().Load().presetSelected, 4);
  EXPECT_EQ(ReadText(User().string() + ".damaged-2"), wrongTyped);
  EXPECT_NE(ReadText(User().string() + ".damaged"), wrongTyped) << "the earlier copy stays";
  ExpectUserFileIsTheDefaults();
}

TEST_F(SwatchFileTest, FolderInPlaceOfTheFileStaysAndNothingIsSaved) {
  fs::create_directories(User());
  EXPECT_EQ(File().Load().presets[0].colour, 0xFFFF0000u) << "the defaults still serve";
  Row row{};
  row[0] = Slot{true, 0xFF00FF00u, "1"};
  EXPECT_FALSE(File().SaveFavourites(row, 0));
  EXPECT_TRUE(fs::is_directory(User()));
}

TEST_F(SwatchFileTest, SavesChangeTheirOwnRowAndKeepEverythingElse) {
  WriteUser(R"({"coloroptioninfo": {"note": "mine",
      "palletDialogcoloroption": [{"color": "FF111111", "extra": 1}],
      "palletDialogcollectcoloroption": [{"color": "FFFFFFFF", "UserData": ""}, {"color": "FF222222", "UserData": "1"}],
      "palletDialogcollectcoloroption_selectitem": 1}})");
  Row favourites{};
  favourites[0] = Slot{true, 0xFF00FF00u, "1"};
  favourites[5] = Slot{true, 0xFFFFFFFFu, ""};
  ASSERT_TRUE(File().SaveFavourites(favourites, 5));

  const std::string text = ReadText(User());
  EXPECT_NE(text.find("\"color\" : \"FF00FF00\""), std::string::npos) << "styled output:\n" << text;
  const Json::Value saved = JsonFileUtil().ReadJsonValue(User());
  const Json::Value& info = saved["coloroptioninfo"];
  EXPECT_EQ(info["palletDialogcollectcoloroption"][0]["color"], "FF00FF00");
  EXPECT_EQ(info["palletDialogcollectcoloroption"][0]["UserData"], "1");
  EXPECT_EQ(info["palletDialogcollectcoloroption"][1]["color"], "FF222222") << "a slot not handed on stays";
  EXPECT_EQ(info["palletDialogcollectcoloroption"][5]["color"], "FFFFFFFF");
  EXPECT_EQ(info["palletDialogcollectcoloroption_selectitem"], 5);
  EXPECT_EQ(info["palletDialogcoloroption"][0]["color"], "FF111111");
  EXPECT_EQ(info["note"], "mine");

  Row presets{};
  presets[0] = Slot{true, 0xFFFF0000u, "ignored"};
  ASSERT_TRUE(File().SavePresets(presets, 0));
  const Json::Value again = JsonFileUtil().ReadJsonValue(User())["coloroptioninfo"];
  EXPECT_EQ(again["palletDialogcoloroption"][0]["color"], "FFFF0000");
  EXPECT_EQ(again["palletDialogcoloroption"][0]["extra"], 1);
  EXPECT_FALSE(again["palletDialogcoloroption"][0].isMember("UserData")) << "presets carry no user data";
  EXPECT_EQ(again["palletDialogcollectcoloroption"][0]["color"], "FF00FF00");
}

}  // namespace
}  // namespace norvane::swatches
