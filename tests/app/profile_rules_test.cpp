// Profiles that follow the program: with the window on an emulated keyboard and mouse, a chosen program
// that starts switches both devices to their rules' profiles and its end switches them back; on an X server
// with a window manager, a window that gets the focus does the same; switches wait while the user records,
// and a program that flaps causes a few of them, not a storm. The rule panel of a page edits the rules.

#include "profiles/profile_rules.h"

#include <chrono>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <filesystem>

#include "app/profile_rules_editor.h"
#include "editors/page_controls.h"
#include "profiles/json_file_util.h"
#include "tests/app/window_fixture.h"
#include "tests/support/copied_program.h"
#include "tests/support/private_x_server.h"
#include "uilib/list.h"

namespace norvane::app::test {
namespace {

using namespace std::chrono_literals;

constexpr std::size_t kWinLockByte = 21;  // of the keyboard's settings record
const QString kFocusWindow = QStringLiteral(NORVANE_BINARY_DIR "/tests/focus_window/norvane-focus-window");

class ProfileRulesTest : public WindowOnEmulatorTest {
 protected:
  ProfileRulesTest() {
    customise_ = [this](MainWndOptions& options) {
      CProfileSwitcher::Options rules;
      rules.watch = watch_;
      rules.wayland = wayland_;
      rules.display = display_;
      rules.watcher.scanInterval = 100ms;
      rules.settle = 100ms;
      rules.maxWait = 600ms;
      rules.busyRetry = 100ms;
      options.profileRules = rules;
    };
  }

  controls::CDevicePageUI* MousePage() const { return PageOfKind(hid::DeviceKind::kMouse); }

  // A second profile "profile2" on the page; on the keyboard its Windows-key lock is on, so that the
  // device's settings record tells which profile it was written from.
  std::string AddSecondProfile(controls::CDevicePageUI* page) {
    controls::CDeviceProfileUI& bar = *page->ProfileBar();
    EXPECT_TRUE(bar.AddProfile().done());
    const std::filesystem::path file = bar.GetProfilePath(1).toStdString();
    if (page == KeyboardPage()) {
      Json::Value document = JsonFileUtil().ReadJsonValue(file);
      document["Device"][0]["SystemStages"]["WinFlag"] = 1;
      EXPECT_TRUE(JsonFileUtil().WriteJsonValue(file, document).ok);
    }
    return file.stem().string();
  }
  static std::string FirstProfile(controls::CDevicePageUI* page) {
    return std::filesystem::path(page->ProfileBar()->GetProfilePath(0).toStdString()).stem().string();
  }
  static std::string CurrentProfile(controls::CDevicePageUI* page) {
    return page->ProfileBar()->GetCurrentProfileId().toStdString();
  }
  static void WriteRule(controls::CDevicePageUI* page, const std::string& program, RuleCondition when,
                        const std::string& profileId) {
    ProfileRuleSet set;
    ProfileRule rule;
    rule.program = program;
    rule.when = when;
    rule.profileId = profileId;
    set.rules.push_back(rule);
    ASSERT_TRUE(ProfileRuleFile(page->Device()->UserProfileFolder()).Write(set).ok);
  }
  bool KeyboardOn(const std::string& profile, std::uint8_t winLock, std::chrono::milliseconds limit = 8s) {
    return QTest::qWaitFor(
        [&] {
          return CurrentProfile(KeyboardPage()) == profile && SettingsRecord()[kWinLockByte] == winLock;
        },
        static_cast<int>(limit.count()));
  }

