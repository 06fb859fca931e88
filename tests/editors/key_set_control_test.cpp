// The key assignment panel with its shipped skin, offscreen: functions shown in the real combos, edits and
// options and read back from them, the macro combo kept in step, and the panel's own rules (a keyboard
// offers no DPI steps, kind 6 starts empty, the cycle field follows the end mode).
#include "editors/key_set_control.h"

#include <gtest/gtest.h>

#include <memory>

#include "uilib/resource_manager.h"

namespace norvane::editors {
namespace {

constexpr KeyFunction kEsc{0x20, 0x00, 0x29};

class KeySetControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel_.InitKeyEditor();
    ASSERT_NE(Combo("keyset_function_combo"), nullptr) << "the panel's skin did not build";
  }
  ui::CComboUI* Combo(const char* name) { return dynamic_cast<ui::CComboUI*>(panel_.FindSubControl(name)); }
  ui::CEditUI* Edit(const char* name) { return dynamic_cast<ui::CEditUI*>(panel_.FindSubControl(name)); }
  std::string Text(const char* name) { return Edit(name)->GetText().toStdString(); }
  void Show(KeyFunction current, KeyFunction defaults = kEsc) {
    panel_.ShowKeyAssignment({.key_index = 5, .current = current, .default_key_index = 5, .default_function = defaults});
  }
  void ChooseKind(int kind) {
    ui::CComboUI* kinds = Combo("keyset_function_combo");
    ASSERT_TRUE(kinds->SelectItem(kinds->FindItemByUserData(QString::number(kind)), false, false));
    panel_.OnFunctionKindChosen();
  }

  CKeySetControlUI panel_;
};

TEST_F(KeySetControlTest, AWheelFunctionShowsInItsControlsAndReadsBackTheSame) {
  Show({0x12, 0x25, 0xFD});
  EXPECT_TRUE(panel_.IsEditorShown());
  EXPECT_EQ(panel_.SelectedKind(), 3);
  EXPECT_EQ(Combo("keyset_mousewheel_combo")->GetCurSel(), 1);
  EXPECT_EQ(Text("keyset_mousewheel_num_edit"), "3");
  EXPECT_EQ(Text("keyset_mousewheel_delay_edit"), "2");
  EXPECT_EQ(Text("keyset_mousewheel_speed_edit"), "5");
  auto* pages = dynamic_cast<ui::CTabLayoutUI*>(panel_.FindSubControl("function_switch_tablayout"));
  EXPECT_EQ(pages->GetCurSel(), 3) << "page k shows kind k";
  EXPECT_EQ(panel_.ReadFunctionFromControls().current, (KeyFunction{0x12, 0x25, 0xFD}));
  Edit("keyset_mousewheel_num_edit")->SetText("4");
  EXPECT_EQ(panel_.ReadFunctionFromControls().current, (KeyFunction{0x12, 0x25, 0xFC}));
  EXPECT_EQ(panel_.StoredAssignment().key_index, 5) << "the key stays the one shown";
}

TEST_F(KeySetControlTest, TheFunctionEqualToTheDefaultShowsAsDefaultAndCancelReturnsToTheStoredOne) {
  Show(kEsc);
  EXPECT_EQ(panel_.SelectedKind(), 0);
  Show({0x30, 0xE9, 0x00});
  EXPECT_EQ(panel_.SelectedKind(), 7);
  EXPECT_EQ(Combo("keyset_media_combo")->GetCurSel(), 6);
  ChooseKind(8);
  panel_.ShowCurrentFunction();
  EXPECT_EQ(panel_.SelectedKind(), 7);
  panel_.ShowDefaultFunction();
  EXPECT_EQ(panel_.SelectedKind(), 0);
  EXPECT_EQ(panel_.ReadFunctionFromControls().current, kEsc);
}

TEST_F(KeySetControlTest, AFunctionNoKindShowsKeepsThePanelOpenWithNothingChosen) {
  Show({0x99, 0x01, 0x02});
  EXPECT_TRUE(panel_.IsEditorShown()) << "the user can still give the key a function";
  EXPECT_EQ(panel_.SelectedKind(), -1);
  EXPECT_EQ(panel_.ReadFunctionFromControls().current, (KeyFunction{0x99, 0x01, 0x02})) << "nothing chosen, nothing changed";
}

