// The message window as callers see it: what ShowMessage returns for each way the user ends it, which
// buttons each mode shows, where its texts come from, and the DPI it runs at.

#include "app/message_window.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "tests/windows/windows_test_support.h"

namespace norvane::app::test {
namespace {

// What the message window showed, captured while it was open.
struct Shown {
  QString title;
  QString text;
  bool confirmVisible = false;
  bool cancelVisible = false;
  int dpi = 0;
};

Shown Capture(QWidget* window) {
  Shown s;
  s.title = qobject_cast<QLabel*>(FindChildNamed(window, "MessageTitle"))->text();
  s.text = qobject_cast<QLabel*>(FindChildNamed(window, "MessageText"))->text();
  s.confirmVisible = FindChildNamed(window, "confirm_btn")->isVisible();
  s.cancelVisible = FindChildNamed(window, "cancel_btn")->isVisible();
  s.dpi = ui::ControlOf(FindChildNamed(window, "root"))->GetManager()->GetDPI();
  return s;
}

// Shows a message, captures it, then ends it by clicking `button`.
int ShowAndClick(const QString& button, Shown* shown, const ui::CDuiString& title, const ui::CDuiString& text,
                 int dpi, bool textIsId, int buttons) {
  WhenShown("MsgWnd", [=](QWidget* window) {
    if (shown) *shown = Capture(window);
    Click(window, button);
  });
  return ShowMessage(nullptr, title, text, dpi, textIsId, buttons);
}

TEST(MessageWindowTest, ResultIsOneOnlyWhenTheUserConfirms) {
  EXPECT_EQ(ShowAndClick("confirm_btn", nullptr, {}, "message_text_29", 96, true, kMessageOkCancel), 1);
  EXPECT_EQ(ShowAndClick("cancel_btn", nullptr, {}, "message_text_29", 96, true, kMessageOkCancel), 0);
  EXPECT_EQ(ShowAndClick("closebtn", nullptr, {}, "message_text_29", 96, true, kMessageOkCancel), 0);
  EXPECT_EQ(ShowAndClick("closebtn", nullptr, {}, "message_text_7", 96, true, kMessageOk), 0)
      << "closing an OK-only message is not a confirmation";

  // The window manager's close (the frame's close request) counts as cancel too.
  WhenShown("MsgWnd", [](QWidget* window) { window->close(); });
  EXPECT_EQ(ShowMessage(nullptr, {}, "message_text_27", 96, true, kMessageOkCancel), 0);
  EXPECT_EQ(FindTopLevel("MsgWnd"), nullptr) << "the window is gone once ShowMessage returns";
}

TEST(MessageWindowTest, ButtonModeChoosesTheButtons) {
  Shown okOnly, okCancel, other;
  ShowAndClick("confirm_btn", &okOnly, {}, "message_text_7", 96, true, kMessageOk);
  ShowAndClick("confirm_btn", &okCancel, {}, "message_text_4", 96, true, kMessageOkCancel);
  ShowAndClick("confirm_btn", &other, {}, "message_text_4", 96, true, 5);
  EXPECT_TRUE(okOnly.confirmVisible);
  EXPECT_FALSE(okOnly.cancelVisible);
  EXPECT_TRUE(okCancel.confirmVisible);
  EXPECT_TRUE(okCancel.cancelVisible);
  EXPECT_TRUE(other.confirmVisible && other.cancelVisible) << "an unknown mode keeps the layout's buttons";
}

TEST(MessageWindowTest, TextsByIdFollowTheLanguageAndPlainTextsStayAsGiven) {
  Shown byId, plain, keepsLayout, unknownId;
  ShowAndClick("confirm_btn", &byId, {}, "message_text_27", 96, true, kMessageOk);
  EXPECT_EQ(byId.text, "Create a new profile?");
  EXPECT_EQ(byId.title, "Notice") << "an empty title keeps the layout's own";

  ShowAndClick("confirm_btn", &plain, "Firmware", "message_text_27", 96, false, kMessageOk);
  EXPECT_EQ(plain.title, "Firmware");
  EXPECT_EQ(plain.text, "message_text_27") << "without the id flag the text is shown as it is";

  // Names and numbers end up in messages: markup in them is shown as text, never interpreted.
  Qt::TextFormat format = Qt::AutoText;
  WhenShown("MsgWnd", [&](QWidget* window) {
    format = qobject_cast<QLabel*>(FindChildNamed(window, "MessageText"))->textFormat();
    Click(window, "confirm_btn");
  });
  ShowMessage(nullptr, "<img src=/etc/passwd>", "<b>macro</b>", 96, false, kMessageOk);
  EXPECT_EQ(format, Qt::PlainText);

  ShowAndClick("confirm_btn", &unknownId, {}, "no_such_text_id", 96, true, kMessageOk);
  EXPECT_EQ(unknownId.text, "no_such_text_id") << "an id the language lacks still says something";

  ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
  ShowAndClick("confirm_btn", &keepsLayout, {}, "message_text_27", 96, true, kMessageOk);
  ResetResources();
  EXPECT_EQ(keepsLayout.text, QString::fromUtf8("确定新建配置吗？"));
  EXPECT_EQ(keepsLayout.title, QString::fromUtf8("提示"));
}

TEST(MessageWindowTest, RunsAtTheCallersDpiOrAtNinetySixWhenThatIsNotASupportedStep) {
  Shown supported, unsupported, zero;
  ShowAndClick("confirm_btn", &supported, {}, "message_text_7", 144, true, kMessageOk);
  ShowAndClick("confirm_btn", &unsupported, {}, "message_text_7", 150, true, kMessageOk);
  ShowAndClick("confirm_btn", &zero, {}, "message_text_7", 0, true, kMessageOk);
  EXPECT_EQ(supported.dpi, 144);
  EXPECT_EQ(unsupported.dpi, 96);
  EXPECT_EQ(zero.dpi, 96);
}

// The message must not rescale the window that asked for it, whatever DPI it was given.
class OwnerWindow : public ui::WindowImplBase {
 public:
  ui::CDuiString GetWindowClassName() const override { return "OwnerWnd"; }
  ui::CDuiString GetSkinFile() const override { return "XML_MSG"; }
};

TEST(MessageWindowTest, LeavesTheOwnerWindowsScaleAlone) {
  OwnerWindow owner;
  ASSERT_TRUE(owner.Create(nullptr, "owner", true));
  owner.GetPaintManager().SetDPI(144);
  const QSize before = owner.GetWidget()->size();
  WhenShown("MsgWnd", [](QWidget* window) { Click(window, "confirm_btn"); });
  EXPECT_EQ(ShowMessage(&owner, {}, "message_text_7", 150, true, kMessageOk), 1);
  EXPECT_EQ(owner.GetPaintManager().GetDPI(), 144);
  EXPECT_EQ(owner.GetWidget()->size(), before);
  owner.Close(0);
}

}  // namespace
}  // namespace norvane::app::test
