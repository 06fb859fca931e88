// The main window through its real skin: first showing after the scan pass, the no-device notice, the
// title-bar close, the tray icon and its menu, the window scale on common monitors, and the timers across
// a system sleep.

#include <QApplication>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QWidget>
#include <chrono>

#include "app/about_wnd.h"
#include "app/main_messages.h"
#include "app/message_texts.h"
#include "tests/app/main_window_fixture.h"

namespace norvane::app::test {
namespace {

TEST_F(MainWindowTest, StaysHiddenUntilTheFirstScanPassThenShowsTheNoDeviceNotice) {
  Start();
  EXPECT_EQ(devices_->startupPages, 1);
  QTest::qWait(150);  // the start-up scale timer has run meanwhile
  EXPECT_FALSE(window_->IsWindowVisible());

  FinishFirstPassAndWaitShown();
  ui::CControlUI* notice = Find("No_device_Link");
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(notice->IsVisible());
  // The empty page area is out of sight behind the notice.
  EXPECT_TRUE(Find("device_switch")->GetWidget()->isHidden());
  EXPECT_TRUE(Find("device_power_switch")->GetWidget()->isHidden());
  ASSERT_FALSE(devices_->windowActive.empty());
  EXPECT_TRUE(devices_->windowActive.back());
}

// Started with the session: after the first scan pass the window goes to the tray, or is minimised where
// there is none; a later start of the program still brings it forward.
class StartMinimizedTest : public MainWindowTest {
 protected:
  void StartAndFinishFirstPass(bool tray) {
    MainWndOptions options = Options();
    options.startMinimized = true;
    options.trayAvailable = [tray] { return tray; };
    Start(std::move(options));
    devices_->FinishFirstPass();
    QTest::qWait(250);  // the first pass's message and the start-up scale timer
  }
  void ExpectASecondStartRaisesIt() {
    window_->PostMessage(RegisteredMessageId(RegisteredMessage::kInstanceMessage), 0, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window_->IsShowing(); }, 3000));
  }
};

TEST_F(StartMinimizedTest, WithATrayTheWindowStaysInIt) {
  StartAndFinishFirstPass(true);
  EXPECT_FALSE(window_->IsWindowVisible());
  ExpectASecondStartRaisesIt();
}

TEST_F(StartMinimizedTest, WithoutATrayTheWindowIsMinimised) {
  StartAndFinishFirstPass(false);
  EXPECT_TRUE(window_->IsMinimized());
  EXPECT_FALSE(window_->IsShowing());
  ExpectASecondStartRaisesIt();
}

TEST_F(MainWindowTest, AVisibleDeviceTabHidesTheNotice) {
  tabVisible_ = true;
  Start();
  FinishFirstPassAndWaitShown();
  EXPECT_FALSE(Find("No_device_Link")->IsVisible());
  EXPECT_FALSE(Find("device_switch")->GetWidget()->isHidden());
}

TEST_F(MainWindowTest, TitleBarCloseKeepsTheProgramRunning) {
  Start();
  FinishFirstPassAndWaitShown();
  Click("closebtn");
  EXPECT_FALSE(window_->IsShowing());
  EXPECT_TRUE(window_->IsCreated());
  EXPECT_EQ(devices_->scansStopped, 0);
  EXPECT_FALSE(QuitRequestedWithin(50));

  // A second start brings it back.
  window_->OnBusMessage({RegisteredMessage::kInstanceMessage, 0, 1, std::nullopt});
  EXPECT_TRUE(QTest::qWaitFor([&] { return window_->IsShowing(); }, 3000));
}

TEST_F(MainWindowTest, TrayClickTogglesTheWindow) {
  Start();
  FinishFirstPassAndWaitShown();
  window_->OnTrayNotify(ui::WM_LBUTTONUP);
  EXPECT_FALSE(window_->IsWindowVisible());
  EXPECT_FALSE(devices_->windowActive.back());
  window_->OnTrayNotify(ui::WM_LBUTTONUP);
  EXPECT_TRUE(window_->IsShowing());
  EXPECT_TRUE(devices_->windowActive.back());
}

TEST_F(MainWindowTest, TrayMenuRoutesItsItems) {
  Start();
  FinishFirstPassAndWaitShown();
  window_->OnTrayNotify(ui::WM_RBUTTONUP);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->TrayMenu() != nullptr; }, 2000));
  ui::CMenuWnd* menu = window_->TrayMenu();

  ASSERT_TRUE(menu->ChooseItem("setwnd_menu"));
  EXPECT_TRUE(log_.settingsOpened.empty()) << "the command waits until the menu's signal has returned";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !log_.settingsOpened.empty(); }, 2000));
  EXPECT_EQ(log_.settingsOpened, std::vector<bool>{true});
  // Only "exit" itself ends the program; other names go to the macro-action menu's handler.
  window_->OnMenuCommand(ui::MenuCmd{"EXIT", {}, {}, false});
  window_->OnMenuCommand(ui::MenuCmd{"macro_record", {}, {}, false});
  EXPECT_EQ(log_.macroItems, (std::vector<std::string>{"EXIT", "macro_record"}));
  EXPECT_TRUE(window_->IsShowing());
  EXPECT_FALSE(QuitRequestedWithin(50));

  ASSERT_TRUE(menu->ChooseItem("exit"));
  EXPECT_TRUE(QuitRequestedWithin(1000));
  EXPECT_FALSE(window_->IsWindowVisible());
  EXPECT_EQ(devices_->scansStopped, 1);
}

