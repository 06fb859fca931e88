// The main window with its real device host on the emulator: the profile bar's buttons, the device strip's
// previous and next buttons and the keyboard's System tab, driven through the window's notifications as a
// user's clicks raise them.
#include <gtest/gtest.h>

#include <QTest>
#include <deque>
#include <fstream>

#include "tests/app/window_fixture.h"
#include "app/device_service.h"
#include "app/main_wnd.h"
#include "controls/device_profile.h"
#include "controls/device_strip.h"
#include "controls/pages/device_page.h"
#include "devices/keyboard/keyboard_device.h"
#include "emulator/emulator.h"
#include "hid/hid_backend.h"
#include "profiles/json_file_util.h"
#include "tests/support/temp_folder.h"
#include "uilib/combo.h"
#include "uilib/edit.h"
#include "uilib/option.h"
#include "uilib/paint_manager.h"
#include "uilib/slider.h"
#include "uilib/tab_layout.h"

namespace norvane::app::test {
namespace {

using WindowRoutesTest = WindowOnEmulatorTest;

TEST_F(WindowRoutesTest, TheSystemTabShowsTheKeyboardSettingsArea) {
  controls::CDevicePageUI* page = KeyboardPage();
  Select(page, "system_Op_tab");
  auto* area = dynamic_cast<ui::CTabLayoutUI*>(InPage(page, "device_function_switch"));
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->GetCurSel(), 3);
  EXPECT_TRUE(area->IsVisible());
  EXPECT_EQ(page->Device()->GetFunctionTab(), 4);
  Select(page, "deng_Op_tab");
  EXPECT_EQ(area->GetCurSel(), 0);
  EXPECT_FALSE(area->IsVisible()) << "an editor area with nothing in it takes no room";
}

TEST_F(WindowRoutesTest, AReportRateChoiceIsSavedAndWrittenAsAClosedSeries) {
  controls::CDevicePageUI* page = KeyboardPage();
  Select(page, "polling_rate_option_2");
  EXPECT_EQ(Keyboard().SystemSettings().polling_rate, 2);
  EXPECT_EQ(SavedSystem()["PollingRate"].asInt(), 2);
  const std::vector<uint8_t> codes = SentCodes();
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(codes.front(), kBegin);
  EXPECT_EQ(codes.back(), kEnd);
  EXPECT_NE(std::find(codes.begin(), codes.end(), kWriteSettings), codes.end());
  EXPECT_EQ(SettingsRecord()[22], 2) << "record byte 22 holds the report rate index";
  // The option it replaced says it was unselected: that is no second change.
  const std::size_t before = SentCodes().size();
  Select(page, "polling_rate_option_2");
  EXPECT_EQ(SentCodes().size(), before) << "choosing what is already chosen writes nothing";
}

TEST_F(WindowRoutesTest, LockFlagsGoToTheirRecordBytes) {
  controls::CDevicePageUI* page = KeyboardPage();
  Select(page, "winlockflag_option");
  Select(page, "wflag_option");
  Select(page, "6flag_option");
  const std::vector<uint8_t> record = SettingsRecord();
  EXPECT_EQ(record[19], 1) << "W flag";
  EXPECT_EQ(record[20], 1) << "six-key flag";
  EXPECT_EQ(record[21], 1) << "Windows-key lock";
  Select(page, "winlockflag_option", false);
  EXPECT_EQ(SettingsRecord()[21], 0);
  EXPECT_EQ(SavedSystem()["WinFlag"].asInt(), 0);
  EXPECT_EQ(SavedSystem()["WFlag"].asInt(), 1);
}

TEST_F(WindowRoutesTest, RepeatDelayAndRateLiveInTheProfileAndShowTheDelay) {
  controls::CDevicePageUI* page = KeyboardPage();
  Select(page, "repeat_delay_check_3");
  const std::vector<uint8_t> recordBefore = SettingsRecord();
  EXPECT_EQ(Keyboard().SystemSettings().repeat_delay, 3);
  EXPECT_EQ(SavedSystem()["RepeatDelay"].asInt(), 3);
  ui::CControlUI* label = InPage(page, "repeat_delay_time_label1");
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->GetText().endsWith("1000ms")) << label->GetText().toStdString();

