// The mouse page in the real window on an emulated mouse: DPI stages with their colours, the active stage
// and the report rate set from the page's own controls and found in the mouse's memory, a button given a
// new function and a macro, recoil patterns edited and sent, and everything still there after the program
// starts again.
#include <gtest/gtest.h>

#include <QTest>

#include "devices/mouse/mouse_device.h"
#include "editors/key_assignment_editor.h"
#include "editors/key_set_control.h"
#include "devices/mouse/recoil.h"
#include "editors/mouse_editor.h"
#include "editors/shoot_control.h"
#include "tests/app/window_fixture.h"
#include "uilib/edit.h"
#include "uilib/slider.h"

namespace norvane::app::test {
namespace {

constexpr std::size_t kStageBytes = 14;  // stage n sits at 14 + 9n of the record
constexpr std::array<uint8_t, 3> kForward{0x10, 0x10, 0x00};

class MousePageTest : public WindowOnEmulatorTest {
 protected:
  void SetUp() override {
    chooseColour_ = [this](std::uint32_t initial) -> std::optional<std::uint32_t> {
      offered.push_back(initial);
      return picked;
    };
    WindowOnEmulatorTest::SetUp();
    if (HasFatalFailure()) return;
    ShowMouse();
  }
  void ShowMouse() {
    ASSERT_NE(MousePage(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return TabVisible(MousePage()) && Mouse().LastLiveReadResult() == 1; }, 5000));
    SelectTab(MousePage());
    Select(MousePage(), "system_Op_tab");
    backend_->ClearFrameLog();
  }

  controls::CDevicePageUI* MousePage() const { return PageOfKind(hid::DeviceKind::kMouse); }
  devices::CNorvaneMouseDevice& Mouse() const {
    return *dynamic_cast<devices::CNorvaneMouseDevice*>(MousePage()->Device());
  }
  emulator::DeviceId MouseId() const { return backend_->FindDevice(DeviceModel::kMouse).value_or(-1); }
  template <class T>
  T* Control(const std::string& name) const {
    return dynamic_cast<T*>(InPage(MousePage(), name.c_str()));
  }
  std::vector<uint8_t> Record() const { return backend_->ReadMemory(MouseId(), MemoryArea::kSettings, 0, 71); }
  std::vector<uint8_t> StageInMemory(int stage) const {
    const std::vector<uint8_t> record = Record();
    const auto at = record.begin() + std::ptrdiff_t(kStageBytes + 9 * std::size_t(stage));
    return {at, at + 9};
  }
  Json::Value SavedDevice() const {
    return JsonFileUtil().ReadJsonValue(Mouse().CurrentProfileFile())["Device"][0];
  }
  // The page's writes go out on the mouse's own worker, after a settled slider's short wait.
  void WaitForWrites() {
    QTest::qWait(editors::CMouseEditor::kSettleMs * 2);
    Mouse().WaitForSettingsWrites();
    QTest::qWait(5);
  }
  // A user's drag of a stage's slider: it moves, then settles where it was let go.
  void DragSlider(int stage, std::initializer_list<int> values) {
    auto* slider = Control<ui::CSliderUI>("DPI_slider_" + std::to_string(stage));
    ASSERT_NE(slider, nullptr);
    for (int value : values) {
      slider->setSliderDown(true);
      slider->setSliderPosition(value);
    }
    slider->setSliderDown(false);
  }
  void TypeDpi(int stage, const char* text) {
    auto* edit = Control<ui::CEditUI>("DPI_edit_" + std::to_string(stage));
    ASSERT_NE(edit, nullptr);
    edit->setText(text);
    ui::TNotifyUI msg{ui::DUI_MSGTYPE_KILLFOCUS, edit, 0, 0};
    window_->Notify(msg);
  }
  std::vector<uint8_t> SentCodesTo(emulator::DeviceId device) const {
    std::vector<uint8_t> codes;
    for (const emulator::LoggedFrame& frame : backend_->FrameLog())
      if (frame.direction == emulator::FrameDirection::kToDevice && frame.device == device) codes.push_back(frame.bytes[3]);
    return codes;
  }
  std::vector<uint8_t> CodeInTable(const std::array<uint8_t, 3>& code) const {
    const std::vector<uint8_t> table = backend_->ReadMemory(MouseId(), MemoryArea::kKeyTable, 0, 24);
    for (std::size_t p = 0; p + 2 < table.size(); p += 3)
      if (table[p] == code[0] && table[p + 1] == code[1] && table[p + 2] == code[2]) return {uint8_t(p / 3)};
    return {};
  }

