// light show and set on the emulated mouse: the effect and its parameters in the settings record and in
// the profile's light section.
#include <gmock/gmock.h>

#include "tests/cli/cli_fixture.h"
#include "tools/norvanectl/english_texts.h"

namespace norvane::cli::testing {
namespace {

using emulator::DeviceModel;
using emulator::MemoryArea;
using ::testing::HasSubstr;

class LightCommandsTest : public CliTest {
 protected:
  LightCommandsTest() : CliTest({DeviceModel::kMouse}) {
    SetSkinFolderOverride(std::filesystem::path(NORVANE_SOURCE_DIR) / "skin");
  }
  ~LightCommandsTest() override { SetSkinFolderOverride({}); }
  std::vector<uint8_t> Record() const { return Memory(DeviceModel::kMouse, MemoryArea::kSettings, 0, 71); }
};

TEST_F(LightCommandsTest, AnEffectByItsEnglishNameWithItsParametersReachesTheRecordAndProfile) {
  // The mouse's list: wave, spectrum, breathing, static (index 3, device code 3), ...
  const CommandOutput set =
      Run({"light", "set", "STATIC", "--colour", "00ff80", "--brightness", "2", "--speed", "1"});
  ASSERT_EQ(set.exit, 0) << set.err;
  const std::vector<uint8_t> record = Record();
  EXPECT_EQ(record[1], 0x03) << "mode code";
  EXPECT_EQ(record[2], 2) << "brightness";
  EXPECT_EQ(record[3], 3) << "speed is written as 4 - level";
  EXPECT_EQ(record[5], 0) << "one colour";
  EXPECT_EQ(std::vector<uint8_t>(record.begin() + 6, record.begin() + 9), (std::vector<uint8_t>{0x00, 0xFF, 0x80}));
  const Json::Value light = SelectedProfile("mouse")["Device"][0]["LightInfo"];
  EXPECT_EQ(light["SelectItem"].asInt(), 3);
  EXPECT_EQ(light["Light"].asInt(), 2);
  EXPECT_EQ(light["Speed"].asInt(), 1);
  EXPECT_EQ(light["Green"].asInt(), 255);
  EXPECT_EQ(light["MultiColor"].asInt(), 0);

  const Json::Value shown = ParseJson(Run({"light", "show", "--json"}).out);
  EXPECT_EQ(shown["mode"].asInt(), 3);
  EXPECT_EQ(shown["colour"].asString(), "00ff80");
}

TEST_F(LightCommandsTest, UnknownEffectsAndLevelsOutOfRangeAreRefused) {
  const std::vector<uint8_t> before = Record();
  for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
           {"light", "set", "disco"},
           {"light", "set", "99"},
           {"light", "set", "static", "--brightness", "5"},
           {"light", "set", "static", "--speed", "-1"},
           {"light", "set", "static", "--direction", "up"},
           {"light", "set", "static", "--colour", "12345g"},
           {"light", "set"},
       }) {
    const CommandOutput output = Run(words);
    EXPECT_EQ(output.exit, 2) << words.back();
    EXPECT_THAT(output.err, HasSubstr("norvanectl: "));
  }
  EXPECT_EQ(Record(), before);
}

}  // namespace
}  // namespace norvane::cli::testing
