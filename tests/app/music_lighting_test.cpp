// Music lighting in the real window on an emulated keyboard: the companion's levels reach the keyboard on
// every third message, its bands as the band colour, the audio panel edits the keyboard's audio record
// (kept in its profile), and the companion runs while the keyboard shows a music effect.
#include <gtest/gtest.h>

#include <QTest>

#include "app/audio_companion.h"
#include "app/copy_data_record.h"
#include "editors/light_control.h"
#include "editors/lighting_editor.h"
#include "tests/app/window_fixture.h"
#include "uilib/combo.h"
#include "uilib/edit.h"

namespace norvane::app::test {
namespace {

QByteArray Values(const std::vector<std::int32_t>& values) {
  return QByteArray(reinterpret_cast<const char*>(values.data()), qsizetype(values.size() * 4));
}

class MusicLightingTest : public WindowOnEmulatorTest {
 protected:
  void SetUp() override {
    companion_ = QStringLiteral("sleep");  // stands in for the companion: runs until it is ended
    companionArguments_ = {QStringLiteral("60")};
    WindowOnEmulatorTest::SetUp();
    if (HasFatalFailure()) return;
    Select(KeyboardPage(), "deng_Op_tab");
  }
  void ChooseMode(int mode) {
    auto* modes = dynamic_cast<ui::CComboUI*>(InPage(KeyboardPage(), "light_combo_modeSelect"));
    ASSERT_NE(modes, nullptr);
    ASSERT_TRUE(modes->SelectItem(mode, false, true));
    QTest::qWait(20);
  }
  editors::CLightControlUI& Panel() const { return *editors::CLightingEditor::PanelOf(*KeyboardPage()); }
  void Notify(const char* type, const char* name, ui::WPARAM wParam = 0) {
    ui::CControlUI* control = InPage(KeyboardPage(), name);
    ASSERT_NE(control, nullptr) << name;
    ui::TNotifyUI msg{type, control, wParam, 0};
    window_->Notify(msg);
  }
  Json::Value SavedAudio() const {
    return JsonFileUtil().ReadJsonValue(KeyboardPage()->Device()->CurrentProfileFile())["Device"][0]["AudioLightInfo"];
  }
};

TEST_F(MusicLightingTest, EveryThirdLevelsMessageReachesTheKeyboardAndBandsAtOnce) {
  // Each message the first four of every five levels rise by 10, 20, 30, 40.
  std::vector<std::int32_t> levels(500, 0);
  auto send = [&] {
    for (std::size_t i = 0; i < 500; ++i)
      if (i % 5 != 4) levels[i] += std::int32_t(10 * (i % 5 + 1));
    window_->OnCopyData(kCopyDataSoundLevels, Values(levels));
  };
  send();
  send();
  EXPECT_EQ(Keyboard().Lighting().StateSnapshot().audio.levels[0], 0) << "not yet";
  send();
  const auto fed = Keyboard().Lighting().StateSnapshot().audio.levels;
  for (std::int32_t mean : fed) EXPECT_EQ(mean, 25);

  window_->OnCopyData(kCopyDataAudioBands, Values({200, 100, 50, 1, 2, 3}));
  EXPECT_EQ(Keyboard().Lighting().StateSnapshot().audioColour, (lighting::Rgb{200, 100, 50}));
}

TEST_F(MusicLightingTest, TheCompanionRunsWhileTheKeyboardShowsAMusicEffect) {
  EXPECT_FALSE(window_->AudioCompanion().IsRunning());
  ChooseMode(29);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->AudioCompanion().IsRunning(); }, 3000));
  ChooseMode(5);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window_->AudioCompanion().IsRunning(); }, 3000));
  ChooseMode(30);
  // Started again only after the spacing, then kept running.
  EXPECT_TRUE(QTest::qWaitFor([&] { return window_->AudioCompanion().IsRunning(); }, 6000));
  EXPECT_EQ(window_->AudioCompanion().Starts(), 2);
  window_.reset();
}

TEST_F(MusicLightingTest, TheAudioPanelEditsTheKeyboardsRecordInItsProfile) {
  ChooseMode(29);
  auto* pictures = dynamic_cast<ui::CComboUI*>(InPage(KeyboardPage(), "light_combo_audiomodeSelect"));
  ASSERT_NE(pictures, nullptr);
  ASSERT_TRUE(pictures->SelectItem(3, false, true));
  EXPECT_EQ(Keyboard().GetAudioLight().mode, 3);
  EXPECT_EQ(SavedAudio()["AudioMode"].asInt(), 3);
  EXPECT_FALSE(InPage(KeyboardPage(), "light_audiocolor_layout")->IsEnabled()) << "picture 3 has no colours";
  ASSERT_TRUE(pictures->SelectItem(0, false, true));
  EXPECT_TRUE(InPage(KeyboardPage(), "light_audiocolor_layout")->IsEnabled());

  // The foreground: a preset colour clears the multi-colour flag; a typed component too.
  Select(KeyboardPage(), "audio_FgColor_check");
  Select(KeyboardPage(), "deng_7audiocolor_check");
  ASSERT_EQ(Keyboard().GetAudioLight().multiColour, 1);
  Notify(ui::DUI_MSGTYPE_CLICK, "audiocolor_option_1");
  EXPECT_EQ(Keyboard().GetAudioLight().foreground, (lighting::Rgb{255, 0, 0}));
  EXPECT_EQ(Keyboard().GetAudioLight().multiColour, 0);
  dynamic_cast<ui::CEditUI*>(InPage(KeyboardPage(), "deng_audioedit_B"))->SetText("300");
  Notify(ui::DUI_MSGTYPE_KILLFOCUS, "deng_audioedit_B");
  EXPECT_EQ(Keyboard().GetAudioLight().foreground, (lighting::Rgb{255, 0, 255}));

  // The background: a colour of its own, then none.
  Select(KeyboardPage(), "audio_BkColor_check");
  Notify(ui::DUI_MSGTYPE_CLICK, "audiocolor_option_5");
  EXPECT_EQ(Keyboard().GetAudioLight().background, (lighting::Rgb{0, 255, 255}));
  Notify(ui::DUI_MSGTYPE_CLICK, "Close_bkColor_btn");
  EXPECT_EQ(Keyboard().GetAudioLight().background, (lighting::Rgb{0, 0, 0}));
  EXPECT_EQ(Keyboard().GetAudioLight().foreground, (lighting::Rgb{255, 0, 255})) << "the foreground stays";
  const Json::Value saved = SavedAudio();
  EXPECT_EQ(saved["FgColorB"].asInt(), 255);
  EXPECT_EQ(saved["ColorTypeFlags"].asInt(), 0);
}

}  // namespace
}  // namespace norvane::app::test