  std::vector<std::uint32_t> offered;
  std::optional<std::uint32_t> picked;
};

TEST_F(MousePageTest, StagesColoursTheActiveStageAndTheReportRateReachTheMouseAndStayAfterARestart) {
  // Stage 3 dragged: only the shown DPI follows the drag; the settled value is written.
  DragSlider(2, {40, 48, 49});
  EXPECT_EQ(Control<ui::CEditUI>("DPI_edit_2")->GetText(), "5100");
  WaitForWrites();
  EXPECT_EQ(StageInMemory(2)[2], 49);
  // Stage 4 typed: 5200 DPI lies between positions 49 (5100) and 50 (5300): the stage takes 49.
  TypeDpi(3, "5200");
  EXPECT_EQ(Control<ui::CEditUI>("DPI_edit_3")->GetText(), "5100");
  // Stage 5's colour from the chooser.
  picked = 0xFF123456u;
  Click(MousePage(), "DPI_color_option_4");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !offered.empty(); }, 2000));
  EXPECT_EQ(offered.front(), 0xFFFF00FFu) << "the chooser starts from the stage's colour";
  // Stage 2 becomes the active one, and the report rate 500 Hz.
  Select(MousePage(), "DPI_select_check_1");
  Select(MousePage(), "polling_rate_option_2");
  WaitForWrites();

  const std::vector<uint8_t> record = Record();
  EXPECT_EQ(record[11], 2);
  EXPECT_EQ(record[12], 1);
  EXPECT_EQ(StageInMemory(3), (std::vector<uint8_t>{1, 0, 49, 0, 31, 0, 255, 255, 0}));
  EXPECT_EQ(StageInMemory(4), (std::vector<uint8_t>{1, 0, 63, 0, 63, 0, 0x12, 0x34, 0x56}));
  EXPECT_EQ(Control<ui::CControlUI>("DPI_color_option_4")->GetBkColor(), 0xFF123456u);
  EXPECT_TRUE(prompts_.told.empty());
  const Json::Value saved = SavedDevice();
  EXPECT_EQ(saved["DPIStages"]["StageActive"].asInt(), 1);
  EXPECT_EQ(saved["DPIStages"]["StageDPIs"][2]["StageDPIX"].asInt(), 49);
  EXPECT_EQ(saved["ReportStages"]["StageActive"].asInt(), 2);

  OpenWindow();
  ASSERT_FALSE(HasFatalFailure());
  ShowMouse();
  EXPECT_EQ(Mouse().DpiStages()[2].dpi_x, 49);
  EXPECT_EQ(Mouse().DpiStages()[4].blue, 0x56);
  EXPECT_EQ(Mouse().SystemSettings().report_stage, 2);
  EXPECT_EQ(Mouse().ActiveStage(), 1) << "read from the mouse at start";
  EXPECT_TRUE(Control<ui::COptionUI>("DPI_select_check_1")->IsSelected());
  EXPECT_TRUE(Control<ui::COptionUI>("polling_rate_option_2")->IsSelected());
  EXPECT_EQ(Control<ui::CEditUI>("DPI_edit_2")->GetText(), "5100");
}

