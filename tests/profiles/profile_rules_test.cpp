// The rules that switch a device's profile: which profile a recorded sequence of program starts, ends and
// focus changes asks for at each step, and what happens to a rule file that is damaged or out of date.

#include "profiles/profile_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace norvane {
namespace {

using testing::ReadText;
using testing::WriteText;

const ListedProfile kDesktop{"Desktop", "2026_01_01_00_00_00_000"};
const ListedProfile kGames{"Games", "2026_01_01_00_00_01_000"};
const ListedProfile kShooter{"Shooter", "2026_01_01_00_00_02_000"};
const std::vector<ListedProfile> kProfiles = {kDesktop, kGames, kShooter};

ProfileRule Rule(std::string program, RuleCondition when, const ListedProfile& profile) {
  ProfileRule rule;
  rule.program = std::move(program);
  rule.when = when;
  rule.profileId = profile.id;
  rule.profileName = profile.name;
  return rule;
}

// One step of a recorded session: a process starts, ends, or its window gets the focus (pid 0: a window
// of no process, or none), then the profile the device should be on.
struct Step {
  enum { kStart, kEnd, kFocus } what;
  ProcessInfo process;
  std::string expected;  // a profile name; "" for "the one chosen by hand"
};

// Plays the steps against the rules and names the profile each step asks for.
std::vector<std::string> Replay(const ProfileRuleSet& set, const std::vector<Step>& steps, bool focusKnown) {
  RuleSituation situation;
  situation.focusKnown = focusKnown;
  std::vector<std::string> seen;
  for (const Step& step : steps) {
    switch (step.what) {
      case Step::kStart:
        situation.running.push_back(step.process);
        break;
      case Step::kEnd:
        std::erase_if(situation.running, [&](const ProcessInfo& p) { return p.pid == step.process.pid; });
        if (situation.focused && situation.focused->pid == step.process.pid) situation.focused.reset();
        break;
      case Step::kFocus:
        situation.focused = step.process.pid ? std::optional(step.process) : std::nullopt;
        break;
    }
    const RuleDecision decision = DecideProfile(set, situation);
    const auto it = std::find_if(kProfiles.begin(), kProfiles.end(),
                                 [&](const ListedProfile& p) { return p.id == decision.profileId; });
    seen.push_back(it == kProfiles.end() ? "" : it->name);
  }
  return seen;
}

std::vector<std::string> Expected(const std::vector<Step>& steps) {
  std::vector<std::string> names;
  for (const Step& step : steps) names.push_back(step.expected);
  return names;
}

const ProcessInfo kSteam{100, "/usr/bin/steam", "steam", "steam"};
const ProcessInfo kShooterGame{200, "/home/u/.local/share/Steam/steamapps/common/Shoot/shoot.x86_64",
                               "shoot.x86_64", "./shoot.x86_64"};
const ProcessInfo kWineGame{300, "/usr/lib/wine/wine64-preloader", "Arena.exe",
                            "C:\\Games\\Arena\\ARENA.EXE"};
const ProcessInfo kEditor{400, "/usr/bin/gedit", "gedit", "gedit"};

TEST(ProfileRuleMatching, ARecordedEveningOfStartsFocusChangesAndEnds) {
  ProfileRuleSet set;
  set.rules = {Rule("shoot.x86_64", RuleCondition::kFocused, kShooter),
               Rule("arena.exe", RuleCondition::kFocused, kShooter),
               Rule("steam", RuleCondition::kRunning, kGames)};
  set.defaultProfileId = kDesktop.id;
  const std::vector<Step> steps = {
      {Step::kFocus, kEditor, "Desktop"},
      {Step::kStart, kSteam, "Games"},          // running is enough for steam
      {Step::kStart, kShooterGame, "Games"},    // started, but not focused yet
      {Step::kFocus, kShooterGame, "Shooter"},  // the first rule comes first
      {Step::kFocus, kEditor, "Games"},         // away from the game: steam still runs
      {Step::kFocus, kShooterGame, "Shooter"},
      {Step::kEnd, kShooterGame, "Games"},  // the game ends with the focus on it
      {Step::kStart, kWineGame, "Games"},
      {Step::kFocus, kWineGame, "Shooter"},  // a Windows name, whatever its case
      {Step::kEnd, kWineGame, "Games"},
      {Step::kEnd, kSteam, "Desktop"},
  };
  EXPECT_EQ(Replay(set, steps, true), Expected(steps));
}

TEST(ProfileRuleMatching, WithoutKnowingTheFocusAFocusRuleAppliesWhileItsProgramRuns) {
  ProfileRuleSet set;
  set.rules = {Rule("shoot.x86_64", RuleCondition::kFocused, kShooter)};
  const std::vector<Step> steps = {
      {Step::kStart, kShooterGame, "Shooter"},
      {Step::kFocus, kEditor, "Shooter"},  // a focus there may be, but it is not known
      {Step::kEnd, kShooterGame, ""},      // no default: the profile chosen by hand
  };
  EXPECT_EQ(Replay(set, steps, false), Expected(steps));
}

TEST(ProfileRuleMatching, NamesAndPathsMatchTheExecutableOrTheCommandAsStarted) {
  const ProcessInfo script{7, "/usr/bin/python3.11", "python3", "/opt/tools/launcher"};
  EXPECT_TRUE(ProgramMatches("python3.11", script));
  EXPECT_TRUE(ProgramMatches("launcher", script));
  EXPECT_TRUE(ProgramMatches("/opt/tools/launcher", script));
  EXPECT_TRUE(ProgramMatches("/usr/bin/python3.11", script));
  EXPECT_FALSE(ProgramMatches("/usr/bin/python3", script));
  EXPECT_FALSE(ProgramMatches("python", script));
  EXPECT_FALSE(ProgramMatches("Launcher", script));  // case counts outside Windows names
  EXPECT_FALSE(ProgramMatches("", script));
  // Another user's process shows only its short name.
  const ProcessInfo foreign{8, "", "steamwebhelper", "steamwebhelper"};
  EXPECT_TRUE(ProgramMatches("steamwebhelper", foreign));
  const ProcessInfo foreignShort{9, "", "a-very-long-pro", ""};
  EXPECT_TRUE(ProgramMatches("a-very-long-pro", foreignShort));
  EXPECT_FALSE(ProgramMatches("a-very-long-program", foreignShort));
}

class ProfileRuleFileTest : public ::testing::Test {
 protected:
  testing::TempFolder folder_;
  ProfileRuleFile file_{folder_.path()};
};

TEST_F(ProfileRuleFileTest, RulesReadBackAsWrittenInTheirOrder) {
  ProfileRuleSet set;
  set.rules = {Rule("steam", RuleCondition::kRunning, kGames),
               Rule("/opt/game/game", RuleCondition::kFocused, kShooter)};
  set.defaultProfileId = kDesktop.id;
  ASSERT_TRUE(file_.Write(set).ok);
  const ProfileRuleSet back = file_.Read(kProfiles);
  ASSERT_EQ(back.rules.size(), 2u);
  EXPECT_EQ(back.rules[0].program, "steam");
  EXPECT_EQ(back.rules[0].when, RuleCondition::kRunning);
  EXPECT_EQ(back.rules[1].program, "/opt/game/game");
  EXPECT_EQ(back.rules[1].when, RuleCondition::kFocused);
  EXPECT_EQ(back.rules[1].profileId, kShooter.id);
  EXPECT_EQ(back.defaultProfileId, kDesktop.id);
  EXPECT_FALSE(back.keepAsideBeforeWrite);
  EXPECT_FALSE(std::filesystem::exists(file_.Path().string() + ".bak"));
  const std::string text = ReadText(file_.Path());
  EXPECT_NE(text.find("\"When\" : \"focus\""), std::string::npos) << text;
  EXPECT_NE(text.find("\"ProfileName\" : \"Shooter\""), std::string::npos) << text;
}

TEST_F(ProfileRuleFileTest, ARuleOfAProfileThatIsGoneIsBrokenSkippedAndKeptAndTheFileIsSetAsideFirst) {
  const std::string original =
      R"({"DefaultProfile": "gone_too", "Rules": [)"
      R"({"Program": "steam", "When": "running", "Profile": "2026_05_05_05_05_05_555", "ProfileName": "Old"},)"
      R"({"Program": "steam", "When": "running", "Profile": "2026_01_01_00_00_01_000"}, 42,)"
      R"({"Program": "steam", "When": "always", "Profile": "2026_01_01_00_00_01_000"}]})";
  WriteText(file_.Path(), original);
  ProfileRuleSet set = file_.Read(kProfiles);
  ASSERT_EQ(set.rules.size(), 4u);
  EXPECT_EQ(set.rules[0].broken, "no such profile");
  EXPECT_EQ(set.rules[0].profileName, "Old");
  EXPECT_FALSE(set.rules[1].IsBroken());
  EXPECT_EQ(set.rules[1].profileName, "Games");  // the list's name
  EXPECT_EQ(set.rules[2].broken, "not a rule");
  EXPECT_EQ(set.rules[3].broken, "no condition");
  EXPECT_TRUE(set.defaultBroken);
  EXPECT_TRUE(set.keepAsideBeforeWrite);

  // The broken ones are skipped, and the gone default gives way to the profile chosen by hand.
  RuleSituation situation;
  situation.running = {kSteam};
  const RuleDecision decision = DecideProfile(set, situation);
  EXPECT_EQ(decision.rule, 1);
  EXPECT_EQ(decision.profileId, kGames.id);
  EXPECT_EQ(DecideProfile(set, RuleSituation{}).profileId, "");

  set.rules.erase(set.rules.begin() + 1);
  ASSERT_TRUE(file_.Write(set).ok);
  EXPECT_EQ(ReadText(file_.Path().string() + ".bak"), original);
  // What could not be used is still in the file, as it was.
  const ProfileRuleSet back = file_.Read(kProfiles);
  ASSERT_EQ(back.rules.size(), 3u);
  EXPECT_EQ(back.rules[0].broken, "no such profile");
  EXPECT_EQ(back.rules[1].broken, "not a rule");
  EXPECT_EQ(back.rules[2].broken, "no condition");
}

TEST_F(ProfileRuleFileTest, AFileThatIsNoRuleFileReadsAsNoRulesAndIsKeptBeforeItIsReplaced) {
  for (const std::string& damaged : {std::string("{\"Rules\": [ {\"Program\""), std::string("[1, 2]"),
                                    std::string("\xff\xfe garbage", 10)}) {
    WriteText(file_.Path(), damaged);
    ProfileRuleSet set = file_.Read(kProfiles);
    EXPECT_TRUE(set.damagedFile);
    EXPECT_TRUE(set.rules.empty());
    set.rules.push_back(Rule("steam", RuleCondition::kRunning, kGames));
    ASSERT_TRUE(file_.Write(set).ok);
    EXPECT_EQ(ReadText(file_.Path().string() + ".bak"), damaged);
    EXPECT_EQ(file_.Read(kProfiles).rules.size(), 1u);
  }
}

TEST_F(ProfileRuleFileTest, TheDeviceProfilesAreReadFromItsListWithoutChangingIt) {
  const std::string list =
      R"({"profilelist": [{"profilename": "Desktop", "profileUUID": "2026_01_01_00_00_00_000"},)"
      R"({"profilename": "Evil", "profileUUID": "../../escape"},)"
      R"({"profilename": "Games", "profileUUID": "2026_01_01_00_00_01_000"}], "profileselect": 0})";
  WriteText(folder_ / "ProfileList.ini", list);
  const std::vector<ListedProfile> profiles = ReadListedProfiles(folder_.path());
  ASSERT_EQ(profiles.size(), 2u);
  EXPECT_EQ(profiles[0].name, "Desktop");
  EXPECT_EQ(profiles[1].id, "2026_01_01_00_00_01_000");
  EXPECT_EQ(ReadText(folder_ / "ProfileList.ini"), list);
  EXPECT_TRUE(ReadListedProfiles(folder_ / "missing").empty());
}

}  // namespace
}  // namespace norvane
