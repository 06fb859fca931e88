// The about window: its version line in the current language, its title-bar buttons, one window at a time,
// and a system-menu close that ends only the about window.

#include "app/about_wnd.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QLabel>
#include <QTimer>

#include "tests/windows/windows_test_support.h"

namespace norvane::app::test {
namespace {

QString VersionText(QWidget* window) {
  return qobject_cast<QLabel*>(FindChildNamed(window, "software_ver_label"))->text();
}

class AboutWndTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetResources(); }
};

TEST_F(AboutWndTest, ShowsTheSoftwareVersionAndFollowsALanguageSwitch) {
  QString english, chinese;
  WhenShown("AboutWnd", [&](QWidget* window) {
    english = VersionText(window);
    ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
    ui::CResourceManager::GetInstance().ReloadText();
    CAboutWnd::Current().SendMessage(kLanguageChangedMessage, 0, 0);
    chinese = VersionText(window);
    Click(window, "closebtn");
  });
  EXPECT_EQ(CAboutWnd::Open(nullptr, 96), 0);
  EXPECT_EQ(english, "Software version: P2000");
  EXPECT_EQ(chinese, QString::fromUtf8("软件版本：P2000"));
}

TEST_F(AboutWndTest, SystemMenuCloseEndsTheAboutWindowButNotTheProgram) {
  // An outer loop stands for the program's message loop: a posted quit would end it early with 0.
  QEventLoop program;
  int aboutCode = -2;
  QTimer::singleShot(0, [&] {
    WhenShown("AboutWnd",
              [](QWidget*) { CAboutWnd::Current().SendMessage(ui::WM_SYSCOMMAND, ui::SC_CLOSE, 0); });
    aboutCode = CAboutWnd::Open(nullptr, 96);
    QTimer::singleShot(300, [&] { program.exit(42); });
  });
  EXPECT_EQ(program.exec(), 42) << "the program's loop kept running";
  EXPECT_EQ(aboutCode, 0);
  EXPECT_FALSE(CAboutWnd::Current()) << "no about window is left open";
}

TEST_F(AboutWndTest, OneAtATimeAndClosableByTheMainWindow) {
  int second = 0;
  bool currentWhileOpen = false;
  WhenShown("AboutWnd", [&](QWidget*) {
    currentWhileOpen = bool(CAboutWnd::Current());
    second = CAboutWnd::Open(nullptr, 96);           // raises the open one
    CAboutWnd::Current().PostMessage(ui::WM_CLOSE);  // what the main window's close-all sends
  });
  EXPECT_EQ(CAboutWnd::Open(nullptr, 96), 0);
  EXPECT_TRUE(currentWhileOpen);
  EXPECT_EQ(second, -1);
  EXPECT_FALSE(CAboutWnd::Current());
}

TEST_F(AboutWndTest, MaximiseAndRestoreSwapTheirButtons) {
  bool maxShownAtStart = false, restoreShownAtStart = true;
  bool maximized = false, maxShownWhenMax = true, restoreShownWhenMax = false;
  bool restored = false, maxShownAfter = false;
  WhenShown("AboutWnd", [&](QWidget* window) {
    maxShownAtStart = FindChildNamed(window, "maxbtn")->isVisible();
    restoreShownAtStart = FindChildNamed(window, "restorebtn")->isVisible();
    Click(window, "maxbtn");
    maximized = WaitFor([window] { return window->isMaximized(); });
    maxShownWhenMax = FindChildNamed(window, "maxbtn")->isVisible();
    restoreShownWhenMax = FindChildNamed(window, "restorebtn")->isVisible();
    Click(window, "restorebtn");
    restored = WaitFor([window] { return !window->isMaximized(); });
    maxShownAfter = FindChildNamed(window, "maxbtn")->isVisible();
    Click(window, "closebtn");
  });
  EXPECT_EQ(CAboutWnd::Open(nullptr, 96), 0);
  EXPECT_TRUE(maxShownAtStart);
  EXPECT_FALSE(restoreShownAtStart);
  ASSERT_TRUE(maximized);
  EXPECT_FALSE(maxShownWhenMax);
  EXPECT_TRUE(restoreShownWhenMax);
  EXPECT_TRUE(restored);
  EXPECT_TRUE(maxShownAfter);
}

}  // namespace
}  // namespace norvane::app::test