TEST_F(MousePageTest, AtLeastOneStageStaysOnAndTheActiveOneCannotBeTurnedOff) {
  // Stage 1 is active: its check cannot be cleared.
  EXPECT_FALSE(Control<ui::COptionUI>("DPI_enable_check_1")->IsEnabled());
  for (int stage : {0, 2, 3}) Select(MousePage(), ("DPI_enable_check_" + std::to_string(stage)).c_str(), false);
  EXPECT_TRUE(Control<ui::COptionUI>("DPI_enable_check_4")->IsEnabled());
  // Turning the second-to-last stage off leaves one on: its check cannot be cleared either.
  Select(MousePage(), "DPI_select_check_4");
  Select(MousePage(), "DPI_enable_check_1", false);
  EXPECT_FALSE(Control<ui::COptionUI>("DPI_enable_check_4")->IsEnabled());
  EXPECT_FALSE(Control<ui::CControlUI>("DPI_layout_1")->IsEnabled());
  WaitForWrites();
  for (int stage : {0, 1, 2, 3}) EXPECT_EQ(StageInMemory(stage)[0], 0) << "stage " << stage;
  EXPECT_EQ(StageInMemory(4)[0], 1);
  EXPECT_EQ(Record()[12], 4);
  // Turning one on again frees the last one's check.
  Select(MousePage(), "DPI_enable_check_0");
  EXPECT_TRUE(Control<ui::CControlUI>("DPI_layout_0")->IsEnabled());
  EXPECT_TRUE(Control<ui::COptionUI>("DPI_enable_check_0")->IsEnabled());
  EXPECT_FALSE(Control<ui::COptionUI>("DPI_enable_check_4")->IsEnabled()) << "the active stage's";
}

TEST_F(MousePageTest, PointerScrollAndDoubleClickAreKeptInTheProfileOnly) {
  Select(MousePage(), "cursor_Op_tab");
  backend_->ClearFrameLog();
  Control<ui::CSliderUI>("pointer_speed_slider")->setValue(14);
  Control<ui::CSliderUI>("double_click_slider")->setValue(7);
  Select(MousePage(), "scrolls_page_check");
  Control<ui::CSliderUI>("scroll_speed_slider")->setValue(6);
  Select(MousePage(), "pointer_precision_check", false);
  WaitForWrites();
  const std::vector<uint8_t> sent = SentCodesTo(MouseId());
  EXPECT_EQ(std::count(sent.begin(), sent.end(), kWriteSettings), 0) << "nothing of it goes to the mouse";
  EXPECT_EQ(std::count(sent.begin(), sent.end(), kBegin), 0);
  EXPECT_FALSE(Control<ui::COptionUI>("scrolls_page_check")->IsSelected()) << "a scroll speed means lines";
  const Json::Value system = SavedDevice()["SystemStages"];
  EXPECT_EQ(system["MouseSpeed"].asInt(), 14);
  EXPECT_EQ(system["DoubleClickTime"].asInt(), 7);
  EXPECT_EQ(system["WheelScorlllinse"].asInt(), 6);
  EXPECT_EQ(system["ScorllPage"].asInt(), 0);
  EXPECT_EQ(system["PointerPrecision"].asInt(), 0);
}

TEST_F(MousePageTest, AMouseThatRefusesTheSettingsIsToldOnceAndTheProfileKeepsThem) {
  backend_->AddFault(MouseId(), {.kind = emulator::FaultKind::kRefuse, .command = kWriteSettings, .times = 0});
  TypeDpi(0, "1600");
  Select(MousePage(), "polling_rate_option_0");
  WaitForWrites();
  EXPECT_EQ(prompts_.told, (std::vector<std::string>{"device_settings_write_failed"}));
  EXPECT_EQ(SavedDevice()["DPIStages"]["StageDPIs"][0]["StageDPIX"].asInt(), 15);
  EXPECT_EQ(SavedDevice()["ReportStages"]["StageActive"].asInt(), 0);
  backend_->ClearFaults(MouseId());
  Select(MousePage(), "polling_rate_option_1");
  WaitForWrites();
  EXPECT_EQ(Record()[0 + 11], 1);
  EXPECT_EQ(StageInMemory(0)[2], 15);
}

