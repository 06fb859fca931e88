// The lighting editor in the real window on an emulated keyboard: effects, levels and colours chosen on the
// panel reach the keyboard's settings record and the profile, colour edits are corrected, per-key colours
// painted one key or one drag selection at a time reach the light mask, and a dragged slider writes its
// latest value without a write per step.
#include <gtest/gtest.h>

#include <QTest>
#include <map>

#include "controls/device_key_button.h"
#include "editors/light_control.h"
#include "editors/lighting_editor.h"
#include "tests/app/window_fixture.h"
#include "uilib/edit.h"
#include "uilib/slider.h"

namespace norvane::app::test {
namespace {

constexpr uint8_t kWriteKeyLight = 0x0B;
constexpr int kPerKeyColourMode = 21;

class LightingTest : public WindowOnEmulatorTest {
 protected:
  void SetUp() override {
    WindowOnEmulatorTest::SetUp();
    if (HasFatalFailure()) return;
    Select(KeyboardPage(), "deng_Op_tab");
    ASSERT_NE(editors::CLightingEditor::PanelOf(*KeyboardPage()), nullptr);
    backend_->ClearFrameLog();
  }
  editors::CLightControlUI& Panel() const { return *editors::CLightingEditor::PanelOf(*KeyboardPage()); }
  template <class T>
  T* Get(const char* name) const {
    return dynamic_cast<T*>(InPage(KeyboardPage(), name));
  }
  void Notify(const char* type, const char* name, ui::WPARAM wParam = 0) {
    ui::CControlUI* control = InPage(KeyboardPage(), name);
    ASSERT_NE(control, nullptr) << name;
    ui::TNotifyUI msg{type, control, wParam, 0};
    window_->Notify(msg);
  }
  void ChooseMode(int mode) {
    auto* modes = Get<ui::CComboUI>("light_combo_modeSelect");
    ASSERT_NE(modes, nullptr);
    ASSERT_TRUE(modes->SelectItem(mode, false, true));
  }
  Json::Value SavedLight() const {
    return JsonFileUtil().ReadJsonValue(KeyboardPage()->Device()->CurrentProfileFile())["Device"][0]["LightInfo"];
  }
  int CountSent(uint8_t code) const {
    const std::vector<uint8_t> codes = SentCodes();
    return int(std::count(codes.begin(), codes.end(), code));
  }
  std::vector<uint8_t> LightMask() const {
    return backend_->ReadMemory(KeyboardId(), emulator::MemoryArea::kLightMask, 0, 21);
  }
  // Whether the mask has the bit of the LED at device position p: bit p / 21 of byte p % 21.
  static bool MaskHas(const std::vector<uint8_t>& mask, int position) {
    return (mask[std::size_t(position % 21)] >> (position / 21) & 1) != 0;
  }
  // Where the keyboard keeps the key of an LED, from the keyboard's own table: A, S, D and F are the keys
  // 20 00 04, 20 00 16, 20 00 07 and 20 00 09.
  int LightPositionOf(int led) const {
    const std::map<int, uint8_t> usages{{64, 0x04}, {65, 0x16}, {66, 0x07}, {67, 0x09}};
    const std::vector<uint8_t> table = backend_->ReadMemory(KeyboardId(), emulator::MemoryArea::kKeyTable, 0, 3 * 129);
    for (std::size_t p = 0; p + 2 < table.size(); p += 3)
      if (table[p] == 0x20 && table[p + 1] == 0 && table[p + 2] == usages.at(led)) return int(p / 3);
    return -1;
  }
};

TEST_F(LightingTest, AnEffectChosenIsWrittenAsItsModeCodeAndKeptInTheProfile) {
  ChooseMode(23);
  EXPECT_EQ(Keyboard().GetLightParams().mode, 23);
  EXPECT_EQ(SettingsRecord()[1], 23) << "record byte 1 holds the effect's device code";
  EXPECT_EQ(SavedLight()["SelectItem"].asInt(), 23);
  const std::vector<uint8_t> codes = SentCodes();
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), kBegin);
  EXPECT_EQ(codes.back(), kEnd);
}

