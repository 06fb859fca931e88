// The audio style window: the chosen group's colour on the sliders, slider changes into that group, names
// that may not stay empty, OK and close, and the DPI it accepts.
#include "app/music_wnd.h"

#include <gtest/gtest.h>

#include "uilib/edit.h"
#include "uilib/option.h"
#include "uilib/slider.h"

namespace norvane::app::test {
namespace {

class MusicWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AudioStyle style;
    style.style = 1;
    style.names = {"A", "B", "C", "D"};
    style.colours = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {9, 0, 3}}};
    window_.SetStyle(style);
    ASSERT_TRUE(window_.Create(nullptr, "music-test", false, 0, 0, CMusicWnd::kWidth, CMusicWnd::kHeight));
  }
  void TearDown() override { window_.Close(0); }
  template <class T>
  T* Get(const char* name) {
    auto* control = dynamic_cast<T*>(window_.FindControl(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  int Slider(const char* name) { return Get<ui::CSliderUI>(name)->GetValue(); }
  void Notify(const char* type, const char* name) {
    ui::TNotifyUI msg{type, window_.FindControl(name), 0, 0};
    window_.Notify(msg);
  }

  CMusicWnd window_;
};

TEST_F(MusicWndTest, TheChosenGroupsColourIsOnTheSlidersAndTheSlidersChangeIt) {
  EXPECT_EQ(window_.CurrentGroup(), 1);
  EXPECT_EQ(Slider("audio_g_slider"), 5);
  Get<ui::COptionUI>("audio_select_tab4")->Selected(true, true);
  EXPECT_EQ(window_.GetStyle().style, 3);
  EXPECT_EQ(Slider("audio_r_slider"), 9);
  EXPECT_EQ(Slider("audio_g_slider"), 0);
  EXPECT_EQ(Slider("audio_b_slider"), 3);
  Get<ui::CSliderUI>("audio_g_slider")->SetValue(7);
  Notify(ui::DUI_MSGTYPE_VALUECHANGED, "audio_g_slider");
  EXPECT_EQ(window_.GetStyle().colours[3][1], 7);
  EXPECT_EQ(window_.GetStyle().colours[1][1], 5) << "the other groups keep theirs";
}

TEST_F(MusicWndTest, AnEmptiedNameBecomesTheGroupsOwn) {
  EXPECT_EQ(Get<ui::CEditUI>("audio_edit_name2")->GetText(), "B");
  Get<ui::CEditUI>("audio_edit_name2")->SetText("");
  Notify(ui::DUI_MSGTYPE_KILLFOCUS, "audio_edit_name2");
  EXPECT_EQ(window_.GetStyle().names[1], "第二组");
  EXPECT_EQ(Get<ui::CEditUI>("audio_edit_name2")->GetText(), QStringLiteral("第二组"));
}

TEST_F(MusicWndTest, OnlyTheDpisOfTheWindowsAreTaken) {
  window_.SetDpi(100);
  EXPECT_EQ(window_.GetDpi(), 96);
  window_.SetDpi(144);
  EXPECT_EQ(window_.GetDpi(), 144);
}

}  // namespace
}  // namespace norvane::app::test