  auto* slider = dynamic_cast<ui::CSliderUI*>(InPage(page, "repeat_rate_slider"));
  ASSERT_NE(slider, nullptr);
  slider->SetValue(17);
  ui::TNotifyUI moved{ui::DUI_MSGTYPE_VALUECHANGED, slider, 17, 0};
  window_->Notify(moved);
  EXPECT_EQ(Keyboard().SystemSettings().repeat, 17);
  EXPECT_EQ(SavedSystem()["Repeat"].asInt(), 17);
  EXPECT_EQ(SettingsRecord(), recordBefore) << "the record has no byte for the repeat: nothing else changes";

  auto* input = dynamic_cast<ui::CRichEditUI*>(InPage(page, "repeat_input_richedit"));
  ASSERT_NE(input, nullptr);
  input->SetText("aaaa");
  Click(page, "reset_repeat_btn");
  EXPECT_TRUE(input->GetText().isEmpty());
}

TEST_F(WindowRoutesTest, AKeyboardThatRefusesTheWriteKeepsTheSettingInTheProfileAndSaysSo) {
  backend_->AddFault(KeyboardId(), {.kind = emulator::FaultKind::kRefuse, .command = kWriteSettings});
  Select(KeyboardPage(), "6flag_option");
  EXPECT_EQ(Keyboard().SystemSettings().key6_flag, 1);
  EXPECT_EQ(SavedSystem()["Key6Flag"].asInt(), 1);
  const std::vector<uint8_t> codes = SentCodes();
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.back(), kEnd) << "the series is closed after the refusal";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts_.told.empty(); }, 2000));
  EXPECT_EQ(prompts_.told, std::vector<std::string>{"device_settings_write_failed"});
}

TEST_F(WindowRoutesTest, ProfilesAreAddedCopiedRenamedAndDeletedAfterTheirConfirmations) {
  controls::CDevicePageUI* page = KeyboardPage();
  const std::vector<std::string> first = ComboNames();
  ASSERT_EQ(first.size(), 1u);

  prompts_.confirm = false;
  Click(page, "device_add_btn");
  EXPECT_EQ(ComboNames().size(), 1u) << "cancelled";
  prompts_.confirm = true;
  Click(page, "device_add_btn");
  Click(page, "device_copy_btn");
  EXPECT_EQ(prompts_.asked, (std::vector<std::string>{"message_text_27", "message_text_27", "message_text_26"}));
  EXPECT_EQ(ComboNames(), (std::vector<std::string>{first[0], "profile2", first[0] + " copy"}))
      << "names compare without regard to case: Profile1 is taken";

  Bar().SetNameText("Arena");
  Click(page, "device_profile_edit_save_btn");
  EXPECT_EQ(ComboNames()[0], "Arena");
  Bar().SetNameText("A&B");
  Click(page, "device_profile_edit_save_btn");
  Bar().SetNameText("   ");
  Click(page, "device_profile_edit_save_btn");
  Bar().SetNameText("PROFILE2");
  Click(page, "device_profile_edit_save_btn");
  EXPECT_EQ(prompts_.told, (std::vector<std::string>{"message_text_30", "message_text_25", "message_text_5"}));
  Bar().SetNameText("");
  Click(page, "device_profile_edit_save_btn");
  EXPECT_EQ(prompts_.told.size(), 3u) << "an empty name does nothing";

  // Deleting the profile the keyboard works on moves it to the one the bar selects now.
  const std::string before = page->Device()->ProfileStem();
  Click(page, "device_sub_btn");
  EXPECT_EQ(prompts_.asked.back(), "message_text_29");
  EXPECT_EQ(ComboNames().size(), 2u);
  EXPECT_NE(page->Device()->ProfileStem(), before);
  EXPECT_EQ(page->Device()->ProfileStem(), Bar().GetCurrentProfileId().toStdString());

  // The last profile is never deleted; the user is told why instead of being asked.
  Click(page, "device_sub_btn");
  ASSERT_EQ(ComboNames().size(), 1u);
  const std::size_t asked = prompts_.asked.size();
  Click(page, "device_sub_btn");
  EXPECT_EQ(prompts_.asked.size(), asked);
  EXPECT_EQ(prompts_.told.back(), "profile_last_one_text");
  EXPECT_EQ(ComboNames().size(), 1u);
}