TEST_F(MousePageTest, AButtonGetsANewFunctionAndAMacroWrittenToTheMouse) {
  Select(MousePage(), "key_Op_tab");
  const std::vector<uint8_t> forward = CodeInTable(kForward);
  ASSERT_EQ(forward.size(), 1u);
  auto* panel = editors::CKeyAssignmentEditor::PanelOf(*MousePage());
  ASSERT_NE(panel, nullptr);

  // The left button is on no other button: it cannot be given away.
  Click(MousePage(), "key_0");
  EXPECT_FALSE(panel->HasKey());
  EXPECT_EQ(prompts_.told, (std::vector<std::string>{"message_text_6"}));

  // A macro for the forward button: made in the macro panel, chosen in the key panel.
  Select(MousePage(), "macro_Op_tab");
  prompts_.confirm = true;
  Click(MousePage(), "macro_btn_name_add");
  ASSERT_FALSE(Mouse().MacroNames().empty());
  Select(MousePage(), "key_Op_tab");
  Click(MousePage(), "key_3");
  ASSERT_TRUE(panel->HasKey());
  auto* kinds = Control<ui::CComboUI>("keyset_function_combo");
  ASSERT_TRUE(kinds->SelectItem(kinds->FindItemByUserData("9"), false, true));
  QTest::qWait(5);
  auto* macros = Control<ui::CComboUI>("keyset_macro_combo");
  ASSERT_TRUE(macros->SelectItem(0, false, true));
  QTest::qWait(5);
  EXPECT_EQ(Mouse().KeyAssignments()[3].current.type, 0x70);
  backend_->ClearFrameLog();
  Click(MousePage(), "key_butt_prosave");

  const std::vector<uint8_t> table = backend_->ReadMemory(MouseId(), MemoryArea::kKeyTable, 3 * forward[0], 3);
  EXPECT_EQ(table, (std::vector<uint8_t>{0x70, 0, 0}));
  const std::vector<uint8_t> block = backend_->ReadMemory(MouseId(), MemoryArea::kMacros, 0, 6);
  EXPECT_EQ(block, (std::vector<uint8_t>{0xAA, 0x55, 22, 0, 1, 0})) << "one empty macro record";
  EXPECT_EQ(prompts_.told, (std::vector<std::string>{"message_text_6"}));

  OpenWindow();
  ASSERT_FALSE(HasFatalFailure());
  ShowMouse();
  EXPECT_EQ(Mouse().KeyAssignments()[3].current, (KeyFunction{0x70, 0, 0}));
}

class MouseRecoilTest : public MousePageTest {
 protected:
  void SetUp() override {
    MousePageTest::SetUp();
    if (HasFatalFailure()) return;
    Select(MousePage(), "mouse_device_seting_option_1");
    ASSERT_NE(Control<editors::CShootControlUI>("ShootControlItem"), nullptr);
  }
  std::filesystem::path GunFileOf(int gun) const { return devices::mouse::GunFile(Mouse().UserProfileFolder(), gun); }
  // A bullet as a user sets it: the gun's option, the bullet's, the checks and the edits, each edit left.
  void EditBullet(int gun, int bullet, bool left, int x, int y, int delay) {
    Select(MousePage(), ("shoot_gun_op_" + std::to_string(gun)).c_str());
    Select(MousePage(), ("bullet_op_" + std::to_string(bullet)).c_str());
    Select(MousePage(), "bullet_x_check", left);
    for (const auto& [name, value] : {std::pair{"bullet_x_eidt", x}, {"bullet_y_eidt", y}, {"bullet_delay_eidt", delay}}) {
      auto* edit = Control<ui::CEditUI>(name);
      ASSERT_NE(edit, nullptr) << name;
      edit->setText(QString::number(value));
      ui::TNotifyUI msg{ui::DUI_MSGTYPE_KILLFOCUS, edit, 0, 0};
      window_->Notify(msg);
    }
  }
  std::vector<uint8_t> Recoil(std::size_t bytes) const {
    return backend_->ReadMemory(MouseId(), MemoryArea::kRecoil, 0, bytes);
  }
};

