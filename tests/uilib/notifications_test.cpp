// Each notification type, raised by simulated user input on the demo skin, with its sender and parameters;
// and the programmatic changes that must stay silent.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QListWidget>
#include <QTest>

#include "tests/uilib/ui_test_support.h"

namespace norvane::ui::test {
namespace {

using ::testing::ElementsAre;

class NotificationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Create(nullptr, "test", true));
    ASSERT_FALSE(window.SkinFailed());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.GetWidget()));
    ASSERT_TRUE(WaitFor([&] { return !window.Of("windowinit").empty(); }));
    window.seen.clear();
  }
  template <class T>
  T* Find(const char* name) {
    auto* c = window.FindControlAs<T>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  RecordingWindow window;
};

TEST_F(NotificationTest, WindowInitArrivesOnceAndResizeReportsWindowSize) {
  RecordingWindow fresh;
  ASSERT_TRUE(fresh.Create(nullptr, "fresh", true));
  ASSERT_TRUE(WaitFor([&] { return !fresh.Of("windowinit").empty(); }));
  QTest::qWait(20);
  ASSERT_EQ(fresh.Of("windowinit").size(), 1u);
  EXPECT_EQ(fresh.Of("windowinit")[0].sender, "root");

  fresh.ResizeClient(1100, 700);
  ASSERT_TRUE(WaitFor([&] { return !fresh.Of("windowsize").empty(); }));
  EXPECT_EQ(fresh.Of("windowsize").back().sender, "root");
  EXPECT_EQ(fresh.Of("windowsize").back().wParam, 1100u);
  EXPECT_EQ(fresh.Of("windowsize").back().lParam, 700);
}

TEST_F(NotificationTest, ButtonClickAndDoubleClick) {
  auto* apply = Find<CButtonUI>("apply_btn");
  QTest::mouseClick(apply, Qt::LeftButton);
  EXPECT_THAT(window.Types(), ElementsAre("click:apply_btn"));

  window.seen.clear();
  QTest::mouseDClick(apply, Qt::LeftButton);
  EXPECT_EQ(window.Of("dbclick", "apply_btn").size(), 1u);

  window.seen.clear();
  apply->SetEnabled(false);
  QTest::mouseClick(apply, Qt::LeftButton);
  QTest::mouseDClick(apply, Qt::LeftButton);
  EXPECT_TRUE(window.Types().empty()) << "a disabled button raises nothing";
}

TEST_F(NotificationTest, GroupedOptionsSelectExclusivelyAndStaySelected) {
  auto* keyboard = Find<COptionUI>("device_option_1");
  auto* mouse = Find<COptionUI>("device_option_2");
  ASSERT_TRUE(keyboard->IsSelected());
  EXPECT_EQ(mouse->GetGroup(), "device");

  QTest::mouseClick(static_cast<QWidget*>(mouse->GetWidget()), Qt::LeftButton);
  EXPECT_TRUE(mouse->IsSelected());
  EXPECT_FALSE(keyboard->IsSelected());
  const auto changes = window.Of("selectchanged");
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(window.Of("selectchanged", "device_option_2").at(0).wParam, 1u);
  EXPECT_EQ(window.Of("selectchanged", "device_option_1").at(0).wParam, 0u);
  EXPECT_EQ(window.Of("click", "device_option_2").size(), 1u);

  window.seen.clear();
  QTest::mouseClick(static_cast<QWidget*>(mouse->GetWidget()), Qt::LeftButton);
  EXPECT_TRUE(mouse->IsSelected()) << "a click on the selected option of a group keeps it selected";
  EXPECT_THAT(window.Types(), ElementsAre("click:device_option_2"));
}

TEST_F(NotificationTest, SelectedFromCodeNotifiesOnlyWhenAsked) {
  auto* keyboard = Find<COptionUI>("device_option_1");
  auto* pad = Find<COptionUI>("device_option_3");
  pad->Selected(true, false);
  EXPECT_TRUE(pad->IsSelected());
  EXPECT_FALSE(keyboard->IsSelected());
  EXPECT_TRUE(window.Types().empty());

  keyboard->Selected(true);
  EXPECT_FALSE(pad->IsSelected());
  EXPECT_EQ(window.Of("selectchanged", "device_option_1").size(), 1u);
  EXPECT_EQ(window.Of("selectchanged", "device_option_3").size(), 1u);

  window.seen.clear();
  keyboard->Selected(true);  // no change: nothing to report
  EXPECT_TRUE(window.Types().empty());
}

TEST_F(NotificationTest, CheckBoxRaisesClickCheckClickAndSelectChanged) {
  auto* sync = Find<CCheckBoxUI>("deng_same_mode");
  QTest::mouseClick(static_cast<QWidget*>(sync), Qt::LeftButton, {}, QPoint(8, sync->height() / 2));
  EXPECT_TRUE(sync->IsSelected());
  ASSERT_EQ(window.Of("checkclick", "deng_same_mode").size(), 1u);
  EXPECT_EQ(window.Of("checkclick", "deng_same_mode")[0].wParam, 1u);
  EXPECT_EQ(window.Of("selectchanged", "deng_same_mode").at(0).wParam, 1u);
  EXPECT_EQ(window.Of("click", "deng_same_mode").size(), 1u);
}