TEST_F(WindowRoutesTest, ProfilesTravelThroughExportAndImport) {
  controls::CDevicePageUI* page = KeyboardPage();
  const std::filesystem::path exported = data_.path() / "Tournament.json";
  prompts_.file = ui::CDuiString(exported.string());
  Click(page, "device_export_btn");
  ASSERT_TRUE(std::filesystem::exists(exported));
  Click(page, "device_import_btn");
  EXPECT_EQ(prompts_.filters, (std::vector<std::string>{"Profile Files(*.json)", "Profile Files(*.json)"}));
  EXPECT_EQ(ComboNames().back(), "Tournament");

  // A file that is no profile is passed over without a word.
  const std::filesystem::path junk = data_.path() / "junk.json";
  std::ofstream(junk) << "{\"not\": \"a profile\"}";
  prompts_.file = ui::CDuiString(junk.string());
  const std::size_t count = ComboNames().size();
  Click(page, "device_import_btn");
  EXPECT_EQ(ComboNames().size(), count);
  EXPECT_TRUE(prompts_.told.empty());
  prompts_.file.reset();
  Click(page, "device_export_btn");  // cancelled dialog
  EXPECT_TRUE(prompts_.told.empty());
}

TEST_F(WindowRoutesTest, ResetAndDefaultsReloadTheProfileAndWriteTheKeyboard) {
  controls::CDevicePageUI* page = KeyboardPage();
  Select(page, "polling_rate_option_3");
  ASSERT_EQ(Keyboard().SystemSettings().polling_rate, 3);
  backend_->ClearFrameLog();
  Click(page, "device_reset_btn");
  EXPECT_EQ(prompts_.asked.back(), "message_text_22");
  EXPECT_EQ(Keyboard().SystemSettings().polling_rate, 0) << "the template's report rate is back";
  std::vector<uint8_t> codes = SentCodes();
  EXPECT_NE(std::find(codes.begin(), codes.end(), kWriteKeyTable), codes.end());
  EXPECT_NE(std::find(codes.begin(), codes.end(), kWriteSettings), codes.end());
  EXPECT_EQ(SettingsRecord()[22], 0);
  auto* fastest = dynamic_cast<ui::COptionUI*>(InPage(page, "polling_rate_option_0"));
  auto* slowest = dynamic_cast<ui::COptionUI*>(InPage(page, "polling_rate_option_3"));
  EXPECT_TRUE(fastest->IsSelected() && !slowest->IsSelected()) << "the System tab shows the reloaded profile";

  Select(page, "polling_rate_option_1");
  backend_->ClearFrameLog();
  prompts_.confirm = false;
  Click(page, "default_btn");
  EXPECT_EQ(Keyboard().SystemSettings().polling_rate, 1) << "cancelled";
  EXPECT_TRUE(SentCodes().empty());
}

TEST_F(WindowRoutesTest, AProfileChosenInTheComboIsWrittenToTheKeyboard) {
  ASSERT_TRUE(Bar().AddProfile().done());
  // The second profile locks the Windows key; the first does not.
  const std::filesystem::path first = Bar().GetProfilePath(0).toStdString();
  const std::filesystem::path second = Bar().GetProfilePath(1).toStdString();
  Json::Value document = JsonFileUtil().ReadJsonValue(second);
  document["Device"][0]["SystemStages"]["WinFlag"] = 1;
  ASSERT_TRUE(JsonFileUtil().WriteJsonValue(second, document).ok);
  auto* combo = dynamic_cast<ui::CComboUI*>(Bar().FindSubControl("device_profile_combo"));
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(SettingsRecord()[21], 0);

  for (const int chosen : {1, 0}) {
    backend_->ClearFrameLog();
    combo->SelectItem(chosen, false, false);
    ui::TNotifyUI msg{ui::DUI_MSGTYPE_ITEMSELECT, combo, ui::WPARAM(chosen), 0};
    window_->Notify(msg);
    const std::uint8_t locked = chosen == 1 ? 1 : 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return SettingsRecord()[21] == locked; }, 3000)) << "profile " << chosen;
    EXPECT_EQ(Bar().GetCurrentProfileId().toStdString(), (chosen == 1 ? second : first).stem().string());
    const std::vector<uint8_t> codes = SentCodes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), kWriteKeyTable), codes.end()) << "the key table goes too";
  }
  EXPECT_TRUE(prompts_.told.empty());
}

