// Music lighting in the real window on an emulated keyboard: the companion's levels reach the keyboard on
// every third message, its bands as the band colour, the audio panel edits the keyboard's audio record
// (kept in its profile), and the companion runs while the keyboard shows a music effect.
#include <gtest/gtest.h>

#include <QTest>
#include <chrono>
#include <limits>

#include "app/audio_companion.h"
#include "app/copy_data_record.h"
#include "editors/light_control.h"
#include "editors/lighting_editor.h"
#include "platform/xdg_paths.h"
#include "tests/app/window_fixture.h"
#include "tests/support/program_starts.h"
#include "app/audio_style.h"
#include "controls/audio_record.h"
#include "uilib/color_palette.h"
#include "uilib/combo.h"
#include "uilib/edit.h"
#include "uilib/slider.h"

namespace norvane::app::test {
namespace {

QByteArray Values(const std::vector<std::int32_t>& values) {
  return QByteArray(reinterpret_cast<const char*>(values.data()), qsizetype(values.size() * 4));
}

class MusicLightingTest : public WindowOnEmulatorTest {
 protected:
  void SetUp() override {
    if (!norvane::testing::kTestsStartPrograms) GTEST_SKIP() << norvane::testing::kNoProgramsUnderThreadSanitizer;
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
  std::string Text(const char* name) const { return InPage(KeyboardPage(), name)->GetText().toStdString(); }
  std::filesystem::path StyleFile() const { return UserDataFolder() / "AudioFile.json"; }
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

  // The foreground: the palette's pick of the colour it has keeps the multi-colour flag; a preset colour
  // clears it, a typed component too.
  Select(KeyboardPage(), "audio_FgColor_check");
  Select(KeyboardPage(), "deng_7audiocolor_check");
  ASSERT_EQ(Keyboard().GetAudioLight().multiColour, 1);
  const lighting::Rgb foreground = Keyboard().GetAudioLight().foreground;
  auto* palette = dynamic_cast<ui::CColorPaletteUI*>(InPage(KeyboardPage(), "deng_audioColor_Pallet"));
  ASSERT_NE(palette, nullptr);
  palette->SetSelectColor(0xFF000000u | foreground.red << 16 | foreground.green << 8 | foreground.blue);
  Notify(ui::DUI_MSGTYPE_COLORCHANGED, "deng_audioColor_Pallet");
  EXPECT_EQ(Keyboard().GetAudioLight().multiColour, 1) << "the same colour";
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

TEST_F(MusicLightingTest, TheKeyboardsMusicPageShowsTheSoundItReceivesAsFarAsItSwings) {
  ChooseMode(29);
  auto* graph = dynamic_cast<controls::CAudioRecordUI*>(InPage(KeyboardPage(), "audio_record_graph"));
  ASSERT_NE(graph, nullptr);
  ASSERT_TRUE(graph->isVisible());
  std::vector<std::int32_t> levels(500, -3000);
  levels[1] = 4000;
  levels[2] = std::numeric_limits<std::int32_t>::min();
  for (int message = 0; message < 3; ++message) window_->OnCopyData(kCopyDataSoundLevels, Values(levels));
  EXPECT_EQ(graph->Levels()[0], 3000);
  EXPECT_EQ(graph->Levels()[1], 4000);
  EXPECT_EQ(graph->Levels()[2], std::numeric_limits<std::int32_t>::max()) << "the farthest swing there is";

  // A short record fills the rest of the window's levels with what the last one left there.
  window_->OnCopyData(kCopyDataSoundLevels, Values({100}));
  window_->OnCopyData(kCopyDataSoundLevels, Values({100}));
  window_->OnCopyData(kCopyDataSoundLevels, Values({-200}));
  EXPECT_EQ(graph->Levels()[0], 200);
  EXPECT_EQ(graph->Levels()[1], 4000);
}

TEST_F(MusicLightingTest, AFloodOfLevelRecordsIsCutToWhatACompanionSends) {
  // A companion sends about 96 records a second, so the keyboard takes about 32. Here 3,000 come as fast as
  // the window takes them, each one of its own, and the keyboard's sound graph shows every one it is fed.
  ChooseMode(29);
  auto* graph = dynamic_cast<controls::CAudioRecordUI*>(InPage(KeyboardPage(), "audio_record_graph"));
  ASSERT_NE(graph, nullptr);
  constexpr int kRecords = 3000;
  int feeds = 0;
  std::int32_t shown = graph->Levels()[0];
  const auto started = std::chrono::steady_clock::now();
  for (std::int32_t record = 1; record <= kRecords; ++record) {
    window_->OnCopyData(kCopyDataSoundLevels, Values(std::vector<std::int32_t>(500, record)));
    if (graph->Levels()[0] != shown) ++feeds, shown = graph->Levels()[0];
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_GT(feeds, 0);
  // Taken unbounded, every third record would be fed: 1,000.
  const int most = 100 * (int(seconds) + 2);
  EXPECT_LE(feeds, most) << "in " << seconds << " s";
  EXPECT_LT(feeds, kRecords / 3);
}

TEST_F(MusicLightingTest, TheStyleSlidersSetTheCurrentGroupsColourUntilAResetBringsTheDefaultBack) {
  ChooseMode(29);
  // The default style: group 1 ("Classic") of 9, 0, 0 selected.
  EXPECT_EQ(Text("R_light_label"), "R 9");
  EXPECT_EQ(Text("G_light_label"), "G 0");
  auto* green = dynamic_cast<ui::CSliderUI*>(InPage(KeyboardPage(), "G_light_slider"));
  ASSERT_NE(green, nullptr);
  EXPECT_EQ(green->GetMaxValue(), 9);
  green->SetValue(5);
  Notify(ui::DUI_MSGTYPE_VALUECHANGED, "G_light_slider");
  EXPECT_EQ(window_->GetAudioStyle().colours[0], (std::array<std::uint8_t, 3>{9, 5, 0}));
  EXPECT_EQ(Text("G_light_label"), "G 5");
  auto* graph = dynamic_cast<controls::CAudioRecordUI*>(InPage(KeyboardPage(), "audio_record_graph"));
  ASSERT_NE(graph, nullptr);
  EXPECT_EQ(graph->GetLineColour(), 0xFFFF8D00u) << "levels 9 and 5 of 9 as 255 and 141";
  // Written once the changes pause.
  EXPECT_TRUE(QTest::qWaitFor([&] { return AudioStyleOf(JsonFileUtil().ReadJsonValue(StyleFile())["Device"]).colours[0][1] == 5; }, 3000));

  // A profile reset returns the style to the default file's, even though the user's was good.
  Click(KeyboardPage(), "device_reset_btn");
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->GetAudioStyle().colours[0][1] == 0; }, 3000));
  EXPECT_EQ(AudioStyleOf(JsonFileUtil().ReadJsonValue(StyleFile())["Device"]).colours[0][1], 0);
  EXPECT_EQ(Text("G_light_label"), "G 0");
  EXPECT_EQ(green->GetValue(), 0);
}

}  // namespace
}  // namespace norvane::app::test