TEST_F(NotificationTest, ComboItemSelectFromUserAndFromCode) {
  auto* combo = Find<CComboUI>("deng_mode_combo");
  ASSERT_EQ(combo->GetCount(), 4);
  ASSERT_EQ(combo->GetCurSel(), 0);
  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Down);
  ASSERT_EQ(combo->GetCurSel(), 1);
  const auto selects = window.Of("itemselect", "deng_mode_combo");
  ASSERT_EQ(selects.size(), 1u);
  EXPECT_EQ(selects[0].wParam, 1u);
  EXPECT_EQ(selects[0].lParam, 0);

  window.seen.clear();
  EXPECT_TRUE(combo->SelectItem(3, false, false));
  EXPECT_EQ(combo->GetCurSel(), 3);
  EXPECT_TRUE(window.Of("itemselect").empty()) << "SelectItem without notification is silent";

  EXPECT_TRUE(combo->SelectItem(2));
  ASSERT_EQ(window.Of("itemselect").size(), 1u);
  EXPECT_EQ(window.Of("itemselect")[0].wParam, 2u);
  EXPECT_EQ(window.Of("itemselect")[0].lParam, 3);

  window.seen.clear();
  EXPECT_FALSE(combo->SelectItem(9));
  EXPECT_FALSE(combo->SelectItem(-1));
  EXPECT_EQ(combo->GetCurSel(), 2);
  EXPECT_TRUE(window.Of("itemselect").empty());
}

TEST_F(NotificationTest, SliderDragMovesThenSettlesAndKeysSettleAtOnce) {
  auto* slider = Find<CSliderUI>("deng_light_slider");
  slider->setSliderDown(true);
  slider->setSliderPosition(40);
  slider->setSliderPosition(45);
  const auto moves = window.Of("movevaluechanged", "deng_light_slider");
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[1].wParam, 45u);
  EXPECT_TRUE(window.Of("valuechanged").empty()) << "nothing settles while dragging";
  slider->setSliderDown(false);
  ASSERT_EQ(window.Of("valuechanged", "deng_light_slider").size(), 1u);
  EXPECT_EQ(window.Of("valuechanged", "deng_light_slider")[0].wParam, 45u);

  window.seen.clear();
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_Right);
  ASSERT_EQ(window.Of("valuechanged", "deng_light_slider").size(), 1u);
  EXPECT_EQ(window.Of("valuechanged", "deng_light_slider")[0].wParam, 46u);

  window.seen.clear();
  slider->SetValue(10);
  slider->SetMaxValue(50);
  slider->SetValue(500);
  EXPECT_EQ(slider->GetValue(), 50) << "values from code are clamped";
  EXPECT_TRUE(window.Types().empty()) << "values from code are silent";
}

TEST_F(NotificationTest, EditTextChangedReturnAndFocus) {
  auto* edit = Find<CEditUI>("DPI_edit_1");
  ASSERT_TRUE(edit->IsNumberOnly());
  Find<COptionUI>("tab_performance")->Selected(true);
  Find<CTabLayoutUI>("page_switch")->SelectItem(1);
  edit->SetText("");
  edit->setFocus();
  ASSERT_TRUE(WaitFor([&] { return edit->hasFocus(); }));
  EXPECT_EQ(window.Of("setfocus", "DPI_edit_1").size(), 1u);
  QTest::keyClicks(edit, "8a0-0");
  EXPECT_EQ(edit->GetText(), "800") << "a number-only edit refuses other characters";
  EXPECT_EQ(window.Of("textchanged", "DPI_edit_1").size(), 3u);
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(window.Of("return", "DPI_edit_1").size(), 1u);

  Find<CComboUI>("deng_mode_combo")->setFocus();
  ASSERT_TRUE(WaitFor([&] { return !window.Of("killfocus", "DPI_edit_1").empty(); }));

  window.seen.clear();
  edit->SetMaxChar(3);
  edit->SetText("12x3456");
  EXPECT_EQ(edit->GetText(), "123") << "text from code is filtered and limited too";
  EXPECT_TRUE(window.Of("textchanged").empty());
}

