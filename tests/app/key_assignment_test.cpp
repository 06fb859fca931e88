// The key assignment editor in the real window on an emulated keyboard: a key picked on the picture, a new
// function chosen in the panel, applied into the profile, written to the keyboard's key table, labelled on
// the picture and still there after the program starts again.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>

#include "controls/device_key_button.h"
#include "editors/key_assignment_editor.h"
#include "editors/key_set_control.h"
#include "tests/app/window_fixture.h"
#include "uilib/edit.h"

namespace norvane::app::test {
namespace {

constexpr int kKeyA = 64;  // the UI key of A (its reference code is 20 00 04)
constexpr std::array<uint8_t, 3> kCodeOfA{0x20, 0x00, 0x04};
constexpr std::array<uint8_t, 3> kVolumeUp{0x30, 0xE9, 0x00};
constexpr int kMediaKind = 7;
constexpr int kVolumeUpItem = 6;  // media items: select, play, stop, previous, next, volume down, volume up

class KeyAssignmentTest : public WindowOnEmulatorTest {
 protected:
  void SetUp() override {
    WindowOnEmulatorTest::SetUp();
    if (HasFatalFailure()) return;
    Select(KeyboardPage(), "key_Op_tab");
    positionOfA_ = PositionOf(kCodeOfA);
    ASSERT_GE(positionOfA_, 0);
  }

  editors::CKeySetControlUI& Panel() const {
    auto* panel = editors::CKeyAssignmentEditor::PanelOf(*KeyboardPage());
    EXPECT_NE(panel, nullptr);
    return *panel;
  }
  ui::CComboUI* Combo(const char* name) const { return dynamic_cast<ui::CComboUI*>(InPage(KeyboardPage(), name)); }
  // A user's choice in a combo: the combo raises "itemselect" to the window.
  void Choose(const char* name, int item) {
    ui::CComboUI* combo = Combo(name);
    ASSERT_NE(combo, nullptr) << name;
    ASSERT_TRUE(combo->SelectItem(item, false, true)) << name << " item " << item;
    QTest::qWait(5);
  }
  void ChooseKind(int kind) {
    ui::CComboUI* combo = Combo("keyset_function_combo");
    ASSERT_NE(combo, nullptr);
    const int item = combo->FindItemByUserData(QString::number(kind));
    ASSERT_GE(item, 0) << "kind " << kind;
    Choose("keyset_function_combo", item);
  }
  std::vector<uint8_t> KeyTable() const {
    return backend_->ReadMemory(KeyboardId(), emulator::MemoryArea::kKeyTable, 0, 3 * 129);
  }
  // Where the keyboard keeps a key, from its own table.
  int PositionOf(std::array<uint8_t, 3> code) const {
    const std::vector<uint8_t> table = KeyTable();
    for (std::size_t p = 0; p + 2 < table.size(); p += 3)
      if (table[p] == code[0] && table[p + 1] == code[1] && table[p + 2] == code[2]) return int(p / 3);
    return -1;
  }
  std::array<uint8_t, 3> CodeAt(int position) const {
    const std::vector<uint8_t> table = KeyTable();
    return {table[3 * position], table[3 * position + 1], table[3 * position + 2]};
  }
  Json::Int64 SavedAssignment(int key) const {
    const Json::Value document = JsonFileUtil().ReadJsonValue(KeyboardPage()->Device()->CurrentProfileFile());
    return document["Device"][0]["KeyList"][key]["Assignment"].asInt64();
  }
  controls::CDeviceKeyButtonUI* KeyButton(int key) const {
    return dynamic_cast<controls::CDeviceKeyButtonUI*>(KeyboardPage()->KeyButton(key));
  }

  int positionOfA_ = -1;
};

TEST_F(KeyAssignmentTest, AKeyGivenVolumeUpIsAppliedToTheProfileWrittenToTheKeyboardAndLabelled) {
  Click(KeyboardPage(), "key_64");
  ASSERT_TRUE(Panel().IsEditorShown());
  EXPECT_EQ(Panel().SelectedKind(), 0) << "a key that does what it always did shows as its default";

  ChooseKind(kMediaKind);
  Choose("keyset_media_combo", kVolumeUpItem);
  EXPECT_EQ(Keyboard().KeyAssignments()[kKeyA].current, (KeyFunction{0x30, 0xE9, 0x00}));
  EXPECT_EQ(SavedAssignment(kKeyA), 0x30E900) << "applied means saved";
  EXPECT_EQ(CodeAt(positionOfA_), kCodeOfA) << "nothing is written before the user asks";
  EXPECT_TRUE(Panel().AreEditButtonsEnabled());

  backend_->ClearFrameLog();
  Click(KeyboardPage(), "key_butt_prosave");
  EXPECT_EQ(CodeAt(positionOfA_), kVolumeUp);
  // The information block is read again first (the table's length comes from it), then one closed series.
  const std::vector<uint8_t> codes = SentCodes();
  const auto write = std::find(codes.begin(), codes.end(), kWriteKeyTable);
  ASSERT_NE(write, codes.end());
  EXPECT_NE(std::find(codes.begin(), write, kBegin), write);
  EXPECT_EQ(codes.back(), kEnd);
  EXPECT_FALSE(Panel().AreEditButtonsEnabled());
  EXPECT_TRUE(prompts_.told.empty());

  controls::CDeviceKeyButtonUI* button = KeyButton(kKeyA);
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->GetKeySetMarkHidden() == 0) << "a key that does something else is marked";
  EXPECT_TRUE(button->toolTip().contains("Volume Up")) << button->toolTip().toStdString();
  EXPECT_FALSE(KeyButton(kKeyA + 1)->GetKeySetMarkHidden() == 0);