TEST_F(MouseRecoilTest, BulletsOfEveryGunAreSavedToTheirFilesAndTheMouseGetsTheWholeBlock) {
  for (int gun = 0; gun < 4; ++gun) EditBullet(gun, 3 + gun, gun % 2 == 0, 2 + gun, 10 + gun, 70 + gun);
  for (int gun = 0; gun < 4; ++gun) {
    const Json::Value events = JsonFileUtil().ReadJsonValue(GunFileOf(gun))["Events"];
    const int first = 6 * (3 + gun);
    EXPECT_EQ(events[first + 2]["Action"].asString(), gun % 2 == 0 ? "down" : "up") << "gun " << gun;
    EXPECT_EQ(events[first + 2]["Button"].asInt(), 2 + gun);
    EXPECT_EQ(events[first + 3]["Button"].asInt(), 10 + gun);
    EXPECT_EQ(events[first + 3]["Delay"].asInt(), 70 + gun);
  }
  backend_->ClearFrameLog();
  Click(MousePage(), "shootdate_save_btn");
  const std::vector<uint8_t> block = Recoil(2920);
  EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + 6), (std::vector<uint8_t>{0xAA, 0x55, 0x68, 0x0B, 4, 0}));
  // Gun 2, bullet 5: its vertical move (event 33) pulls down 12 and waits 72 ms.
  const std::size_t gun2 = block[20] | block[21] << 8;
  const std::size_t event = gun2 + 4 + 4 * (6 * 5 + 3);
  EXPECT_EQ(std::vector<uint8_t>(block.begin() + std::ptrdiff_t(event), block.begin() + std::ptrdiff_t(event + 4)),
            (std::vector<uint8_t>{72, 0, 0x05, 12}));
  const std::vector<uint8_t> codes = SentCodesTo(MouseId());
  EXPECT_EQ(std::count(codes.begin(), codes.end(), uint8_t{0x17}), 53);
  EXPECT_EQ(codes.back(), kEnd);
  EXPECT_TRUE(prompts_.told.empty());
}

TEST_F(MouseRecoilTest, ResetImportAndExportWorkOnTheChosenGunAndTheUserHearsWhatFailed) {
  EditBullet(1, 0, true, 9, 9, 99);
  const std::filesystem::path exported = data_.path() / "gun.Shoot";
  prompts_.file = ui::CDuiString(QString::fromStdString((data_.path() / "gun").string()));
  Click(MousePage(), "shootdate_export_btn");
  EXPECT_EQ(prompts_.filters.back(), "Shoot Files(*.shoot *.Shoot *.SHOOT)");
  ASSERT_TRUE(std::filesystem::exists(exported)) << "a name without extension gets .Shoot";

  Select(MousePage(), "shoot_gun_op_2");
  prompts_.file = ui::CDuiString(QString::fromStdString(exported.string()));
  Click(MousePage(), "shootdate_import_btn");
  EXPECT_EQ(Control<ui::CEditUI>("bullet_delay_eidt")->GetText(), "99") << "the imported bullet is shown";
  EXPECT_EQ(norvane::testing::ReadText(GunFileOf(2)), norvane::testing::ReadText(exported));

  norvane::testing::WriteText(data_.path() / "junk.Shoot", "junk");
  prompts_.file = ui::CDuiString(QString::fromStdString((data_.path() / "junk.Shoot").string()));
  Click(MousePage(), "shootdate_import_btn");
  EXPECT_EQ(prompts_.told, (std::vector<std::string>{"shoot_file_unusable_text"}));
  EXPECT_EQ(norvane::testing::ReadText(GunFileOf(2)), norvane::testing::ReadText(exported));

  Click(MousePage(), "shootdate_reset_btn");
  EXPECT_EQ(norvane::testing::ReadText(GunFileOf(2)),
            norvane::testing::ReadText(devices::mouse::GunFile(NORVANE_SOURCE_DIR "/DefaultData", 2)));

  backend_->AddFault(MouseId(), {.kind = emulator::FaultKind::kRefuse, .command = 0x17, .skip = 10});
  Click(MousePage(), "shootdate_save_btn");
  EXPECT_EQ(prompts_.told.back(), "shoot_write_failed_text");
  EXPECT_EQ(SentCodesTo(MouseId()).back(), kEnd);
}

}  // namespace
}  // namespace norvane::app::test
