// The macro editor in the real window on an emulated keyboard: a macro created and filled through the
// panel's buttons, bound to a key through the key editor and written; the keyboard's memory then holds the
// macro block and the key playing it. Deleting asks first, changes nothing on Cancel, and gives the keys
// that played the macro their default.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyle>
#include <QTest>
#include <algorithm>

#include "app/macro_editor.h"
#include "editors/macro_control.h"
#include "editors/macro_row.h"
#include "tests/app/window_fixture.h"
#include "uilib/combo.h"
#include "uilib/edit.h"
#include "uilib/theme.h"

namespace norvane::app::test {
namespace {

constexpr std::array<uint8_t, 3> kCodeOfA{0x20, 0x00, 0x04};
constexpr int kMacroKind = 9;
constexpr int kKeyA = 0x200004;

class MacroEditorTest : public WindowOnEmulatorTest {
 protected:
  void SetUp() override {
    WindowOnEmulatorTest::SetUp();
    if (HasFatalFailure()) return;
    positionOfA_ = PositionOf(kCodeOfA);
    ASSERT_GE(positionOfA_, 0);
    Select(KeyboardPage(), "macro_Op_tab");
    ASSERT_NE(Panel(), nullptr) << "the keyboard page holds the macro editor";
  }
  editors::CMacroControlUI* Panel() const { return CMacroEditor::PanelOf(*KeyboardPage()); }
  void Type(const char* edit, const char* text) {
    auto* control = dynamic_cast<ui::CEditUI*>(InPage(KeyboardPage(), edit));
    ASSERT_NE(control, nullptr) << edit;
    control->SetText(text);
  }
  void Choose(const char* name, int item) {
    auto* combo = dynamic_cast<ui::CComboUI*>(InPage(KeyboardPage(), name));
    ASSERT_NE(combo, nullptr) << name;
    ASSERT_TRUE(combo->SelectItem(item, false, true)) << name << " item " << item;
    QTest::qWait(5);
  }
  int PositionOf(std::array<uint8_t, 3> code) const {
    const std::vector<uint8_t> table = backend_->ReadMemory(KeyboardId(), MemoryArea::kKeyTable, 0, 3 * 129);
    for (std::size_t p = 0; p + 2 < table.size(); p += 3)
      if (table[p] == code[0] && table[p + 1] == code[1] && table[p + 2] == code[2]) return int(p / 3);
    return -1;
  }
  std::vector<uint8_t> KeyCodeAt(int position) const {
    return backend_->ReadMemory(KeyboardId(), MemoryArea::kKeyTable, 3 * position, 3);
  }
  // A new macro with a move left by 20 and a move right by 5, both with the fixed delay of 50 ms.
  void CreateMacroWithTwoMoves() {
    Click(KeyboardPage(), "macro_btn_name_add");
    ASSERT_EQ(Panel()->GetMacroNames(), (std::vector<std::string>{"macro_1"}));
    Type("mouse_x_left_edit", "20");
    Click(KeyboardPage(), "macro_inset_moveleftkey_btn");
    Type("mouse_x_right_edit", "5");
    Click(KeyboardPage(), "macro_inset_moverightkey_btn");
    ASSERT_EQ(Panel()->RowCount(), 2);
  }
  void BindMacroToKeyA(int macro = 0) {
    Select(KeyboardPage(), "key_Op_tab");
    Click(KeyboardPage(), "key_64");
    auto* kinds = dynamic_cast<ui::CComboUI*>(InPage(KeyboardPage(), "keyset_function_combo"));
    ASSERT_NE(kinds, nullptr);
    const int item = kinds->FindItemByUserData(QString::number(kMacroKind));
    ASSERT_GE(item, 0);
    Choose("keyset_function_combo", item);
    Choose("keyset_macro_combo", macro);
    Click(KeyboardPage(), "key_butt_prosave");
  }
  // Key A of a profile file as it stores it (type << 16 | data1 << 8 | data2).
  int StoredKeyA(int profile) const {
    const Json::Value document = JsonFileUtil().ReadJsonValue(Bar().List().GetProfilePath(profile));
    return document["Device"][0]["KeyList"][64]["Assignment"].asInt();
  }
  std::string ProfileBytes(int profile) const {
    return norvane::testing::ReadText(Bar().List().GetProfilePath(profile));
  }
  CMacroEditor& Editor() const {
    return *dynamic_cast<CMacroEditor*>(window_->Router().EditorOf(editors::EditorSlot::kMacro));
  }

