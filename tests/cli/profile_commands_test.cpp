// profiles and profile select/export/import on the emulated mouse: the list file, the exported and
// imported files, and what the mouse is written when it switches.
#include <gmock/gmock.h>

#include "tests/cli/cli_fixture.h"

namespace norvane::cli::testing {
namespace {

using emulator::DeviceModel;
using emulator::MemoryArea;
using ::testing::HasSubstr;

class ProfileCommandsTest : public CliTest {
 protected:
  ProfileCommandsTest() : CliTest({DeviceModel::kMouse}) {}
  std::filesystem::path File(const std::string& name) const { return root_.path() / name; }
};

TEST_F(ProfileCommandsTest, AFirstRunListsTheOneProfileMadeFromTheDefaults) {
  const CommandOutput listed = Run({"profiles"});
  ASSERT_EQ(listed.exit, 0) << listed.err;
  EXPECT_EQ(listed.out, "* Profile1\n");
  const Json::Value json = ParseJson(Run({"profiles", "--json"}).out);
  ASSERT_EQ(json["profiles"].size(), 1u);
  EXPECT_EQ(json["profiles"][0]["name"].asString(), "Profile1");
  EXPECT_TRUE(json["profiles"][0]["selected"].asBool());
}

TEST_F(ProfileCommandsTest, AnExportedProfileComesBackUnderItsFileNameAndTheMouseTakesItWhenSelected) {
  ASSERT_EQ(Run({"profile", "export", "profile1", File("exported.json").string()}).exit, 0);
  std::ifstream in(File("exported.json"));
  Json::Value exported;
  std::string errors;
  ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &exported, &errors)) << errors;
  EXPECT_EQ(exported["profilename"].asString(), "Profile1");

  // The sniper profile has stage 1 at slider position 20 and the 500 Hz report rate (option 2).
  exported["Device"][0]["DPIStages"]["StageDPIs"][0]["StageDPIX"] = 20;
  exported["Device"][0]["ReportStages"]["StageActive"] = 2;
  std::ofstream(File("Sniper.json")) << exported.toStyledString();
  const CommandOutput imported = Run({"profile", "import", File("Sniper.json").string()});
  ASSERT_EQ(imported.exit, 0) << imported.err;
  EXPECT_EQ(Run({"profiles"}).out, "* Profile1\n  Sniper\n") << "an import does not select";

  const CommandOutput selected = Run({"profile", "select", "SNIPER"});
  ASSERT_EQ(selected.exit, 0) << selected.err;
  EXPECT_EQ(Run({"profiles"}).out, "  Profile1\n* Sniper\n");
  const std::vector<uint8_t> record = Memory(DeviceModel::kMouse, MemoryArea::kSettings, 0, 71);
  EXPECT_EQ(record[14 + 2], 20);
  EXPECT_EQ(record[11], 2);
}

TEST_F(ProfileCommandsTest, UnknownProfilesAndFilesThatAreNoProfileAreRefused) {
  const CommandOutput unknown = Run({"profile", "select", "Nope"});
  EXPECT_EQ(unknown.exit, 1);
  EXPECT_THAT(unknown.err, HasSubstr("no profile \"Nope\""));

  std::ofstream(File("notes.json")) << "{\"text\": \"not a profile\"}";
  const CommandOutput notProfile = Run({"profile", "import", File("notes.json").string()});
  EXPECT_EQ(notProfile.exit, 1);
  EXPECT_THAT(notProfile.err, HasSubstr("is not a profile"));
  std::ofstream(File("binary.json")) << std::string("\x00\xff\x10garbage", 10);
  EXPECT_EQ(Run({"profile", "import", File("binary.json").string()}).exit, 1);
  EXPECT_EQ(Run({"profile", "import", File("missing.json").string()}).exit, 1);
  EXPECT_EQ(Run({"profile", "export", "Nope", File("x.json").string()}).exit, 1);
  EXPECT_FALSE(std::filesystem::exists(File("x.json")));
  EXPECT_EQ(Run({"profiles"}).out, "* Profile1\n") << "the list is as it was";

  EXPECT_EQ(Run({"profile"}).exit, 2);
  EXPECT_EQ(Run({"profile", "rename", "a"}).exit, 2);
  EXPECT_EQ(Run({"profile", "select"}).exit, 2);
}

}  // namespace
}  // namespace norvane::cli::testing
