// The screen size in device pixels: logical size times the device pixel ratio, taken by the main window at
// start-up and again after every screen change.

#include "app/screen_size.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/main_messages.h"
#include "tests/app/main_window_fixture.h"

namespace norvane::app::test {
namespace {

TEST(ScreenSizeTest, LogicalSizeTimesThePixelRatioInWholePixels) {
  EXPECT_EQ(DevicePixelSize({1920, 1080}, 1.0), (ScreenPixelSize{1920, 1080}));
  EXPECT_EQ(DevicePixelSize({1280, 720}, 1.5), (ScreenPixelSize{1920, 1080}));
  EXPECT_EQ(DevicePixelSize({1280, 800}, 2.0), (ScreenPixelSize{2560, 1600}));
  // 1366 x 1.25 = 1707.5: rounded, not cut.
  EXPECT_EQ(DevicePixelSize({1366, 768}, 1.25), (ScreenPixelSize{1708, 960}));
}

TEST_F(MainWindowTest, TakesThePrimaryScreensPixelSizeAtStartUp) {
  Start();
  const QScreen* primary = QGuiApplication::primaryScreen();
  ASSERT_NE(primary, nullptr);
  const qreal ratio = primary->devicePixelRatio();
  const ScreenPixelSize size = window_->ScreenSize();
  EXPECT_GT(size.width, 0);
  EXPECT_EQ(size.width, qRound(primary->size().width() * ratio));
  EXPECT_EQ(size.height, qRound(primary->size().height() * ratio));
}

TEST_F(MainWindowTest, ScreenSizeIsTakenBeforeTheFirstShowingAndAfterEveryScreenChange) {
  ScreenPixelSize screen{2560, 1440};
  MainWndOptions options = Options();
  options.screenSize = [&screen] { return screen; };
  Start(std::move(options));
  EXPECT_FALSE(window_->IsWindowVisible());
  EXPECT_EQ(window_->ScreenSize(), (ScreenPixelSize{2560, 1440}));

  screen = {1920, 1080};
  EXPECT_EQ(window_->ScreenSize(), (ScreenPixelSize{2560, 1440})) << "kept, not asked for each time";
  window_->PostMessage(WM_DISPLAYCHANGE);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window_->ScreenSize() == ScreenPixelSize{1920, 1080}; }, 2000));

  // A screen that changes while the system sleeps is known after the wake-up.
  window_->SendMessage(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  screen = {3840, 2160};
  window_->SendMessage(WM_DISPLAYCHANGE);
  window_->SendMessage(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  EXPECT_EQ(window_->ScreenSize(), (ScreenPixelSize{3840, 2160}));
}

}  // namespace
}  // namespace norvane::app::test