  // Programs of this test process's own: tests run side by side watch the same machine.
  const std::string game_ = "norvane-game-" + std::to_string(getpid());
  bool watch_ = true;
  std::optional<bool> wayland_ = true;
  std::string display_;
  norvane::testing::TempFolder programs_;
};

TEST_F(ProfileRulesTest, AChosenProgramSwitchesKeyboardAndMouseWhileItRunsAndItsEndSwitchesThemBack) {
  ASSERT_NE(MousePage(), nullptr);
  const std::string keyboardDesk = FirstProfile(KeyboardPage());
  const std::string mouseDesk = FirstProfile(MousePage());
  const std::string keyboardGame = AddSecondProfile(KeyboardPage());
  const std::string mouseGame = AddSecondProfile(MousePage());
  // On Wayland the focus is not known: the keyboard's focus rule applies while the program runs.
  WriteRule(KeyboardPage(), game_, RuleCondition::kFocused, keyboardGame);
  WriteRule(MousePage(), game_, RuleCondition::kRunning, mouseGame);
  window_->ProfileSwitcher()->RulesChanged();
  ASSERT_EQ(window_->ProfileSwitcher()->GetFocusMode(), CProfileSwitcher::FocusMode::kWayland);
  QTest::qWait(300);
  EXPECT_EQ(CurrentProfile(KeyboardPage()), keyboardDesk);
  EXPECT_EQ(window_->ProfileSwitcher()->SwitchCount(), 0);

  norvane::testing::CopiedProgram game(programs_.path() / game_);
  game.Start();
  EXPECT_TRUE(KeyboardOn(keyboardGame, 1));
  EXPECT_TRUE(QTest::qWaitFor([&] { return CurrentProfile(MousePage()) == mouseGame; }, 5000));
  EXPECT_EQ(KeyboardPage()->Device()->ProfileStem(), keyboardGame);
  EXPECT_EQ(MousePage()->Device()->ProfileStem(), mouseGame);

  game.Stop();
  EXPECT_TRUE(KeyboardOn(keyboardDesk, 0));
  EXPECT_TRUE(QTest::qWaitFor([&] { return CurrentProfile(MousePage()) == mouseDesk; }, 5000));
  // Once there and once back, each.
  QTest::qWait(300);
  EXPECT_EQ(window_->ProfileSwitcher()->SwitchCount(), 4);
  // The choice survives a restart as the bar's own does.
  const Json::Value list =
      JsonFileUtil().ReadJsonValue(KeyboardPage()->Device()->UserProfileFolder() / "ProfileList.ini");
  EXPECT_EQ(list["profileselect"].asInt(), 0);
}

TEST_F(ProfileRulesTest, WhileTheUserRecordsAMacroTheSwitchWaits) {
  const std::string desk = FirstProfile(KeyboardPage());
  const std::string game = AddSecondProfile(KeyboardPage());
  WriteRule(KeyboardPage(), game_, RuleCondition::kRunning, game);
  window_->ProfileSwitcher()->RulesChanged();
  window_->SetRecordingUi(true, false);
  norvane::testing::CopiedProgram program(programs_.path() / game_);
  program.Start();
  EXPECT_FALSE(KeyboardOn(game, 1, 1500ms));
  EXPECT_EQ(CurrentProfile(KeyboardPage()), desk);
  window_->SetRecordingUi(true, true);
  EXPECT_TRUE(KeyboardOn(game, 1));
}

class FlappingProgramTest : public ProfileRulesTest {
 protected:
  FlappingProgramTest() { watch_ = false; }
};

TEST_F(FlappingProgramTest, AProgramThatStartsAndEndsAllTheTimeCausesAFewSwitchesAndTheLastStateWins) {
  const std::string desk = FirstProfile(KeyboardPage());
  const std::string game = AddSecondProfile(KeyboardPage());
  WriteRule(KeyboardPage(), "flapper", RuleCondition::kRunning, game);
  CProfileSwitcher& switcher = *window_->ProfileSwitcher();
  switcher.RulesChanged();
  const ProcessInfo flapper{4242, "/opt/flapper", "flapper", "/opt/flapper"};
  // About two seconds of a start and an end every ten milliseconds, ending with the program running.
  const auto began = std::chrono::steady_clock::now();
  for (int i = 0; i < 200; ++i) {
    switcher.SetRunning(i % 2 ? std::vector<ProcessInfo>{} : std::vector<ProcessInfo>{flapper});
    QTest::qWait(10);
  }
  const auto flapped = std::chrono::steady_clock::now() - began;
  switcher.SetRunning({flapper});
  EXPECT_TRUE(KeyboardOn(game, 1));
  QTest::qWait(300);
  // A switch for every start and end would be 200; a run at its pace settles one decision per longest wait
  // at most. A stretched run may pause long enough to settle in between, but never comes near a storm.
  if (flapped < std::chrono::seconds(3)) {
    EXPECT_LE(switcher.SwitchCount(), 6) << "one settled decision per longest wait at most";
  } else {
    EXPECT_LE(switcher.SwitchCount(), 20) << "a few switches, not one for every start and end";
  }
  switcher.SetRunning({});
  EXPECT_TRUE(KeyboardOn(desk, 0));
}

class FocusRulesTest : public ProfileRulesTest {
 protected:
  FocusRulesTest() {
    wayland_ = false;
    display_ = desktop_.Display().toStdString();
  }
  void SetUp() override {
    if (!desktop_.Ready()) GTEST_SKIP() << desktop_.Problem().toStdString();
    if (QStandardPaths::findExecutable("xdotool").isEmpty()) GTEST_SKIP() << "xdotool is not installed";
    ProfileRulesTest::SetUp();
  }
  void TearDown() override {
    for (auto& window : windows_) {
      window->kill();
      window->waitForFinished(2000);
    }
    ProfileRulesTest::TearDown();
  }

