// The audio style file and the colour the companion gets: the 17 keys, the colour record, and that a reset
// never writes a missing or damaged default over the user's good file.
#include "app/audio_style.h"

#include <gtest/gtest.h>

#include <fstream>

#include "profiles/json_file_util.h"
#include "tests/support/temp_folder.h"

namespace norvane::app {
namespace {

constexpr const char* kDefault = R"({"Device":{"AudioLightInfo":{"nAudioStyle":1,"nStyleName1":"A",
  "nStyleName2":"B","nStyleName3":"C","nStyleName4":"D","nStyleR0":1,"nStyleG0":2,"nStyleB0":3,"nStyleR1":4,
  "nStyleG1":5,"nStyleB1":6,"nStyleR2":7,"nStyleG2":8,"nStyleB2":9,"nStyleR3":9,"nStyleG3":0,"nStyleB3":3}}})";

class AudioStyleTest : public ::testing::Test {
 protected:
  void Write(const std::filesystem::path& path, const std::string& text) { std::ofstream(path) << text; }
  norvane::testing::TempFolder folder_;
  std::filesystem::path user_ = folder_.path() / "AudioFile.json";
  std::filesystem::path default_ = folder_.path() / "default.json";
};

TEST(AudioStyleColour, TheSelectedGroupsColourWithGreenNeverZero) {
  AudioStyle style;
  style.style = 2;
  style.colours[2] = {9, 0, 3};
  const auto record = StyleColourRecord(style);
  std::array<std::uint8_t, 40> expected{};
  expected[0] = 9;
  expected[4] = 1;
  expected[8] = 3;
  EXPECT_EQ(record, expected);
}

TEST_F(AudioStyleTest, TheSeventeenKeysAndAStartWithoutAUserFile) {
  Write(default_, kDefault);
  AudioStyleStore store(user_, default_);
  store.Load();
  const AudioStyle& style = store.Style();
  EXPECT_EQ(style.style, 1);
  EXPECT_EQ(style.names[3], "D");
  EXPECT_EQ(style.colours[1], (std::array<std::uint8_t, 3>{4, 5, 6}));
  EXPECT_EQ(style.colours[3], (std::array<std::uint8_t, 3>{9, 0, 3}));
  EXPECT_EQ(AudioStyleOf(JsonFileUtil().ReadJsonValue(user_)["Device"]), style) << "the default became the user's";

  AudioStyle changed = style;
  changed.names[0] = "第一组";
  changed.colours[0] = {9, 9, 9};
  store.SetStyle(changed);
  ASSERT_TRUE(store.Save());
  AudioStyleStore again(user_, default_);
  again.Load();
  EXPECT_EQ(again.Style(), changed);
}

TEST_F(AudioStyleTest, AResetKeepsTheUsersFileWhenTheDefaultIsMissingOrDamaged) {
  Write(default_, kDefault);
  AudioStyleStore store(user_, default_);
  store.Load();
  AudioStyle mine = store.Style();
  mine.names[1] = "mine";
  store.SetStyle(mine);
  ASSERT_TRUE(store.Save());

  std::filesystem::remove(default_);
  store.Reset();
  EXPECT_EQ(store.Style(), mine);
  EXPECT_EQ(AudioStyleOf(JsonFileUtil().ReadJsonValue(user_)["Device"]), mine) << "no null over a good file";
  Write(default_, R"({"Other":1})");
  store.Reset();
  EXPECT_EQ(AudioStyleOf(JsonFileUtil().ReadJsonValue(user_)["Device"]), mine);
  Write(default_, "{ not json");
  store.Reset();
  EXPECT_EQ(store.Style(), mine);

  Write(default_, kDefault);
  store.Reset();
  EXPECT_EQ(store.Style().names[1], "B") << "a good default replaces even a valid user style";
  EXPECT_EQ(AudioStyleOf(JsonFileUtil().ReadJsonValue(user_)["Device"]).names[1], "B");
}

TEST_F(AudioStyleTest, AStyleWithoutItsObjectsReadsAsZeros) {
  EXPECT_EQ(AudioStyleOf(Json::Value()), AudioStyle{});
  Json::Value device;
  device["AudioLightInfo"] = "text";
  EXPECT_EQ(AudioStyleOf(device), AudioStyle{});
  device["AudioLightInfo"] = Json::Value(Json::objectValue);
  device["AudioLightInfo"]["nStyleR2"] = 300;  // truncated to a byte
  EXPECT_EQ(AudioStyleOf(device).colours[2][0], 300 % 256);
}

}  // namespace
}  // namespace norvane::app
