// The list row that skins may use for a step ("ComboEditContainerElement") and the record buttons' class,
// in a real window offscreen: the row builds its texts and delay edit from its sub-skin, selects, clicks,
// activates and asks for a menu as a list row does, and leaves the pointer to its list when told to.
#include "editors/combo_edit_element.h"

#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QTest>

#include "editors/redio_macro_button.h"
#include "uilib/control_factory.h"
#include "uilib/window_impl_base.h"

namespace norvane::editors {
namespace {

struct Seen {
  std::string type;
  ui::CControlUI* sender;
};

// A window on the macro panel's skin, whose step list holds the rows; it notes every notification.
class RowWindow : public ui::WindowImplBase {
 public:
  ui::CDuiString GetWindowClassName() const override { return "RowWnd"; }
  ui::CDuiString GetSkinFile() const override { return "XML\\CustomControlXML\\MacroControl.xml"; }
  void Notify(ui::TNotifyUI& msg) override {
    seen.push_back({msg.sType.toStdString(), msg.pSender});
    WindowImplBase::Notify(msg);
  }
  std::vector<std::string> TypesFrom(ui::CControlUI* sender) const {
    std::vector<std::string> types;
    for (const Seen& s : seen) {
      if (s.sender == sender && s.type != "msenter" && s.type != "msleave" && s.type != "setfocus" &&
          s.type != "killfocus")
        types.push_back(s.type);
    }
    return types;
  }
  std::vector<Seen> seen;
};

class ComboEditElementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Create(nullptr, "rows", true));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.GetWidget()));
    list_ = dynamic_cast<ui::CListUI*>(window_.FindControl("macro_action_list"));
    ASSERT_NE(list_, nullptr);
    for (int i = 0; i < 2; ++i) {
      auto* row = dynamic_cast<CComboEditContainerElementUI*>(
          ui::CControlFactory::GetInstance()->CreateControl("ComboEditContainerElement"));
      ASSERT_NE(row, nullptr) << "the class is registered under its skin name";
      list_->AddControl(row);
      rows_.push_back(row);
    }
    QTest::qWait(10);
    window_.seen.clear();
  }
  QWidget* Widget(int row) const { return rows_[std::size_t(row)]->GetWidget(); }

  RowWindow window_;
  ui::CListUI* list_ = nullptr;
  std::vector<CComboEditContainerElementUI*> rows_;
};

TEST_F(ComboEditElementTest, BuildsItsChildrenFromItsSubSkin) {
  CComboEditContainerElementUI& row = *rows_[0];
  ASSERT_NE(row.FirstText(), nullptr);
  ASSERT_NE(row.SecondText(), nullptr);
  ASSERT_NE(row.DelayEdit(), nullptr);
  EXPECT_EQ(row.FirstText()->GetName().toStdString(), "text1");
  EXPECT_EQ(row.SecondText()->GetName().toStdString(), "text2");
  EXPECT_EQ(row.DelayEdit()->GetName().toStdString(), "delay_edit");
  EXPECT_EQ(row.OwnerList(), list_);
  EXPECT_EQ(rows_[1]->Index(), 1);
}

TEST_F(ComboEditElementTest, PressSelectsCtrlTogglesReleaseClicksAndDoubleClickActivates) {
  QTest::mousePress(Widget(1), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
  EXPECT_TRUE(rows_[1]->IsSelected());
  EXPECT_EQ(list_->GetCurSel(), 1);
  QTest::mouseRelease(Widget(1), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
  EXPECT_EQ(window_.TypesFrom(rows_[1]), (std::vector<std::string>{"itemclick"}));
  EXPECT_FALSE(window_.TypesFrom(list_).empty()) << "a selection by the user is the list's itemselect";

  QTest::mousePress(Widget(1), Qt::LeftButton, Qt::ControlModifier, QPoint(4, 4));
  EXPECT_FALSE(rows_[1]->IsSelected()) << "Ctrl unselects a selected row";
  QTest::mousePress(Widget(1), Qt::LeftButton, Qt::ControlModifier, QPoint(4, 4));
  EXPECT_TRUE(rows_[1]->IsSelected());

  window_.seen.clear();
  QTest::mouseDClick(Widget(0), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
  EXPECT_TRUE(rows_[0]->IsSelected());
  const std::vector<std::string> types = window_.TypesFrom(rows_[0]);
  EXPECT_NE(std::find(types.begin(), types.end(), "itemactivate"), types.end());

  window_.seen.clear();
  QTest::keyClick(Widget(1), Qt::Key_Return);
  EXPECT_EQ(window_.TypesFrom(rows_[1]), (std::vector<std::string>{"itemactivate", "return"}));

  window_.seen.clear();
  rows_[0]->SetEnabled(false);
  QTest::mousePress(Widget(0), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
  QTest::keyClick(Widget(0), Qt::Key_Return);
  EXPECT_TRUE(window_.TypesFrom(rows_[0]).empty()) << "a disabled row raises nothing";
  EXPECT_FALSE(rows_[0]->IsSelected());
}

TEST_F(ComboEditElementTest, AMenuOnlyWhereTheSkinAsksAndThePointerGoesToTheListWithoutMouseInput) {
  QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(3, 3), Widget(0)->mapToGlobal(QPoint(3, 3)));
  QCoreApplication::sendEvent(Widget(0), &request);
  EXPECT_TRUE(window_.TypesFrom(rows_[0]).empty()) << "no context menu unless the skin uses one";

  rows_[0]->SetAttribute("contextmenu", "true");
  rows_[0]->SetAttribute("normalimage", "file='row.png'");
  QContextMenuEvent again(QContextMenuEvent::Mouse, QPoint(3, 3), Widget(0)->mapToGlobal(QPoint(3, 3)));
  QCoreApplication::sendEvent(Widget(0), &again);
  EXPECT_EQ(window_.TypesFrom(rows_[0]), (std::vector<std::string>{"menu"}));

  window_.seen.clear();
  rows_[1]->SetMouseEnabled(false);
  QTest::mouseClick(Widget(1), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
  EXPECT_TRUE(window_.TypesFrom(rows_[1]).empty()) << "the list, not the row, takes the click";
}

TEST_F(ComboEditElementTest, EnterInTheDelayEditEndsTheTyping) {
  ui::CEditUI* delay = rows_[0]->DelayEdit();
  ASSERT_NE(delay, nullptr);
  delay->SetFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return delay->GetWidget()->hasFocus(); }, 1000));
  window_.seen.clear();
  QTest::keyClick(delay->GetWidget(), Qt::Key_Return);
  EXPECT_FALSE(delay->GetWidget()->hasFocus()) << "the edit gave up the focus, so its delay is taken";
  EXPECT_TRUE(window_.TypesFrom(rows_[0]).empty()) << "the edit's Enter does not activate the row";
}

TEST(RedioMacroButton, KeepsItsRecordingImageAndShowsItOnlyWhileRecording) {
  CRedioMacroButtonUI button;
  button.SetForeImage("common/idle.svg");
  button.SetAttribute("redioimage", "common/macro_recording.svg");
  EXPECT_EQ(button.RedioImage().toStdString(), "common/macro_recording.svg");
  button.SetRecording(true);
  EXPECT_EQ(button.GetForeImage().toStdString(), "common/macro_recording.svg");
  button.SetRecording(false);
  EXPECT_EQ(button.GetForeImage().toStdString(), "common/idle.svg");
}

}  // namespace
}  // namespace norvane::editors