  int positionOfA_ = -1;
};

TEST_F(MacroEditorTest, AMacroMadeInTheEditorAndBoundToAKeyIsWrittenToTheKeyboard) {
  CreateMacroWithTwoMoves();
  EXPECT_EQ(prompts_.asked, (std::vector<std::string>{"message_text_28"})) << "an add is confirmed first";
  BindMacroToKeyA();
  ASSERT_FALSE(HasFatalFailure());

  const std::vector<uint8_t> key = KeyCodeAt(positionOfA_);
  EXPECT_EQ(key[0], 0x70) << "A plays a macro";
  EXPECT_EQ(key[1], 0x00) << "the first macro";

  const std::vector<uint8_t> block = backend_->ReadMemory(KeyboardId(), MemoryArea::kMacros, 0, 64);
  ASSERT_GE(block.size(), 2u);
  EXPECT_EQ(block[0], 0xAA);
  EXPECT_EQ(block[1], 0x55);
  const std::vector<uint8_t> events{0x32, 0x00, 0x84, 0x14, 0x32, 0x00, 0x04, 0x05};
  EXPECT_NE(std::search(block.begin(), block.end(), events.begin(), events.end()), block.end())
      << "the two moves follow each other in the block";
  EXPECT_TRUE(prompts_.told.empty());
}

TEST_F(MacroEditorTest, DeletingAMacroAKeyUsesIsAskedFirstCancelKeepsItAndOkGivesTheKeyItsDefault) {
  CreateMacroWithTwoMoves();
  BindMacroToKeyA();
  ASSERT_FALSE(HasFatalFailure());
  Select(KeyboardPage(), "macro_Op_tab");
  Panel()->SelectMacro(0);
  prompts_.asked.clear();

  prompts_.confirm = false;
  Click(KeyboardPage(), "macro_btn_name_sub");
  EXPECT_EQ(prompts_.asked, (std::vector<std::string>{"message_text_4"}));
  EXPECT_EQ(Panel()->MacroCount(), 1);
  EXPECT_EQ(Keyboard().KeyAssignments()[64].current.type, 0x70) << "Cancel leaves the key on the macro";

  prompts_.asked.clear();
  prompts_.confirm = true;
  Click(KeyboardPage(), "macro_btn_name_sub");
  EXPECT_EQ(prompts_.asked, (std::vector<std::string>{"message_text_4", "message_text_2"}))
      << "a macro a key of this profile plays is confirmed once more";
  EXPECT_EQ(Panel()->MacroCount(), 0);
  EXPECT_EQ(Keyboard().KeyAssignments()[64].current, (KeyFunction{0x20, 0x00, 0x04}))
      << "the key goes back to its default";
}

TEST_F(MacroEditorTest, ACancelledDeleteLeavesEveryProfileAndAnAcceptedOneRenumbersTheOthers) {
  for (int i = 0; i < 3; ++i) Click(KeyboardPage(), "macro_btn_name_add");
  ASSERT_EQ(Panel()->MacroCount(), 3);
  BindMacroToKeyA(2);
  ASSERT_FALSE(HasFatalFailure());
  Click(KeyboardPage(), "device_copy_btn");
  ASSERT_EQ(Bar().List().GetProfileCount(), 2);
  ASSERT_EQ(Bar().List().GetSelectedIndex(), 0) << "the copy is added beside the current profile";
  BindMacroToKeyA(1);
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_EQ(StoredKeyA(0), 0x700100);
  ASSERT_EQ(StoredKeyA(1), 0x700200);
  const std::string current = ProfileBytes(0);
  const std::string other = ProfileBytes(1);

  Select(KeyboardPage(), "macro_Op_tab");
  Panel()->SelectMacro(1);
  prompts_.asked.clear();
  prompts_.answers = {true, false};
  Click(KeyboardPage(), "macro_btn_name_sub");
  EXPECT_EQ(prompts_.asked, (std::vector<std::string>{"message_text_4", "message_text_2"}));
  EXPECT_EQ(ProfileBytes(0), current) << "Cancel changes nothing in the current profile";
  EXPECT_EQ(ProfileBytes(1), other) << "nor in any other";
  EXPECT_EQ(Panel()->MacroCount(), 3);

  prompts_.answers = {true, true};
  Click(KeyboardPage(), "macro_btn_name_sub");
  EXPECT_EQ(Panel()->GetMacroNames(), (std::vector<std::string>{"macro_1", "macro_3"}));
  EXPECT_EQ(StoredKeyA(0), kKeyA) << "the key on the deleted macro has its default again";
  EXPECT_EQ(StoredKeyA(1), 0x700100) << "the key on the macro after it follows it down";
  EXPECT_EQ(KeyCodeAt(positionOfA_), (std::vector<uint8_t>{0x20, 0x00, 0x04})) << "and the keyboard has it";
}

TEST_F(MacroEditorTest, ShowingTheMacroTabKeepsTheWindowsSize) {
  // Sizes as users see them: with the program's theme (its style sheet sets the widths of the buttons).
  ASSERT_TRUE(ui::ApplyTheme(*qApp));
  struct Unthemed {
    ~Unthemed() {
      qApp->setStyleSheet(QString());
      qApp->setPalette(qApp->style()->standardPalette());
    }
  } unthemed;
  OpenWindow();  // afresh, on the lighting tab it starts with
  ASSERT_FALSE(HasFatalFailure());
  SelectTab(KeyboardPage());
  QTest::qWait(20);
  const QSize first = window_->GetWidget()->size();
  Select(KeyboardPage(), "macro_Op_tab");
  QTest::qWait(20);
  EXPECT_EQ(window_->GetWidget()->size(), first) << "the macro panel fits the window's own layout";
  Select(KeyboardPage(), "deng_Op_tab");
  QTest::qWait(20);
  EXPECT_EQ(window_->GetWidget()->size(), first);
}

TEST_F(MacroEditorTest, AStepsMenuInsertsAMouseClickAfterIt) {
  CreateMacroWithTwoMoves();
  ASSERT_FALSE(HasFatalFailure());
  Panel()->SelectRow(0);
  ui::CControlUI* row = Panel()->RowControl(0);
  ASSERT_NE(row, nullptr);
  ui::TNotifyUI request{ui::DUI_MSGTYPE_MENU, row, 0, 0};
  window_->Notify(request);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Editor().RowMenu() != nullptr; }, 1000)) << "the menu opens";
  ASSERT_TRUE(Editor().RowMenu()->ChooseItem("left_click"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Panel()->RowCount() == 4; }, 1000));
  const std::vector<macro::MacroEvent> rows = Panel()->RowEvents();
  EXPECT_EQ(rows[1], (macro::MacroEvent{"down", 0x01, 50, 1}));
  EXPECT_EQ(rows[2], (macro::MacroEvent{"up", 0x01, 50, 1}));

  // A step of a page in the background opens nothing.
  const ui::CMenuWnd* open = Editor().RowMenu();
  SelectTab(PageOfKind(hid::DeviceKind::kMouse));
  window_->Notify(request);
  QTest::qWait(30);
  EXPECT_EQ(Editor().RowMenu(), open);
}

}  // namespace
}  // namespace norvane::app::test