  // Starts a focus window under `name` (a link to the helper would run as the helper: this is a copy) and
  // returns its window id.
  QString OpenFocusWindow(const std::string& name) {
    const std::filesystem::path program = programs_.path() / name;
    std::filesystem::copy_file(kFocusWindow.toStdString(), program);
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", desktop_.Display());
    process->setProcessEnvironment(env);
    process->start(QString::fromStdString(program.string()), {});
    if (!QTest::qWaitFor([&] { return process->canReadLine(); }, 5000)) return {};
    const QString line = QString::fromLatin1(process->readLine()).trimmed();
    windows_.push_back(std::move(process));
    return line.section(' ', 1);
  }
  bool Activate(const QString& window) {
    QProcess xdotool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", desktop_.Display());
    xdotool.setProcessEnvironment(env);
    xdotool.start("xdotool", {"windowactivate", "--sync", window});
    return xdotool.waitForFinished(10000) && xdotool.exitCode() == 0;
  }

  norvane::testing::PrivateXServer desktop_{true};
  std::vector<std::unique_ptr<QProcess>> windows_;
};

TEST_F(FocusRulesTest, AWindowGettingTheFocusSwitchesTheKeyboardAndAnotherWindowSwitchesItBack) {
  ASSERT_TRUE(QFileInfo::exists(kFocusWindow));
  const std::string desk = FirstProfile(KeyboardPage());
  const std::string game = AddSecondProfile(KeyboardPage());
  WriteRule(KeyboardPage(), game_, RuleCondition::kFocused, game);
  window_->ProfileSwitcher()->RulesChanged();
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return window_->ProfileSwitcher()->GetFocusMode() == CProfileSwitcher::FocusMode::kFollowing; },
      3000));

  const QString gameWindow = OpenFocusWindow(game_);
  const QString otherWindow = OpenFocusWindow(game_ + "-other");
  ASSERT_FALSE(gameWindow.isEmpty());
  ASSERT_FALSE(otherWindow.isEmpty());
  ASSERT_TRUE(Activate(otherWindow));
  QTest::qWait(400);
  // Running is not enough for a focus rule where the focus is known.
  EXPECT_EQ(CurrentProfile(KeyboardPage()), desk);

  ASSERT_TRUE(Activate(gameWindow));
  EXPECT_TRUE(KeyboardOn(game, 1));
  ASSERT_TRUE(Activate(otherWindow));
  EXPECT_TRUE(KeyboardOn(desk, 0));
  ASSERT_TRUE(Activate(gameWindow));
  EXPECT_TRUE(KeyboardOn(game, 1));
}

class RulePanelTest : public ProfileRulesTest {
 protected:
  RulePanelTest() { watch_ = false; }
  ProfileRuleSet Rules() { return ProfileRuleFile(KeyboardPage()->Device()->UserProfileFolder()).Read(); }
  ui::CListUI* List() { return dynamic_cast<ui::CListUI*>(InPage(KeyboardPage(), "rules_list")); }
  ui::CComboUI* Combo(const char* name) { return dynamic_cast<ui::CComboUI*>(InPage(KeyboardPage(), name)); }
  void ChooseItem(const char* name, int index) {
    ui::CComboUI* combo = Combo(name);
    ASSERT_NE(combo, nullptr) << name;
    combo->SelectItem(index, false, false);
    ui::TNotifyUI msg{ui::DUI_MSGTYPE_ITEMSELECT, combo, ui::WPARAM(index), 0};
    window_->Notify(msg);
  }
};