TEST_F(NotificationTest, ListSelectClickAndActivate) {
  auto* list = Find<CListUI>("profile_list");
  ASSERT_EQ(list->GetCount(), 3);
  ASSERT_EQ(list->GetCurSel(), 0);
  const QRect second = list->visualItemRect(list->item(1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
  ASSERT_EQ(window.Of("itemselect", "profile_list").size(), 1u);
  EXPECT_EQ(window.Of("itemselect", "profile_list")[0].wParam, 1u);
  EXPECT_EQ(window.Of("itemselect", "profile_list")[0].lParam, 0);
  ASSERT_EQ(window.Of("itemclick", "profile_list").size(), 1u);
  EXPECT_EQ(window.Of("itemclick", "profile_list")[0].wParam, 1u);

  window.seen.clear();
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
  ASSERT_FALSE(window.Of("itemactivate", "profile_list").empty());
  EXPECT_EQ(window.Of("itemactivate", "profile_list")[0].wParam, 1u);

  window.seen.clear();
  EXPECT_TRUE(list->SelectItem(2, false, false));
  EXPECT_TRUE(window.Of("itemselect").empty());
  EXPECT_TRUE(list->SelectItem(0));
  ASSERT_EQ(window.Of("itemselect").size(), 1u);
  EXPECT_EQ(window.Of("itemselect")[0].lParam, 2);
}

TEST_F(NotificationTest, HoverAndContextMenu) {
  auto* apply = Find<CButtonUI>("apply_btn");
  const QPointF inside(5, 5);
  QEnterEvent enter(inside, apply->mapTo(apply->window(), inside), apply->mapToGlobal(inside));
  QApplication::sendEvent(apply, &enter);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(apply, &leave);
  EXPECT_EQ(window.Of("msenter", "apply_btn").size(), 1u);
  EXPECT_EQ(window.Of("msleave", "apply_btn").size(), 1u);

  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(3, 4), QPoint(300, 400));
  QApplication::sendEvent(apply, &menu);
  ASSERT_EQ(window.Of("menu", "apply_btn").size(), 1u);
  EXPECT_EQ(window.Of("menu", "apply_btn")[0].wParam, 300u);
  EXPECT_EQ(window.Of("menu", "apply_btn")[0].lParam, 400);
}

TEST_F(NotificationTest, PaletteReportsPickedColourButNotColourFromCode) {
  auto* palette = Find<CColorPaletteUI>("deng_Color_Pallet");
  palette->SetSelectColor(0xFF123456);
  EXPECT_TRUE(window.Of("colorchanged").empty());
  EXPECT_EQ(palette->GetSelectColor(), 0xFF123456u);

  QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(palette->width() - 10, 10));
  const auto changes = window.Of("colorchanged", "deng_Color_Pallet");
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].wParam, palette->GetSelectColor());
  const DWORD c = palette->GetSelectColor();
  EXPECT_EQ(c >> 24, 0xFFu);
  const DWORD brightest = std::max({(c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF});
  const DWORD darkest = std::min({(c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF});
  EXPECT_GT(brightest, 0xE0u) << "top right of the field is a bright, saturated colour";
  EXPECT_LT(darkest, 0x30u);
}

TEST_F(NotificationTest, MessageMapRoutesByTypeNameAndPrefix) {
  std::vector<std::string> routed;
  window.GetPaintManager();
  CNotifyMap map;
  map.BindName("click", "APPLY_BTN", [&](TNotifyUI&) { routed.push_back("name"); });
  map.BindPrefix("selectchanged", "color_option_",
                 [&](TNotifyUI& m) { routed.push_back("prefix:" + m.pSender->GetName().toStdString()); });
  map.Bind("click", [&](TNotifyUI&) { routed.push_back("any click"); });

  TNotifyUI click{"click", window.FindControl("apply_btn"), 0, 0};
  EXPECT_TRUE(map.Dispatch(click));
  TNotifyUI other{"click", window.FindControl("device_reset_btn"), 0, 0};
  EXPECT_TRUE(map.Dispatch(other));
  TNotifyUI swatch{"selectchanged", window.FindControl("color_option_3"), 1, 0};
  EXPECT_TRUE(map.Dispatch(swatch));
  TNotifyUI unbound{"itemselect", window.FindControl("deng_mode_combo"), 0, 0};
  EXPECT_FALSE(map.Dispatch(unbound));
  TNotifyUI noSender{"selectchanged", nullptr, 0, 0};
  EXPECT_FALSE(map.Dispatch(noSender));
  EXPECT_THAT(routed, ElementsAre("name", "any click", "prefix:color_option_3"));
}

TEST_F(NotificationTest, FindControlCopesWithMissingNames) {
  EXPECT_EQ(window.FindControl("no_such_control"), nullptr);
  EXPECT_EQ(window.FindControl(""), nullptr);
  EXPECT_EQ(CPaintManagerUI::FindSubControlByName(nullptr, "stat_value"), nullptr);
  CControlUI* card = window.FindControl("stat_battery");
  ASSERT_NE(card, nullptr);
  EXPECT_NE(CPaintManagerUI::FindSubControlByName(card, "stat_value"), nullptr);
  EXPECT_EQ(CPaintManagerUI::FindSubControlByName(card, "apply_btn"), nullptr) << "only inside the container";
}

}  // namespace
}  // namespace norvane::ui::test
