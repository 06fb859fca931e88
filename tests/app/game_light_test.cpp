// Game events in the real window on an emulated keyboard and mouse: the game's effect shows on the device
// and the picture for five seconds and then the user's comes back, on the page the event was for; the
// profile never takes the game's effect, not even from a save in between; effects a page cannot show are
// refused; a flood of events is bounded.
#include <gtest/gtest.h>

#include <QTest>

#include "app/game_light.h"
#include "app/main_messages.h"
#include "editors/key_assignment_editor.h"
#include "tests/app/window_fixture.h"
#include "uilib/combo.h"

namespace norvane::app::test {
namespace {

TEST(GameLightWord, WholeWordOrOnlyTheMode) {
  EXPECT_EQ(GameLightWord(0x01030205u, 1, 0x0107), 0x01030207u) << "wParam 1: lParam's low byte is the mode";
  EXPECT_EQ(GameLightWord(0x01030205u, 2, 0x0107), 0x01030207u);
  EXPECT_EQ(GameLightWord(0x01030205u, 0, 0x00040309), 0x00040309u) << "wParam 0: the whole word";
  lighting::LightParams p;
  p.mode = 5;
  p.brightness = 2;
  p.speed = 3;
  p.direction = 1;
  p.red = 9;
  EXPECT_EQ(LightWord(p), 0x01030205u);
}

TEST(GameLightWord, EffectsThePageCannotShowAreRefused) {
  const lighting::LightParams current;
  const std::size_t modes = 46;
  EXPECT_TRUE(GameLightParams(current, 0x0104042D, modes)) << "the last mode, level 4 everywhere, forward";
  EXPECT_FALSE(GameLightParams(current, 0x0000002E, modes)) << "mode 46 is not in the table";
  EXPECT_FALSE(GameLightParams(current, 0x00000500, modes)) << "brightness 5";
  EXPECT_FALSE(GameLightParams(current, 0x00050000, modes)) << "speed 5";
  EXPECT_FALSE(GameLightParams(current, 0x02000000, modes)) << "direction 2";
  EXPECT_FALSE(GameLightParams(current, 0x00000000, 0)) << "a page without a mode table shows nothing";
}

class GameLightTest : public WindowOnEmulatorTest {
 protected:
  void SetUp() override {
    WindowOnEmulatorTest::SetUp();
    if (HasFatalFailure()) return;
    ChooseMode(5);
    ASSERT_EQ(SettingsRecord()[1], 5);
  }
  void ChooseMode(int mode) {
    Select(KeyboardPage(), "deng_Op_tab");
    auto* modes = dynamic_cast<ui::CComboUI*>(InPage(KeyboardPage(), "light_combo_modeSelect"));
    ASSERT_NE(modes, nullptr);
    ASSERT_TRUE(modes->SelectItem(mode, false, true));
  }
  void Game(RegisteredMessage id, ui::WPARAM wParam, ui::LPARAM lParam) {
    window_->SendMessage(RegisteredMessageId(id), wParam, lParam);
  }
  void RestoreTimerFires() {
    ASSERT_TRUE(window_->IsTimerRunning(kTimerGameLight));
    window_->SendMessage(ui::WM_TIMER, kTimerGameLight, 0);
  }
  Json::Value SavedLight() const {
    return JsonFileUtil().ReadJsonValue(KeyboardPage()->Device()->CurrentProfileFile())["Device"][0]["LightInfo"];
  }
  int Writes() const {
    const std::vector<uint8_t> codes = SentCodes();
    return int(std::count(codes.begin(), codes.end(), kWriteSettings));
  }
  // A key edit as the user makes it: A becomes Volume Up, which saves the profile.
  void EditAKey() {
    Select(KeyboardPage(), "key_Op_tab");
    Click(KeyboardPage(), "key_64");
    auto* kinds = dynamic_cast<ui::CComboUI*>(InPage(KeyboardPage(), "keyset_function_combo"));
    ASSERT_NE(kinds, nullptr);
    ASSERT_TRUE(kinds->SelectItem(kinds->FindItemByUserData("7"), false, true));
    auto* media = dynamic_cast<ui::CComboUI*>(InPage(KeyboardPage(), "keyset_media_combo"));
    ASSERT_NE(media, nullptr);
    ASSERT_TRUE(media->SelectItem(6, false, true));
    ASSERT_EQ(Keyboard().KeyAssignments()[64].current, (KeyFunction{0x30, 0xE9, 0x00}));
  }
};

TEST_F(GameLightTest, TheGamesEffectShowsAndTheUsersReturnsEvenAfterAKeyEditMeanwhile) {
  Keyboard().SetLightSynced(true);
  // Mode 7 at brightness 2, speed 4, backwards.
  Game(RegisteredMessage::kGameKill, 0, 0x00040207);
  EXPECT_EQ(SettingsRecord()[1], 7);
  EXPECT_EQ(SettingsRecord()[2], 2);
  EXPECT_EQ(Keyboard().GetLightParams().mode, 7) << "the picture shows it";
  EXPECT_FALSE(Keyboard().IsLightSynced());
  EXPECT_EQ(SavedLight()["SelectItem"].asInt(), 5);

  EditAKey();
  EXPECT_EQ(SavedLight()["SelectItem"].asInt(), 5) << "the save in between keeps the user's effect";
  EXPECT_EQ(JsonFileUtil().ReadJsonValue(KeyboardPage()->Device()->CurrentProfileFile())["Device"][0]["KeyList"][64]
                ["Assignment"].asInt64(),
            0x30E900)
      << "and the edit";

  RestoreTimerFires();
  EXPECT_EQ(SettingsRecord()[1], 5);
  EXPECT_EQ(Keyboard().GetLightParams().mode, 5);
  EXPECT_EQ(SavedLight()["SelectItem"].asInt(), 5);
  EXPECT_TRUE(Keyboard().IsLightSynced()) << "back in the shared effect it was in";
}

TEST_F(GameLightTest, TheUsersEffectReturnsOnThePageTheEventWasFor) {
  controls::CDevicePageUI* mouse = PageOfKind(hid::DeviceKind::kMouse);
  const lighting::LightParams mouseBefore = mouse->Device()->GetLightParams();
  Game(RegisteredMessage::kGameStart, 1, 9);
  ASSERT_EQ(SettingsRecord()[1], 9);
  SelectTab(mouse);
  ASSERT_EQ(window_->Devices()->CurrentPage(), mouse);
  RestoreTimerFires();
  EXPECT_EQ(SettingsRecord()[1], 5);
  EXPECT_EQ(mouse->Device()->GetLightParams().mode, mouseBefore.mode) << "the mouse was never in the game";
}

TEST_F(GameLightTest, AnEditOfTheLightingDuringTheGameEffectStands) {
  Game(RegisteredMessage::kGameDeath, 2, 9);
  ASSERT_EQ(SettingsRecord()[1], 9);
  ChooseMode(23);
  RestoreTimerFires();
  EXPECT_EQ(SettingsRecord()[1], 23);
  EXPECT_EQ(SavedLight()["SelectItem"].asInt(), 23);
}

TEST_F(GameLightTest, TheUsersEffectReturnsBeforeTheProgramEnds) {
  Game(RegisteredMessage::kGameEnd, 1, 9);
  ASSERT_EQ(SettingsRecord()[1], 9);
  const std::filesystem::path profile = KeyboardPage()->Device()->CurrentProfileFile();
  window_.reset();
  EXPECT_EQ(SettingsRecord()[1], 5);
  EXPECT_EQ(JsonFileUtil().ReadJsonValue(profile)["Device"][0]["LightInfo"]["SelectItem"].asInt(), 5);
}

TEST_F(GameLightTest, EffectsThePageCannotShowOnlyStartTheRestoreTimer) {
  backend_->ClearFrameLog();
  Game(RegisteredMessage::kGameStart, 1, 200);          // no mode 200 on this keyboard
  Game(RegisteredMessage::kGameStart, 0, 0x00000505);   // brightness 5
  Game(RegisteredMessage::kGameStart, 0, 0x02000005);   // direction 2
  EXPECT_EQ(Writes(), 0);
  EXPECT_EQ(Keyboard().GetLightParams().mode, 5);
  EXPECT_TRUE(window_->IsTimerRunning(kTimerGameLight));

  window_->SendMessage(ui::WM_TIMER, kTimerGameLight, 0);
  Game(RegisteredMessage::kGameStart, 3, 9);  // a game event this program does not know
  EXPECT_TRUE(window_->IsTimerRunning(kTimerGameLight));
  EXPECT_EQ(Writes(), 0);
  EXPECT_EQ(SettingsRecord()[1], 5);
}

TEST_F(GameLightTest, AFloodOfEventsIsAppliedAtAMeasuredPaceTheLatestLast) {
  backend_->ClearFrameLog();
  for (int i = 0; i < 1000; ++i) Game(RegisteredMessage::kGameKill, 1, 6 + i % 3);
  Game(RegisteredMessage::kGameKill, 1, 11);
  EXPECT_EQ(SettingsRecord()[1], 6) << "the first one at once";
  EXPECT_LE(Writes(), 1) << "the rest waits";
  EXPECT_TRUE(QTest::qWaitFor([&] { return SettingsRecord()[1] == 11; }, 2000)) << "the latest follows";
  EXPECT_LE(Writes(), 2);
  RestoreTimerFires();
  EXPECT_EQ(SettingsRecord()[1], 5);
}

}  // namespace
}  // namespace norvane::app::test