TEST_F(KeySetControlTest, AKeyboardOffersNeitherDpiStepsNorGunKeys) {
  ui::CComboUI* kinds = Combo("keyset_function_combo");
  panel_.SetEditorDeviceKind(1);
  for (int kind = 0; kind < kFunctionKinds; ++kind) {
    const int item = kinds->FindItemByUserData(QString::number(kind));
    ASSERT_GE(item, 0) << "every kind has an item; kind " << kind;
    EXPECT_EQ(kinds->IsItemVisible(item), kind != 4 && kind != 10) << kind;
  }
  panel_.SetEditorDeviceKind(2);
  EXPECT_TRUE(kinds->IsItemVisible(kinds->FindItemByUserData("4")));
}

TEST_F(KeySetControlTest, TheMacroComboFollowsTheMacroList) {
  const std::vector<std::string> names{"Reload", "Burst", "Build"};
  panel_.SetMacroNames(names);
  ui::CComboUI* macros = Combo("keyset_macro_combo");
  EXPECT_EQ(macros->GetCount(), 3);
  EXPECT_EQ(macros->GetCurSel(), -1) << "a fresh list selects nothing";
  panel_.RemoveMacroName(-1);
  panel_.RenameMacroName(-1, "x");
  panel_.RenameMacroName(1, "");
  panel_.AddMacroName("");
  EXPECT_EQ(macros->GetCount(), 3);
  EXPECT_EQ(macros->GetItemText(1).toStdString(), "Burst");
  panel_.RenameMacroName(1, "Spray");
  panel_.RemoveMacroName(0);
  panel_.AddMacroName("Jump");
  EXPECT_EQ(macros->GetItemText(0).toStdString(), "Spray");
  EXPECT_EQ(macros->GetItemText(2).toStdString(), "Jump");

  Show({0x71, 0x01, 0x07});
  EXPECT_EQ(macros->GetCurSel(), 1);
  EXPECT_EQ(Combo("keyset_macro_over_combo")->GetCurSel(), 4);
  EXPECT_TRUE(panel_.FindSubControl("keyset_macro_cycle_layout")->IsVisible());
  EXPECT_EQ(Text("keyset_macro_cycle_edit"), "7");
  Combo("keyset_macro_over_combo")->SelectItem(2, false, false);
  panel_.OnMacroEndChosen();
  EXPECT_FALSE(panel_.FindSubControl("keyset_macro_cycle_layout")->IsVisible());
  EXPECT_EQ(panel_.ReadFunctionFromControls().current, (KeyFunction{0x70, 0x01, 0x02}));
}

TEST_F(KeySetControlTest, ChoosingAKeyboardKeyStartsEmptyAndCapturedKeysShowTheirNames) {
  Show({0x20, 0x02, 0x04});
  EXPECT_EQ(panel_.GetModifier(), 2);
  EXPECT_EQ(Text("keyset_keyboard_text_edit"), "A");
  ChooseKind(6);
  EXPECT_EQ(panel_.GetModifier(), -1);
  EXPECT_EQ(Text("keyset_keyboard_text_edit"), "");
  EXPECT_TRUE(panel_.CaptureKey({0x0E, false}));  // Backspace
  EXPECT_EQ(Text("keyset_keyboard_text_edit"), "Backspace");
  EXPECT_EQ(panel_.ReadFunctionFromControls().current, (KeyFunction{0x20, 0x00, 0x2A}));
  EXPECT_FALSE(panel_.CaptureKey({0x11, true})) << "no key has E0 11";

  ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
  panel_.OnLanguageChanged();
  EXPECT_EQ(Edit("keyset_keyboard_text_edit")->GetText(), QString::fromUtf8("退格"));
  ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml");
}

TEST_F(KeySetControlTest, ResettingSetsTheParameterDefaultsAndLeavesMotionAlone) {
  Show({0x11, 0x3A, 0x85});
  panel_.ResetParameterControls();
  EXPECT_EQ(Text("keyset_mousefire_interval_edit"), "50");
  EXPECT_EQ(Text("keyset_mousefire_num_edit"), "2");
  EXPECT_EQ(Text("keyset_macro_cycle_edit"), "1");
  EXPECT_EQ(Combo("keyset_media_combo")->GetCurSel(), 0);
  EXPECT_EQ(Combo("keyset_mousekey_combo")->GetCurSel(), 0);
  EXPECT_EQ(Text("keyset_mouseswing_num_edit"), "5");
  EXPECT_EQ(Text("keyset_mouseswing_delay_edit"), "3");
  EXPECT_EQ(Text("keyset_mouseswing_speed_edit"), "10");
}

}  // namespace
}  // namespace norvane::editors
