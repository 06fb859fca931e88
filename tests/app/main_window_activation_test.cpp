// The main window follows its activation and the pointer: its active and hover flags, and what the pages
// are told (through the device side and through the fan-out hook).

#include <QEnterEvent>
#include <QWidget>

#include "tests/app/main_window_fixture.h"

namespace norvane::app::test {
namespace {

void PointerEnters(QWidget* window) {
  const QPointF inside(20, 20);
  QEnterEvent enter(inside, inside, window->mapToGlobal(inside));
  QCoreApplication::sendEvent(window, &enter);
}

void PointerLeaves(QWidget* window) {
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(window, &leave);
}

class MainWindowActivationTest : public MainWindowTest {
 protected:
  void StartShownAndActive() {
    Start();
    FinishFirstPassAndWaitShown();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window_->IsWindowActive(); }, 3000))
        << "brought to the front, the window is active";
  }

  // Another program's window takes the activation.
  void ActivateOther() {
    other_.resize(120, 80);
    other_.show();
    other_.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->IsWindowActive(); }, 3000));
  }

  void ActivateMain() {
    window_->GetWidget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window_->IsWindowActive(); }, 3000));
  }

  // Both ways the pages hear of it said `active` last.
  void ExpectPagesTold(bool active) {
    ASSERT_FALSE(devices_->windowActive.empty());
    ASSERT_FALSE(log_.windowActive.empty());
    EXPECT_EQ(devices_->windowActive.back(), active);
    EXPECT_EQ(log_.windowActive.back(), active);
  }

  QWidget other_;
};

TEST_F(MainWindowActivationTest, ActivationAndDeactivationSetTheFlagsAndTellThePages) {
  StartShownAndActive();
  EXPECT_TRUE(window_->IsHovered());
  ExpectPagesTold(true);

  ActivateOther();
  EXPECT_FALSE(window_->IsHovered()) << "an inactive window waits for the pointer";
  ExpectPagesTold(false);

  ActivateMain();
  EXPECT_TRUE(window_->IsHovered());
  ExpectPagesTold(true);

  // Hiding the window to the tray deactivates it as well.
  window_->OnTrayNotify(ui::WM_LBUTTONUP);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->IsWindowActive(); }, 3000));
  ExpectPagesTold(false);
}

TEST_F(MainWindowActivationTest, OverTheInactiveWindowThePointerAloneWakesThePages) {
  StartShownAndActive();
  ActivateOther();
  QWidget* host = window_->GetWidget();

  PointerEnters(host);
  EXPECT_TRUE(window_->IsHovered());
  EXPECT_FALSE(window_->IsWindowActive());
  ExpectPagesTold(true);

  PointerLeaves(host);
  EXPECT_FALSE(window_->IsHovered());
  ExpectPagesTold(false);

  // While the window is active the pointer changes nothing.
  ActivateMain();
  const std::size_t toldDevices = devices_->windowActive.size();
  const std::size_t toldHook = log_.windowActive.size();
  PointerLeaves(host);
  PointerEnters(host);
  PointerLeaves(host);
  EXPECT_TRUE(window_->IsHovered());
  EXPECT_EQ(devices_->windowActive.size(), toldDevices);
  EXPECT_EQ(log_.windowActive.size(), toldHook);
}

}  // namespace
}  // namespace norvane::app::test
