// The lighting panel's fields with its shipped skin, offscreen: the skin builds with every control the
// lighting editor looks for, an effect shows in the real controls and reads back from them, the mode list
// keeps mode numbers as item indexes, and a panel without its controls answers with its stated values.
#include "editors/light_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uilib/combo.h"
#include "uilib/edit.h"
#include "uilib/option.h"
#include "uilib/slider.h"

namespace norvane::editors {
namespace {

// The controls the lighting editor finds by name.
// clang-format off
constexpr const char* kEditorControls[] = {
    "light_combo_modeSelect", "light_combo_custommodeSelect", "light_combo_ZZCCmodeSelect",
    "deng_light_slider", "deng_speed_slider", "deng_edit_R", "deng_edit_G", "deng_edit_B",
    "deng_Color_Pallet", "deng_colordp_btn", "deng_7color_check", "deng_FXL_check", "deng_FXR_check",
    "deng_same_mode", "lighteffect_layout", "deng_color_layout", "colorpallet_layout",
    "light_color_layout", "deng_light_layout", "deng_speed_layout", "deng_fx_layout",
    "lightcustom_layout", "custom_bright_color_btn", "custom_off_color_btn",
    "light_combo_ZZCCmodeSelectLayout", "light_combo_AudiomodeSelectLayout", "light_color_tablayout"};
// clang-format on

class LightControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel_.DoInit();
    ASSERT_NE(Combo("light_combo_modeSelect"), nullptr) << "the panel's skin did not build";
  }
  ui::CControlUI* Control(const char* name) { return panel_.FindSubControl(name); }
  ui::CComboUI* Combo(const char* name) { return dynamic_cast<ui::CComboUI*>(Control(name)); }
  ui::CSliderUI* Slider(const char* name) { return dynamic_cast<ui::CSliderUI*>(Control(name)); }
  bool Selected(const char* name) { return dynamic_cast<ui::COptionUI*>(Control(name))->IsSelected(); }
  void InitModes(int count) {
    const std::vector<std::string> names(count, "light_effect_text");
    const std::vector<int> visible(count, 1);
    panel_.InitModes(names, visible, 4, 4);
  }

  CLightControlUI panel_;
};

TEST(LightControlSkinTest, BuildsQuietlyWithEveryControlTheEditorUses) {
  ::testing::internal::CaptureStderr();
  CLightControlUI panel;
  panel.DoInit();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "unknown classes, missing texts or skin errors";
  for (const char* name : kEditorControls) {
    EXPECT_NE(panel.FindSubControl(name), nullptr) << name;
  }
  for (const char* name : {"deng_edit_R", "deng_edit_G", "deng_edit_B"}) {
    const auto* edit = dynamic_cast<ui::CEditUI*>(panel.FindSubControl(name));
    ASSERT_NE(edit, nullptr) << name;
    EXPECT_TRUE(edit->IsNumberOnly()) << name;
    EXPECT_EQ(edit->GetMaxChar(), 3) << name;
  }
}

TEST_F(LightControlTest, PresetSwatchesCarryTheirColours) {
  const std::uint32_t expected[] = {0xFFFF0000, 0xFFFF8000, 0xFFFFFF00, 0xFF00FF00,
                                    0xFF00FFFF, 0xFF0000FF, 0xFF8000FF, 0xFFFFFFFF};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(panel_.GetColourOption(i), expected[i]) << i;
  EXPECT_EQ(panel_.GetColourOption(8), 0u);
  EXPECT_EQ(panel_.GetColourOption(-1), 0u);
}

TEST_F(LightControlTest, TheModeListKeepsHiddenModesAtTheirNumbers) {
  const std::vector<std::string> names = {"light_group_1_text", "light_group_2_text", "light_preset_2_text"};
  const std::vector<int> visible = {1, 0, 1};
  panel_.InitModes(names, visible, 4, 9);
  ui::CComboUI* modes = Combo("light_combo_modeSelect");
  ASSERT_EQ(modes->GetCount(), 3);
  EXPECT_EQ(modes->GetItemText(1), "Group 2") << "the name is a language id";
  EXPECT_EQ(modes->GetItemText(2), "Preset 2");
  EXPECT_EQ(modes->GetItemUserData(2), "light_preset_2_text");
  EXPECT_TRUE(modes->IsItemVisible(0));
  EXPECT_FALSE(modes->IsItemVisible(1));
  EXPECT_TRUE(modes->IsItemVisible(2));
  panel_.SelectMode(2);
  EXPECT_EQ(panel_.GetMode(), 2);
  EXPECT_EQ(Slider("deng_light_slider")->GetMaxValue(), 4);
  EXPECT_EQ(Slider("deng_speed_slider")->GetMaxValue(), 9);

  panel_.InitModes(std::vector<std::string>{"light_group_3_text"}, {}, 2, 3);
  EXPECT_EQ(modes->GetCount(), 1) << "the earlier modes are gone";
  EXPECT_TRUE(modes->IsItemVisible(0)) << "a mode without a visibility shows";

  delete Control("deng_speed_slider")->GetWidget();
  panel_.InitModes(names, visible, 6, 6);
  EXPECT_EQ(Slider("deng_light_slider")->GetMaxValue(), 6)
      << "a device page without a speed still sets brightness";
}

