// The key picture's drag selection: which key buttons a drag selects, in either direction, that a shared
// edge is not enough, that the next drag replaces the last, and that a click or a disabled panel selects
// nothing and says nothing.
#include <gtest/gtest.h>

#include <QTest>
#include <array>

#include "controls/device_key_button.h"
#include "controls/select_panel.h"
#include "tests/controls/strip_test_window.h"

namespace norvane::controls::test {
namespace {

TEST(SelectionStates, NeedANonEmptyOverlap) {
  const std::array<QRect, 4> keys = {QRect(0, 0, 10, 10), QRect(10, 0, 10, 10), QRect(30, 30, 5, 5),
                                     QRect(5, 5, 1, 1)};
  // A rectangle that ends where the second key starts only touches it.
  EXPECT_EQ(SelectionStates(QRect(2, 2, 8, 8), keys), (std::vector<int>{1, 0, 0, 1}));
  EXPECT_EQ(SelectionStates(QRect(9, 0, 2, 1), keys), (std::vector<int>{1, 1, 0, 0}));
  EXPECT_EQ(SelectionStates(QRect(0, 0, 0, 40), keys), (std::vector<int>{0, 0, 0, 0})) << "no area at all";
}

class NotifyLog final : public ui::WindowImplBase {
 public:
  ui::CDuiString GetWindowClassName() const override { return "SelectPanelTest"; }
  ui::CDuiString GetSkinFile() const override { return NORVANE_SOURCE_DIR "/tests/controls/strip_window.ui"; }
  void Notify(ui::TNotifyUI& msg) override {
    if (msg.sType == CSelectPanelUI::kSelectEnd) ++selectionEnds;
    if (msg.sType == ui::DUI_MSGTYPE_CLICK) ++clicks;
    WindowImplBase::Notify(msg);
  }
  int selectionEnds = 0;
  int clicks = 0;
};

class SelectPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Create(nullptr, "select-panel", false, 0, 0, 400, 300));
    panel_ = new CSelectPanelUI(window_.GetPaintManager().GetRoot()->GetWidget());
    panel_->GetWidget()->setGeometry(0, 0, 300, 200);
    // Three keys in a row, 40 px wide with 10 px gaps, and a caption that is no key.
    for (int i = 0; i < 3; ++i) {
      keys_[i] = new CDeviceKeyButtonUI(panel_->GetWidget());
      keys_[i]->SetName(QString("key_%1").arg(i));
      keys_[i]->GetWidget()->setGeometry(10 + 50 * i, 10, 40, 40);
    }
    panel_->GetWidget()->show();
    window_.ShowWindow(true);
  }

  void Drag(QPoint from, QPoint to) {
    QWidget* w = panel_->GetWidget();
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    QTest::mouseMove(w, (from + to) / 2);
    QTest::mouseMove(w, to);
    QTest::mouseRelease(w, Qt::LeftButton, {}, to);
  }
  std::array<int, 3> States() const {
    return {keys_[0]->GetSelectionState(), keys_[1]->GetSelectionState(), keys_[2]->GetSelectionState()};
  }

  NotifyLog window_;
  CSelectPanelUI* panel_ = nullptr;
  std::array<CDeviceKeyButtonUI*, 3> keys_{};
};

TEST_F(SelectPanelTest, ADragSelectsTheKeysItCoversInEitherDirection) {
  Drag({5, 5}, {70, 60});
  EXPECT_EQ(States(), (std::array<int, 3>{1, 1, 0}));
  EXPECT_EQ(window_.selectionEnds, 1);
  Drag({70, 60}, {5, 5});
  EXPECT_EQ(States(), (std::array<int, 3>{1, 1, 0})) << "the same rectangle dragged the other way";
  EXPECT_EQ(window_.selectionEnds, 2);
}

TEST_F(SelectPanelTest, ASecondDragReplacesTheFirstAndAnEdgeIsNotEnough) {
  Drag({5, 5}, {70, 60});
  // From the gap after the second key to the right: the second key's right edge is at x = 100.
  Drag({100, 5}, {250, 60});
  EXPECT_EQ(States(), (std::array<int, 3>{0, 0, 1}));
}

TEST_F(SelectPanelTest, ADragStartingOnAKeySelectsAndIsNoClick) {
  QWidget* key = keys_[0]->GetWidget();
  QTest::mousePress(key, Qt::LeftButton, {}, {5, 5});
  QTest::mouseMove(key, {60, 20});
  QTest::mouseMove(key, {20, 20});
  QTest::mouseRelease(key, Qt::LeftButton, {}, {20, 20});
  EXPECT_EQ(States(), (std::array<int, 3>{1, 0, 0}));
  EXPECT_EQ(window_.selectionEnds, 1);
  EXPECT_EQ(window_.clicks, 0);
}

TEST_F(SelectPanelTest, AClickOrADisabledPanelSelectsNothing) {
  Drag({5, 5}, {70, 60});
  QTest::mouseClick(panel_->GetWidget(), Qt::LeftButton, {}, {200, 150});
  EXPECT_EQ(States(), (std::array<int, 3>{1, 1, 0})) << "a click without movement keeps the last selection";
  EXPECT_EQ(window_.selectionEnds, 1);
  panel_->GetWidget()->setEnabled(false);
  Drag({100, 5}, {250, 60});
  EXPECT_EQ(States(), (std::array<int, 3>{1, 1, 0}));
  EXPECT_EQ(window_.selectionEnds, 1);
}

}  // namespace
}  // namespace norvane::controls::test