// A profile chosen in the combo loads after a pause; what the user does on the page meanwhile must not land
// in the profile that is being left.
class ProfileChosenMomentsAgoTest : public WindowRoutesTest {
 protected:
  void SetUp() override {
    WindowRoutesTest::SetUp();
    ASSERT_TRUE(Bar().AddProfile().done());
    first_ = Bar().GetProfilePath(0).toStdString();
    second_ = Bar().GetProfilePath(1).toStdString();
    ASSERT_EQ(SavedRate(first_), 0);
    ASSERT_EQ(SavedRate(second_), 0);
    Select(KeyboardPage(), "system_Op_tab");
    combo_ = dynamic_cast<ui::CComboUI*>(Bar().FindSubControl("device_profile_combo"));
    ASSERT_NE(combo_, nullptr);
  }
  static int SavedRate(const std::filesystem::path& file) {
    return JsonFileUtil().ReadJsonValue(file)["Device"][0]["SystemStages"]["PollingRate"].asInt();
  }
  void ChooseSecondProfile() {
    combo_->SelectItem(1, false, false);
    ui::TNotifyUI msg{ui::DUI_MSGTYPE_ITEMSELECT, combo_, ui::WPARAM(1), 0};
    window_->Notify(msg);
  }
  ui::COptionUI* RateOption(int index) {
    return dynamic_cast<ui::COptionUI*>(InPage(KeyboardPage(), ("polling_rate_option_" + std::to_string(index)).c_str()));
  }

  std::filesystem::path first_;
  std::filesystem::path second_;
  ui::CComboUI* combo_ = nullptr;
};

TEST_F(ProfileChosenMomentsAgoTest, AClickOnThePageLoadsTheChosenProfileFirstAndLandsInIt) {
  ChooseSecondProfile();
  ui::COptionUI* option = RateOption(2);
  ASSERT_NE(option, nullptr);
  QTest::mouseClick(option->GetWidget(), Qt::LeftButton);
  EXPECT_EQ(Bar().GetCurrentProfileId().toStdString(), second_.stem().string()) << "the chosen profile loads first";
  EXPECT_EQ(SavedRate(second_), 2);
  EXPECT_EQ(SavedRate(first_), 0) << "the profile left behind keeps its rate";
  EXPECT_EQ(SettingsRecord()[22], 2);
  // Once the pause would have ended, no second switch comes over the change.
  QTest::qWait(500);
  EXPECT_TRUE(option->IsSelected());
  EXPECT_EQ(Keyboard().SystemSettings().polling_rate, 2);
  EXPECT_EQ(SettingsRecord()[22], 2);
  EXPECT_TRUE(prompts_.told.empty());
}

TEST_F(ProfileChosenMomentsAgoTest, AChangeThatComesWithoutInputNeverLandsInTheProfileBeingLeft) {
  ChooseSecondProfile();
  Select(KeyboardPage(), "polling_rate_option_3");
  EXPECT_EQ(Bar().GetCurrentProfileId().toStdString(), second_.stem().string());
  QTest::qWait(500);
  EXPECT_EQ(SavedRate(first_), 0) << "the profile left behind keeps its rate";
  // The page shows what the chosen profile holds, and the keyboard has it.
  const int shown = RateOption(3)->IsSelected() ? 3 : 0;
  EXPECT_EQ(SavedRate(second_), shown);
  EXPECT_EQ(SettingsRecord()[22], shown);
  EXPECT_TRUE(RateOption(shown)->IsSelected());
}