TEST_F(LightControlTest, AnEffectShowsInEveryFieldAndReadsBack) {
  InitModes(46);
  panel_.SetDeviceKind(1);
  panel_.SelectCustomGroup(2);
  LightEffect effect{.mode = 3,
                     .brightness = 3,
                     .speed = 2,
                     .direction = 0,
                     .multi_color = 1,
                     .red = 0x12,
                     .green = 0x34,
                     .blue = 0x56,
                     .zzcc_mode = 2,
                     .custom_group = 0};
  panel_.ShowLightEffect(effect);
  EXPECT_EQ(panel_.GetMode(), 3);
  EXPECT_EQ(panel_.GetBrightness(), 3);
  EXPECT_EQ(panel_.GetSpeed(), 2);
  EXPECT_EQ(panel_.GetRedText(), "18");
  EXPECT_EQ(panel_.GetGreenText(), "52");
  EXPECT_EQ(panel_.GetBlueText(), "86");
  EXPECT_EQ(panel_.GetPaletteColour(), 0xFF123456u);
  EXPECT_EQ(Control("deng_colordp_btn")->GetBkColor(), 0xFF123456u);
  EXPECT_EQ(panel_.GetMultiColour(), 1);
  EXPECT_EQ(panel_.GetZZCCMode(), 2);
  EXPECT_FALSE(Selected("deng_FXL_check"));
  EXPECT_TRUE(Selected("deng_FXR_check"));
  EXPECT_EQ(panel_.GetCustomGroup(), 2) << "an effect does not choose the custom group";
  EXPECT_TRUE(Control("deng_fx_layout")->IsVisible()) << "mode 3's layout applies";

  effect = {.mode = 45, .direction = 1, .red = 0xFF, .zzcc_mode = 9};
  panel_.ShowLightEffect(effect);
  EXPECT_EQ(panel_.GetMultiColour(), 0);
  EXPECT_EQ(panel_.GetZZCCMode(), -1) << "no such preset";
  EXPECT_TRUE(Selected("deng_FXL_check"));
  EXPECT_FALSE(Selected("deng_FXR_check"));
  EXPECT_EQ(panel_.GetPaletteColour(), 0xFFFF0000u);
  EXPECT_EQ(panel_.GetBlueText(), "0");
  EXPECT_TRUE(Control("light_combo_ZZCCmodeSelectLayout")->IsVisible());
}

TEST_F(LightControlTest, ChoicesWithoutAnItemSelectNothing) {
  InitModes(5);
  panel_.SelectMode(9);
  EXPECT_EQ(panel_.GetMode(), -1);
  panel_.SelectCustomGroup(2);
  EXPECT_EQ(panel_.GetCustomGroup(), 2);
  panel_.SelectCustomGroup(3);
  EXPECT_EQ(panel_.GetCustomGroup(), -1) << "three custom groups";
  panel_.SelectZZCCMode(3);
  EXPECT_EQ(panel_.GetZZCCMode(), 3);
  panel_.SelectZZCCMode(4);
  EXPECT_EQ(panel_.GetZZCCMode(), -1) << "four presets";
  panel_.SetMultiColour(2);
  EXPECT_EQ(panel_.GetMultiColour(), 1);
  panel_.SetRedText("2x5y5");
  panel_.SetGreenText("1234");
  EXPECT_EQ(panel_.GetRedText(), "255") << "digits only";
  EXPECT_EQ(panel_.GetGreenText(), "123") << "three digits at most";
}

TEST_F(LightControlTest, TheSameModeButtonShowsOnlyWithTheFlagAndTheAskBoth) {
  struct Case {
    int flag, ask;
    bool shown;
  };
  for (const Case& c : {Case{0, 0, false}, Case{0, 1, false}, Case{1, 0, false}, Case{1, 1, true},
                        Case{0x100, 1, false}, Case{0x1FF, 3, true}}) {
    panel_.SetSameModeFlag(c.flag);
    panel_.ShowSameModeButton(c.ask);
    EXPECT_EQ(Control("deng_same_mode")->IsVisible(), c.shown) << c.flag << " " << c.ask;
  }
  EXPECT_EQ(panel_.GetSameModeFlag(), 0xFF) << "the low byte";

  InitModes(9);
  panel_.SetDeviceKind(3);
  panel_.SetSameModeFlag(0);
  panel_.SelectMode(1);
  EXPECT_FALSE(Control("deng_same_mode")->IsVisible());
  panel_.SetSameModeFlag(1);
  EXPECT_TRUE(Control("deng_same_mode")->IsVisible()) << "the flag re-applies the mode's layout";
}

TEST(LightControlBareTest, APanelWithoutItsControlsGivesItsStatedValues) {
  CLightControlUI panel;  // never built: no sub-skin, no controls
  panel.SetDeviceKind(1);
  panel.InitModes(std::vector<std::string>{"light_effect_text"}, std::vector<int>{1}, 4, 4);
  panel.ShowLightEffect({.mode = 1, .brightness = 2, .red = 9});
  panel.SelectCustomGroup(1);
  panel.SetSameModeFlag(1);
  panel.ShowSameModeButton(1);
  EXPECT_EQ(panel.GetMode(), -1);
  EXPECT_EQ(panel.GetCustomGroup(), -1);
  EXPECT_EQ(panel.GetZZCCMode(), -1);
  EXPECT_EQ(panel.GetBrightness(), 0);
  EXPECT_EQ(panel.GetSpeed(), 0);
  EXPECT_EQ(panel.GetMultiColour(), 0);
  EXPECT_EQ(panel.GetRedText(), "");
  EXPECT_EQ(panel.GetGreenText(), "");
  EXPECT_EQ(panel.GetBlueText(), "");
  EXPECT_EQ(panel.GetPaletteColour(), 0xFF000000u);
  EXPECT_EQ(panel.GetColourOption(0), 0u);
  EXPECT_EQ(panel.GetSameModeFlag(), 1);
  EXPECT_EQ(panel.GetDeviceKind(), 1);
}

}  // namespace
}  // namespace norvane::editors