TEST_F(LightingTest, ColourEditsAreCorrectedAndTurnTheMultiColourOff) {
  ChooseMode(5);
  Get<ui::COptionUI>("deng_7color_check")->Selected(true, true);
  ASSERT_EQ(Keyboard().GetLightParams().multiColour, 1);
  Get<ui::CEditUI>("deng_edit_G")->SetText("300");
  Notify(ui::DUI_MSGTYPE_KILLFOCUS, "deng_edit_G");
  EXPECT_EQ(Keyboard().GetLightParams().green, 255);
  EXPECT_EQ(Panel().GetGreenText(), "255");
  EXPECT_EQ(Keyboard().GetLightParams().multiColour, 0);
  EXPECT_EQ(SettingsRecord()[7], 255) << "record byte 7 holds green";
  Get<ui::CEditUI>("deng_edit_R")->SetText("12abc");
  Notify(ui::DUI_MSGTYPE_KILLFOCUS, "deng_edit_R");
  EXPECT_EQ(Keyboard().GetLightParams().red, 12);
  EXPECT_EQ(Panel().GetRedText(), "12");
  Get<ui::CEditUI>("deng_edit_B")->SetText("");
  Notify(ui::DUI_MSGTYPE_KILLFOCUS, "deng_edit_B");
  EXPECT_EQ(Panel().GetBlueText(), "0");
  EXPECT_EQ(Panel().GetPaletteColour(), 0xFF0CFF00u);
}

TEST_F(LightingTest, APaletteColourLeavesTheSharedEffectAPresetColourDoesNot) {
  Keyboard().SetLightSynced(true);
  Notify(ui::DUI_MSGTYPE_CLICK, "color_option_1");
  EXPECT_TRUE(Keyboard().IsLightSynced());
  const std::uint32_t preset = Panel().GetColourOption(1);
  EXPECT_EQ(Keyboard().GetLightParams().red, uint8_t(preset >> 16));
  EXPECT_EQ(Panel().GetRedText(), QString::number(preset >> 16 & 0xFF));
  Panel().SetPaletteColour(0xFF102030u);
  Notify(ui::DUI_MSGTYPE_COLORCHANGED, "deng_Color_Pallet");
  EXPECT_FALSE(Keyboard().IsLightSynced());
  EXPECT_EQ(Keyboard().GetLightParams().blue, 0x30);
  EXPECT_EQ(SettingsRecord()[8], 0x30);
}

TEST_F(LightingTest, PaintedKeysAndDragSelectionsReachTheLightMask) {
  ChooseMode(kPerKeyColourMode);
  auto* groups = Get<ui::CComboUI>("light_combo_custommodeSelect");
  ASSERT_NE(groups, nullptr);
  ASSERT_TRUE(groups->SelectItem(1, false, true));
  // Every key dark first, then A painted.
  Click(KeyboardPage(), "custom_off_color_btn");
  EXPECT_EQ(LightMask(), std::vector<uint8_t>(21, 0));
  backend_->ClearFrameLog();
  Click(KeyboardPage(), "key_64");  // A
  EXPECT_EQ(CountSent(kWriteKeyLight), 1);
  EXPECT_TRUE(MaskHas(LightMask(), LightPositionOf(64)));
  EXPECT_FALSE(MaskHas(LightMask(), LightPositionOf(65)));

  // A drag over S, D and F: one mask for the three.
  backend_->ClearFrameLog();
  for (int led : {65, 66, 67}) {
    dynamic_cast<controls::CDeviceKeyButtonUI*>(KeyboardPage()->LightButton(led))->SetSelectionState(1);
  }
  Notify("click_select_end", "keyboard_device_key_light");
  EXPECT_EQ(CountSent(kWriteKeyLight), 1);
  for (int led : {64, 65, 66, 67}) EXPECT_TRUE(MaskHas(LightMask(), LightPositionOf(led))) << led;
  const Json::Value groupColours =
      JsonFileUtil().ReadJsonValue(KeyboardPage()->Device()->CurrentProfileFile())["Device"][0]["CustomLightMode"];
  EXPECT_FALSE(groupColours.isNull()) << "the colours are kept as the chosen group's";

  // Outside the per-key colour effect a click paints nothing.
  ChooseMode(5);
  backend_->ClearFrameLog();
  Click(KeyboardPage(), "key_70");
  EXPECT_EQ(CountSent(kWriteKeyLight), 0);
}

TEST_F(LightingTest, ADraggedSliderWritesItsLatestValueNotEveryStep) {
  ChooseMode(5);
  backend_->ClearFrameLog();
  auto* slider = Get<ui::CSliderUI>("deng_light_slider");
  ASSERT_NE(slider, nullptr);
  for (int step = 0; step < 20; ++step) Notify(ui::DUI_MSGTYPE_MOVEVALUECHANGED, "deng_light_slider", step % 5);
  EXPECT_EQ(Keyboard().GetLightParams().brightness, 4) << "the preview follows every step";
  EXPECT_LE(CountSent(kWriteSettings), 1) << "no write per step";
  ASSERT_TRUE(QTest::qWaitFor([&] { return SettingsRecord()[2] == 4; }, 2000)) << "the last value is written";
  EXPECT_EQ(SavedLight()["Light"].asInt(), 4);
  EXPECT_LE(CountSent(kWriteSettings), 2);
}

}  // namespace
}  // namespace norvane::app::test