TEST_F(ProfileChosenMomentsAgoTest, ScrollingThroughTheComboStillWaitsForThePause) {
  ChooseSecondProfile();
  QTest::keyClick(combo_->GetWidget(), Qt::Key_Up);
  QTest::qWait(50);
  EXPECT_EQ(Bar().GetCurrentProfileId().toStdString(), first_.stem().string()) << "nothing loaded yet";
}

TEST_F(WindowRoutesTest, AProfileChosenJustBeforeAnotherTabIsShownSwitchesItsOwnPage) {
  controls::CDevicePageUI* mouse = PageOfKind(hid::DeviceKind::kMouse);
  ASSERT_TRUE(QTest::qWaitFor([&] { return mouse && TabVisible(mouse); }, 3000));
  ASSERT_TRUE(Bar().AddProfile().done());
  const std::filesystem::path second = Bar().GetProfilePath(1).toStdString();
  Json::Value document = JsonFileUtil().ReadJsonValue(second);
  document["Device"][0]["SystemStages"]["WinFlag"] = 1;
  ASSERT_TRUE(JsonFileUtil().WriteJsonValue(second, document).ok);
  const QString mouseProfile = mouse->ProfileBar()->GetCurrentProfileId();

  auto* combo = dynamic_cast<ui::CComboUI*>(Bar().FindSubControl("device_profile_combo"));
  ASSERT_NE(combo, nullptr);
  combo->SelectItem(1, false, false);
  ui::TNotifyUI msg{ui::DUI_MSGTYPE_ITEMSELECT, combo, ui::WPARAM(1), 0};
  window_->Notify(msg);
  // The user moves on to the mouse before the switch's moment is over.
  SelectTab(mouse);
  ASSERT_TRUE(QTest::qWaitFor([&] { return SettingsRecord()[21] == 1; }, 3000)) << "the keyboard took its profile";
  EXPECT_EQ(Bar().GetCurrentProfileId().toStdString(), second.stem().string());
  EXPECT_EQ(mouse->ProfileBar()->GetCurrentProfileId(), mouseProfile) << "the mouse keeps its own profile";
  EXPECT_TRUE(prompts_.told.empty());
}

TEST_F(WindowRoutesTest, PreviousAndNextMoveBetweenTheVisibleDeviceTabs) {
  controls::CDevicePageUI* mouse = PageOfKind(hid::DeviceKind::kMouse);
  ASSERT_TRUE(QTest::qWaitFor([&] { return mouse && TabVisible(mouse); }, 3000));
  SelectTab(mouse);
  ASSERT_EQ(window_->Devices()->CurrentPage(), mouse);
  ui::CControlUI* next = window_->FindControl("device_select_next");
  ui::CControlUI* prev = window_->FindControl("device_select_prev");
  ASSERT_NE(next, nullptr);
  ASSERT_NE(prev, nullptr);
  ui::TNotifyUI toNext{ui::DUI_MSGTYPE_CLICK, next, 0, 0};
  ui::TNotifyUI toPrev{ui::DUI_MSGTYPE_CLICK, prev, 0, 0};
  window_->Notify(toNext);
  EXPECT_EQ(window_->Devices()->CurrentPage(), KeyboardPage());
  window_->Notify(toNext);
  EXPECT_EQ(window_->Devices()->CurrentPage(), KeyboardPage()) << "nothing after the last tab";
  window_->Notify(toPrev);
  EXPECT_EQ(window_->Devices()->CurrentPage(), mouse);
  window_->Notify(toPrev);
  EXPECT_EQ(window_->Devices()->CurrentPage(), mouse) << "nothing before the first tab";
  EXPECT_EQ(window_->SelectedTabIndex(), mouse->DeviceTab()->TabIndex());
}

