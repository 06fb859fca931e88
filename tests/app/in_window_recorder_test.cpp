// Recording inside the program's window, where no global capture is possible: keys typed into any widget
// are taken (and typed into none), mouse buttons once each however many widgets a press passes through,
// and keys are told by their meaning where the platform gives no key codes (as the offscreen one here).
#include "app/in_window_recorder.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

namespace norvane::app {
namespace {

using macro::CapturedInput;

class InWindowRecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window_);
    edit_ = new QLineEdit(&window_);
    button_ = new QPushButton("stop", &window_);
    layout->addWidget(edit_);
    layout->addWidget(button_);
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }
  void Start() {
    std::string why;
    ASSERT_TRUE(recorder_.Start([this](const CapturedInput& input) { taken_.push_back(input); }, {}, why)) << why;
  }
  std::vector<std::pair<int, bool>> Taken() const {
    std::vector<std::pair<int, bool>> taken;
    for (const CapturedInput& input : taken_) taken.emplace_back(input.code, input.pressed);
    return taken;
  }

  QWidget window_;
  QLineEdit* edit_ = nullptr;
  QPushButton* button_ = nullptr;
  CInWindowRecorder recorder_;
  std::vector<CapturedInput> taken_;
};

TEST_F(InWindowRecorderTest, KeysAreTakenByTheirMeaningAndTypedIntoNoWidget) {
  Start();
  QTest::keyClick(edit_, Qt::Key_A);
  QTest::keyClick(edit_, Qt::Key_Shift);
  QTest::keyClick(edit_, Qt::Key_F5);
  QTest::keyClick(edit_, Qt::Key_7);
  EXPECT_EQ(Taken(), (std::vector<std::pair<int, bool>>{{KEY_A, true},
                                                        {KEY_A, false},
                                                        {KEY_LEFTSHIFT, true},
                                                        {KEY_LEFTSHIFT, false},
                                                        {KEY_F5, true},
                                                        {KEY_F5, false},
                                                        {KEY_7, true},
                                                        {KEY_7, false}}));
  EXPECT_TRUE(edit_->text().isEmpty());
  EXPECT_FALSE(taken_[0].autoRepeat);

  recorder_.Stop();
  taken_.clear();
  QTest::keyClick(edit_, Qt::Key_B);
  EXPECT_TRUE(taken_.empty());
  EXPECT_EQ(edit_->text(), "b") << "typing works again";
}

TEST_F(InWindowRecorderTest, AButtonIsTakenOnceWithWhereThePointerWasAndStillWorks) {
  int clicks = 0;
  QObject::connect(button_, &QPushButton::clicked, [&] { ++clicks; });
  Start();
  QTest::mouseClick(button_, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
  QTest::mouseClick(button_, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
  ASSERT_EQ(Taken(), (std::vector<std::pair<int, bool>>{{BTN_LEFT, true}, {BTN_LEFT, false}, {BTN_RIGHT, true},
                                                        {BTN_RIGHT, false}}));
  EXPECT_TRUE(taken_[0].hasPosition);
  EXPECT_EQ(QPoint(taken_[0].x, taken_[0].y), button_->mapToGlobal(QPoint(3, 4)));
  EXPECT_EQ(clicks, 1) << "the buttons are not eaten: the stop button must work";
}

}  // namespace
}  // namespace norvane::app
