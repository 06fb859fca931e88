// Menus from skin files report the chosen item to their owner; the tray reports clicks as messages.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QSystemTrayIcon>
#include <QTest>

#include "tests/uilib/ui_test_support.h"

namespace norvane::ui::test {
namespace {

using ::testing::HasSubstr;

class MenuOwner : public RecordingWindow {
 public:
  LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override {
    if (msg == WM_MENUCLICK) {
      const auto* cmd = reinterpret_cast<const MenuCmd*>(wParam);
      chosen.push_back(cmd->szName.toStdString() + "|" + cmd->szUserData.toStdString() + "|" +
                       cmd->szText.toStdString());
      handled = true;
      return 0;
    }
    return RecordingWindow::HandleCustomMessage(msg, wParam, lParam, handled);
  }
  std::vector<std::string> chosen;
};

TEST(MenuTest, ChosenItemReachesTheOwnerWithNameUserDataAndText) {
  ScopedSkinDir dir;
  dir.Write("m.xml",
            "<Menu><MenuElement name=\"about_menu\" text=\"About\" userdata=\"u1\"/><Separator/>"
            "<MenuElement name=\"more\" text=\"More\"><MenuElement name=\"exit\" "
            "text=\"Quit\"/></MenuElement></Menu>");
  MenuOwner owner;
  ASSERT_TRUE(owner.Create(nullptr, "owner", false));
  CMenuWnd menu;
  std::vector<std::string> callbacks;
  menu.SetOnItemChosen([&](const MenuCmd& cmd) { callbacks.push_back(cmd.szName.toStdString()); });
  ASSERT_TRUE(menu.Init(owner.GetHWND(), "m.xml", QPoint(100, 100)));
  EXPECT_TRUE(menu.ChooseItem("exit")) << "items of sub-menus are found too";
  EXPECT_TRUE(menu.ChooseItem("about_menu"));
  EXPECT_FALSE(menu.ChooseItem("nothing"));
  EXPECT_THAT(owner.chosen, ::testing::ElementsAre("exit||Quit", "about_menu|u1|About"));
  EXPECT_THAT(callbacks, ::testing::ElementsAre("exit", "about_menu"));
  menu.Close();
}

TEST(MenuTest, ShippedTrayMenuIsTextedFromTheLanguage) {
  CMenuWnd menu;
  ASSERT_TRUE(menu.Load("menu.xml"));
  QStringList texts;
  for (QAction* a : menu.GetMenu()->actions()) {
    if (!a->isSeparator()) texts << a->text();
  }
  EXPECT_EQ(texts, QStringList({"Settings", "About", "Exit"}));
}

TEST(MenuTest, MissingOrBrokenMenuSkinIsReported) {
  ScopedSkinDir dir;
  dir.Write("bad.xml", "<Menu><MenuElement name=\"a\"");
  dir.Write("notmenu.xml", "<Res/>");
  CMenuWnd menu;
  for (const char* name : {"bad.xml", "notmenu.xml", "absent.xml"}) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(menu.Load(name));
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty()) << name;
  }
  EXPECT_FALSE(menu.ChooseItem("a"));
}

TEST(MenuTest, AlignmentPutsTheNamedCornerAtThePoint) {
  const QSize size(120, 80);
  EXPECT_EQ(CMenuWnd::AlignedTopLeft({500, 400}, size, eMenuAlignment_Left | eMenuAlignment_Top),
            QPoint(500, 400));
  EXPECT_EQ(CMenuWnd::AlignedTopLeft({500, 400}, size, eMenuAlignment_Right | eMenuAlignment_Bottom),
            QPoint(380, 320));
  EXPECT_EQ(CMenuWnd::AlignedTopLeft({500, 400}, size, eMenuAlignment_Top | eMenuAlignment_Right),
            QPoint(380, 400));
  EXPECT_EQ(CMenuWnd::AlignedTopLeft({500, 400}, size, eMenuAlignment_Left | eMenuAlignment_Bottom),
            QPoint(500, 320));
}

TEST(TrayTest, ClicksArriveAsTrayMessages) {
  RecordingWindow owner;
  ASSERT_TRUE(owner.Create(nullptr, "owner", false));
  CTrayIcon tray;
  const bool shown = tray.CreateTrayIcon(owner.GetHWND(), QIcon(), "tip");
  EXPECT_EQ(shown, CTrayIcon::IsAvailable());
  tray.Activate(QSystemTrayIcon::Trigger);
  tray.Activate(QSystemTrayIcon::Context);
  tray.Activate(QSystemTrayIcon::MiddleClick);  // not a message of the program's
  ASSERT_TRUE(WaitFor([&] { return owner.messages.size() >= 2; }));
  QTest::qWait(10);
  ASSERT_EQ(owner.messages.size(), 2u);
  EXPECT_EQ(owner.messages[0].msg, UIMSG_TRAYICON);
  EXPECT_EQ(owner.messages[0].lParam, LPARAM(WM_LBUTTONUP));
  EXPECT_EQ(owner.messages[1].lParam, LPARAM(WM_RBUTTONUP));
  tray.DeleteTrayIcon();
  EXPECT_FALSE(tray.IsVisible());
}

TEST(TrayTest, WithoutATrayHidingMinimisesInstead) {
  RecordingWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "w", true));
  wnd.HideToTrayOrMinimize();
  if (CTrayIcon::IsAvailable()) {
    EXPECT_FALSE(wnd.IsWindowVisible());
  } else {
    EXPECT_TRUE(wnd.IsWindowVisible()) << "the window must stay reachable";
    EXPECT_TRUE(wnd.IsMinimized());
  }
}

}  // namespace
}  // namespace norvane::ui::test