TEST_F(WindowRoutesTest, AnotherPagesControlsAreNotTheCurrentPagesAndItsTabsAreItsOwn) {
  controls::CDevicePageUI* keyboard = KeyboardPage();
  controls::CDevicePageUI* mouse = PageOfKind(hid::DeviceKind::kMouse);
  ASSERT_NE(mouse, nullptr);
  // Both pages carry a profile bar with the same tab names: choosing one page's tab leaves the other's.
  auto* keyboardMacro = dynamic_cast<ui::COptionUI*>(InPage(keyboard, "macro_Op_tab"));
  auto* mouseLight = dynamic_cast<ui::COptionUI*>(InPage(mouse, "deng_Op_tab"));
  ASSERT_NE(keyboardMacro, nullptr);
  ASSERT_NE(mouseLight, nullptr);
  ASSERT_TRUE(mouseLight->IsSelected());
  keyboardMacro->Selected(true, true);
  EXPECT_TRUE(mouseLight->IsSelected()) << "the mouse page's lighting tab stays selected";
  EXPECT_EQ(keyboard->Device()->GetFunctionTab(), 3);
  EXPECT_EQ(mouse->Device()->GetFunctionTab(), 1);
}

}  // namespace
}  // namespace norvane::app::test

namespace norvane::app::test {
namespace {

TEST_F(WindowRoutesTest, TheTestPagesDpiPairKeepsItsEditAndSliderInStep) {
  QWidget* root = window_->GetPaintManager().GetRoot()->GetWidget();
  auto* slider = new ui::CSliderUI(root);
  slider->SetName("vexor_DPI_slider_1");
  slider->GetWidget()->setProperty("minimum", 0);
  slider->GetWidget()->setProperty("maximum", 10000);
  auto* edit = new ui::CEditUI(root);
  edit->SetName("vexor_DPI_edit_1");

  slider->SetValue(3200);
  ui::TNotifyUI dragged{ui::DUI_MSGTYPE_MOVEVALUECHANGED, slider, 3200, 0};
  window_->Notify(dragged);
  EXPECT_EQ(edit->GetText(), "3200");

  for (const auto& [typed, kept] : std::vector<std::pair<const char*, int>>{
           {"100", 200}, {"7000", 6500}, {"1600", 1600}, {"abc", 200}, {"99999999999", 6500}}) {
    edit->SetText(typed);
    ui::TNotifyUI left{ui::DUI_MSGTYPE_KILLFOCUS, edit, 0, 0};
    window_->Notify(left);
    EXPECT_EQ(slider->GetValue(), kept) << typed;
  }
  delete edit;
  delete slider;
}

}  // namespace
}  // namespace norvane::app::test

namespace norvane::app::test {
namespace {

TEST_F(WindowRoutesTest, SkinControlsWithNumbersOutsideTheOptionsChangeNothing) {
  controls::CDevicePageUI* page = KeyboardPage();
  QWidget* area = InPage(page, "device_function_switch_page_3")->GetWidget();
  const KeyboardSystemStages before = Keyboard().SystemSettings();
  for (const char* name : {"polling_rate_option_9", "polling_rate_option_99999999999", "repeat_delay_check_4"}) {
    auto* stray = new ui::CRadioOptionUI(area);
    stray->SetName(name);
    stray->Selected(true, true);
    delete stray;
  }
  EXPECT_EQ(Keyboard().SystemSettings(), before);
  EXPECT_TRUE(SentCodes().empty()) << "nothing is written for an option the keyboard does not have";
}

TEST_F(WindowRoutesTest, TheProfileMenuFoldsAndUnfoldsOnItsExactName) {
  controls::CDevicePageUI* page = KeyboardPage();
  const bool shown = Bar().IsProfileMenuShown();
  Click(page, "profile_fun_spread_btn");
  EXPECT_NE(Bar().IsProfileMenuShown(), shown);
  Click(page, "profile_fun_spread_btn");
  EXPECT_EQ(Bar().IsProfileMenuShown(), shown);
}

}  // namespace
}  // namespace norvane::app::test

namespace norvane::app::test {
namespace {

TEST_F(WindowRoutesTest, AFullProfileListSaysSoInsteadOfAsking) {
  controls::CDevicePageUI* page = KeyboardPage();
  while (ComboNames().size() < 50) ASSERT_TRUE(Bar().AddProfile().done());
  const std::size_t asked = prompts_.asked.size();
  Click(page, "device_add_btn");
  EXPECT_EQ(prompts_.asked.size(), asked);
  EXPECT_EQ(prompts_.told, std::vector<std::string>{"profile_limit_text"});
  EXPECT_EQ(ComboNames().size(), 50u);
}

}  // namespace
}  // namespace norvane::app::test