  // The program starts again: the profile gives the key its new function.
  OpenWindow();
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_EQ(Keyboard().KeyAssignments()[kKeyA].current, (KeyFunction{0x30, 0xE9, 0x00}));
}

TEST_F(KeyAssignmentTest, CancelShowsTheAppliedFunctionAndDefaultRestoresAndWritesTheKey) {
  Click(KeyboardPage(), "key_64");
  ChooseKind(kMediaKind);
  Choose("keyset_media_combo", kVolumeUpItem);
  // A count typed but not yet left: cancel shows what was applied.
  ChooseKind(3);
  const KeyFunction wheel = Keyboard().KeyAssignments()[kKeyA].current;
  EXPECT_EQ(wheel, (KeyFunction{0x12, 0x00, 0x01})) << "a kind chosen is applied with what its controls show";
  auto* count = dynamic_cast<ui::CEditUI*>(InPage(KeyboardPage(), "keyset_mousewheel_num_edit"));
  const QString applied = count->GetText();
  count->SetText("9");
  Click(KeyboardPage(), "key_butt_keycancel");
  EXPECT_EQ(count->GetText(), applied);
  EXPECT_EQ(Keyboard().KeyAssignments()[kKeyA].current, wheel);
  EXPECT_FALSE(Panel().AreEditButtonsEnabled());

  Click(KeyboardPage(), "key_butt_keydefalut");
  EXPECT_EQ(Keyboard().KeyAssignments()[kKeyA].current, (KeyFunction{0x20, 0x00, 0x04}));
  EXPECT_EQ(CodeAt(positionOfA_), kCodeOfA) << "restoring a keyboard key's default writes it at once";
  EXPECT_EQ(Panel().SelectedKind(), 0);
}

TEST_F(KeyAssignmentTest, KeysPressedIntoTheKeyTextBecomeTheKeyWithItsModifier) {
  Click(KeyboardPage(), "key_64");
  ChooseKind(6);
  ui::CEditUI* edit = Panel().KeyTextEdit();
  ASSERT_NE(edit, nullptr);
  ui::TNotifyUI focus{ui::DUI_MSGTYPE_SETFOCUS, edit, 0, 0};
  window_->Notify(focus);
  // X11 key codes: left Shift 50, A 38, right Ctrl 105 (the kernel's codes plus 8).
  const auto press = [&](int x11Code, Qt::Key key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, quint32(x11Code), 0, 0, "a");
    QCoreApplication::sendEvent(edit->GetWidget(), &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, quint32(x11Code), 0, 0, "a");
    QCoreApplication::sendEvent(edit->GetWidget(), &up);
  };
  press(50, Qt::Key_Shift);
  press(38, Qt::Key_A);
  EXPECT_EQ(Keyboard().KeyAssignments()[kKeyA].current, (KeyFunction{0x20, 0x02, 0x04}));
  EXPECT_EQ(Panel().GetModifier(), 2);
  EXPECT_EQ(edit->GetText().toStdString(), "A") << "the edit shows the key's name, never the typed character";

  press(105, Qt::Key_Control);
  press(38, Qt::Key_A);
  EXPECT_EQ(Keyboard().KeyAssignments()[kKeyA].current, (KeyFunction{0x20, 0x01, 0x04}))
      << "a right-hand modifier is chosen as its left-hand one";

  ui::TNotifyUI blur{ui::DUI_MSGTYPE_KILLFOCUS, edit, 0, 0};
  window_->Notify(blur);
  press(50, Qt::Key_Shift);
  EXPECT_EQ(Panel().GetModifier(), 1) << "no capture once the key text lost the focus";
}

TEST_F(KeyAssignmentTest, AKeyboardThatRefusesTheTableSaysSoAndTheProfileKeepsTheKey) {
  Click(KeyboardPage(), "key_64");
  ChooseKind(kMediaKind);
  Choose("keyset_media_combo", kVolumeUpItem);
  backend_->AddFault(KeyboardId(), {.kind = emulator::FaultKind::kRefuse, .command = kWriteKeyTable});
  Click(KeyboardPage(), "key_butt_prosave");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts_.told.empty(); }, 2000));
  EXPECT_EQ(prompts_.told, std::vector<std::string>{"key_write_failed_text"});
  EXPECT_EQ(CodeAt(positionOfA_), kCodeOfA);
  EXPECT_EQ(SavedAssignment(kKeyA), 0x30E900);
  EXPECT_EQ(SentCodes().back(), kEnd) << "the series is closed after the refusal";
}

TEST_F(KeyAssignmentTest, KeysOpenOnlyOnTheKeyTabAndTheKeyboardOffersNeitherDpiNorGunKeys) {
  Select(KeyboardPage(), "deng_Op_tab");
  Click(KeyboardPage(), "key_64");
  EXPECT_FALSE(Panel().HasKey());
  Select(KeyboardPage(), "key_Op_tab");
  Click(KeyboardPage(), "key_64");
  EXPECT_TRUE(Panel().HasKey());
  ui::CComboUI* kinds = Combo("keyset_function_combo");
  EXPECT_FALSE(kinds->IsItemVisible(kinds->FindItemByUserData("4")));
  EXPECT_FALSE(kinds->IsItemVisible(kinds->FindItemByUserData("10")));
  EXPECT_TRUE(kinds->IsItemVisible(kinds->FindItemByUserData("7")));
}

}  // namespace
}  // namespace norvane::app::test