TEST_F(RulePanelTest, RulesAreAddedMovedRemovedAndTheDefaultChosenFromThePanel) {
  const std::string game = AddSecondProfile(KeyboardPage());
  ui::CControlUI* panel = InPage(KeyboardPage(), "profile_rules_layout");
  ASSERT_NE(panel, nullptr);
  EXPECT_FALSE(panel->IsVisible());
  Click(KeyboardPage(), "profile_rules_spread_btn");
  EXPECT_TRUE(panel->IsVisible());
  // This session cannot know the focus: the panel says what a focus rule does then.
  ui::CControlUI* notice = InPage(KeyboardPage(), "rules_notice_label");
  EXPECT_TRUE(notice->IsVisible());
  EXPECT_EQ(notice->GetText(), editors::LocalizedText("rules_notice_wayland"));
  EXPECT_EQ(Combo("rules_program_combo")->lineEdit()->placeholderText(),
            editors::LocalizedText("rules_program_placeholder"));
  EXPECT_EQ(Combo("rules_program_combo")->lineEdit()->text(), "");

  // Without a program nothing is added, and the user is told.
  Click(KeyboardPage(), "rules_add_btn");
  QTest::qWait(20);
  EXPECT_EQ(prompts_.told, std::vector<std::string>{CProfileRulesEditor::kNoProgram});
  EXPECT_TRUE(Rules().rules.empty());

  Combo("rules_program_combo")->SetText("steam");
  Combo("rules_condition_combo")->SelectItem(0, false, false);
  Combo("rules_profile_combo")->SelectItem(1, false, false);
  Click(KeyboardPage(), "rules_add_btn");
  Combo("rules_program_combo")->SetText("/opt/shooter/shoot");
  Combo("rules_condition_combo")->SelectItem(1, false, false);
  Combo("rules_profile_combo")->SelectItem(0, false, false);
  Click(KeyboardPage(), "rules_add_btn");
  ProfileRuleSet set = Rules();
  ASSERT_EQ(set.rules.size(), 2u);
  EXPECT_EQ(set.rules[0].program, "steam");
  EXPECT_EQ(set.rules[0].when, RuleCondition::kRunning);
  EXPECT_EQ(set.rules[0].profileId, game);
  EXPECT_EQ(set.rules[1].when, RuleCondition::kFocused);
  ASSERT_EQ(List()->GetCount(), 2);
  EXPECT_EQ(List()->GetItemText(0), "steam runs → profile2");
  EXPECT_EQ(List()->GetItemText(1), "/opt/shooter/shoot has the focus → Profile1");

  // The second first, then it goes.
  List()->SelectItem(1, false, false);
  Click(KeyboardPage(), "rules_up_btn");
  set = Rules();
  EXPECT_EQ(set.rules[0].program, "/opt/shooter/shoot");
  EXPECT_EQ(List()->GetCurSel(), 0);
  Click(KeyboardPage(), "rules_remove_btn");
  set = Rules();
  ASSERT_EQ(set.rules.size(), 1u);
  EXPECT_EQ(set.rules[0].program, "steam");

  ChooseItem("rules_default_combo", 2);
  EXPECT_EQ(Rules().defaultProfileId, game);
  ChooseItem("rules_default_combo", 0);
  EXPECT_EQ(Rules().defaultProfileId, "");
}

TEST_F(RulePanelTest, ABrokenRuleIsShownAsSuchAndTheDamagedFileIsKeptBeforeTheFirstChange) {
  const std::filesystem::path file =
      KeyboardPage()->Device()->UserProfileFolder() / ProfileRuleFile::kFileName;
  const std::string original =
      R"({"Rules": [{"Program": "steam", "When": "running", "Profile": "gone", "ProfileName": "Old"}]})";
  norvane::testing::WriteText(file, original);
  Click(KeyboardPage(), "profile_rules_spread_btn");
  ASSERT_EQ(List()->GetCount(), 1);
  EXPECT_EQ(List()->GetItemText(0), "steam → Old: this profile is gone; skipped");

  Combo("rules_program_combo")->SetText("game");
  Click(KeyboardPage(), "rules_add_btn");
  EXPECT_EQ(norvane::testing::ReadText(file.string() + ".bak"), original);
  ASSERT_EQ(Rules().rules.size(), 2u);
  EXPECT_TRUE(Rules().rules[0].IsBroken());
  EXPECT_EQ(Rules().rules[1].program, "game");
}

}  // namespace
}  // namespace norvane::app::test