TEST_F(MainWindowTest, TrayMenuReplacedWhileItsAboutWindowIsOpenLeavesNothingDangling) {
  Start();
  FinishFirstPassAndWaitShown();
  window_->Tray().Activate(QSystemTrayIcon::Context);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->TrayMenu() != nullptr; }, 2000));
  ui::CMenuWnd* first = window_->TrayMenu();

  // While the about window runs: a second right-click on the tray, which replaces the first menu, then the
  // about window's own close button.
  bool aboutOpened = false;
  bool menuReplaced = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    const ui::WindowHandle about = CAboutWnd::Current();
    if (!about || aboutOpened) return;
    aboutOpened = true;
    window_->Tray().Activate(QSystemTrayIcon::Context);
    menuReplaced = QTest::qWaitFor([&] { return window_->TrayMenu() != first; }, 2000);
    auto* aboutWindow = dynamic_cast<CAboutWnd*>(about.GetWindow());
    ASSERT_NE(aboutWindow, nullptr);
    ui::CControlUI* close = aboutWindow->FindControl("closebtn");
    ASSERT_NE(close, nullptr);
    QTest::mouseClick(close->GetWidget(), Qt::LeftButton);
  });
  poll.start(20);

  ASSERT_TRUE(first->ChooseItem("about_menu"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return aboutOpened && !CAboutWnd::Current(); }, 5000));
  poll.stop();
  EXPECT_TRUE(menuReplaced);
  ASSERT_NE(window_->TrayMenu(), nullptr);
  EXPECT_NE(window_->TrayMenu(), first);
  EXPECT_TRUE(window_->IsShowing());
  EXPECT_FALSE(QuitRequestedWithin(50));

  // The new menu works as the first one did.
  ASSERT_TRUE(window_->TrayMenu()->ChooseItem("setwnd_menu"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return log_.settingsOpened.size() == 1; }, 2000));
}

TEST_F(MainWindowTest, SystemCloseOfTheAboutWindowClosesOnlyIt) {
  Start();
  FinishFirstPassAndWaitShown();
  bool aboutWasOpen = false;
  QTimer::singleShot(300, [&] {
    const ui::WindowHandle about = CAboutWnd::Current();
    aboutWasOpen = about.IsWindow();
    if (about) about.SendMessage(ui::WM_SYSCOMMAND, ui::SC_CLOSE, 0);
  });
  window_->OnMenuCommand(ui::MenuCmd{"about_menu", {}, {}, false});
  EXPECT_TRUE(aboutWasOpen);
  EXPECT_FALSE(CAboutWnd::Current().IsWindow());
  EXPECT_FALSE(QuitRequestedWithin(100));
  EXPECT_TRUE(window_->IsShowing());
}

// Once the message window is up: its text into `shown`, and the window closed.
void ReadAndCloseMessageSoon(QString& shown) {
  QTimer::singleShot(200, [&shown] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* label = top->findChild<QLabel*>("MessageText");
      if (!label || label->window() != top || !top->isVisible()) continue;
      shown = label->text();
      top->close();
    }
  });
}

TEST_F(MainWindowTest, DeviceMessagesAreShownInTheCurrentLanguageOneAtATime) {
  Start();
  FinishFirstPassAndWaitShown();
  const QString plain = ResolveLanguageText(Find("str_test"), "message_text_7");
  ASSERT_NE(plain, "message_text_7");

  QString shown;
  ReadAndCloseMessageSoon(shown);
  devices_->hooks.showMessage("message_text_7", std::nullopt);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 3000));
  EXPECT_EQ(shown, plain);

  // A format gets its number, and nothing of it is read as a format of its own.
  shown.clear();
  ReadAndCloseMessageSoon(shown);
  devices_->hooks.showMessage("message_text_16", 3);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 3000));
  EXPECT_TRUE(shown.contains('3'));
  EXPECT_FALSE(shown.contains("%d"));

  // In the tray, nothing pops up.
  window_->ShowWindow(false);
  devices_->hooks.showMessage("message_text_7", std::nullopt);
  QTest::qWait(100);
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->findChild<QLabel*>("MessageText")) {
      EXPECT_FALSE(top->isVisible());
    }
  }
}

TEST_F(MainWindowTest, WindowScaleFollowsTheMonitor) {
  Start();
  FinishFirstPassAndWaitShown();
  QWidget* host = window_->GetWidget();

  window_->ApplyWindowScale(QRect(0, 0, 1920, 1080));
  EXPECT_EQ(window_->GetDPI(), 144);
  EXPECT_EQ(host->size(), QSize(1500, 960));
  EXPECT_TRUE(window_->IsShowing());

  window_->ApplyWindowScale(QRect(0, 0, 1366, 768));
  EXPECT_EQ(window_->GetDPI(), 96);
  EXPECT_EQ(host->size(), QSize(1000, 640));

  // A hidden window is scaled without being shown.
  window_->ShowWindow(false);
  window_->ApplyWindowScale(QRect(0, 0, 2560, 1440));
  EXPECT_EQ(host->size(), QSize(1500, 960));
  EXPECT_FALSE(window_->IsWindowVisible());
}

TEST_F(MainWindowTest, ATimerThatFiresDuringSleepRunsAfterWakeUp) {
  Start();
  FinishFirstPassAndWaitShown();
  window_->StartTimer(kTimerProfileSwitch, 20);
  window_->SendMessage(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  EXPECT_FALSE(window_->IsAwake());
  QTest::qWait(150);
  EXPECT_EQ(log_.profileSwitches, 0);

  window_->SendMessage(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return log_.profileSwitches == 1; }, 2000));
  QTest::qWait(100);
  EXPECT_EQ(log_.profileSwitches, 1);
  EXPECT_EQ(devices_->suspended, (std::vector<bool>{true, false}));
  // Lighting is given up for the sleep and taken back after it.
  EXPECT_EQ(log_.lightControl, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace norvane::app::test
