// Windows: modal runs return their close code, messages from workers run on the UI thread, a synchronous
// send gives up when its worker is stopped, activation and the pointer arrive as messages, scaling follows
// the supported DPI steps.

#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QTest>
#include <QTimer>
#include <thread>

#include "tests/uilib/ui_test_support.h"

namespace norvane::ui::test {
namespace {

// The message window as the program uses it: confirm closes with 1, cancel and close with 0.
class MessageWindow : public RecordingWindow {
 public:
  MessageWindow() : RecordingWindow("XML_MSG") {}
  void OnClick(TNotifyUI& msg) override {
    const CDuiString name = msg.pSender->GetName();
    if (name == "confirm_btn")
      Close(1);
    else if (name == "cancel_btn")
      Close(0);
    else
      RecordingWindow::OnClick(msg);
  }
  void OnFinalMessage() override { ++finalMessages; }
  int finalMessages = 0;
};

int RunModalAndClick(MessageWindow& wnd, const char* button) {
  QTimer::singleShot(0, [&wnd, button] {
    (void)QTest::qWaitForWindowExposed(wnd.GetWidget());
    QTest::mouseClick(wnd.FindControlAs<CButtonUI>(button), Qt::LeftButton);
  });
  return wnd.ShowModal();
}

TEST(WindowTest, ShowModalReturnsTheCodeGivenToClose) {
  MessageWindow confirm;
  ASSERT_TRUE(confirm.Create(nullptr, "msgwnd", false));
  EXPECT_EQ(RunModalAndClick(confirm, "confirm_btn"), 1);
  EXPECT_EQ(confirm.finalMessages, 1);
  EXPECT_FALSE(confirm.IsWindowVisible());

  MessageWindow cancel;
  ASSERT_TRUE(cancel.Create(nullptr, "msgwnd", false));
  EXPECT_EQ(RunModalAndClick(cancel, "cancel_btn"), 0);

  MessageWindow closed;
  ASSERT_TRUE(closed.Create(nullptr, "msgwnd", false));
  EXPECT_EQ(RunModalAndClick(closed, "closebtn"), 0) << "the library's close button ends with 0";

  MessageWindow notCreated;
  EXPECT_EQ(notCreated.ShowModal(), -1);
}

TEST(WindowTest, DestroyingAWindowDuringItsModalRunEndsTheRun) {
  auto wnd = std::make_unique<MessageWindow>();
  ASSERT_TRUE(wnd->Create(nullptr, "msgwnd", false));
  QTimer::singleShot(10, [&] { wnd.reset(); });
  EXPECT_EQ(wnd->ShowModal(), 0);
  EXPECT_EQ(wnd, nullptr);
}

TEST(WindowTest, AWindowShownAgainAfterCloseCanBeClosedAgain) {
  MessageWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "msgwnd", true));
  wnd.Close(0);
  EXPECT_FALSE(wnd.IsWindowVisible());
  wnd.ShowWindow();
  EXPECT_TRUE(wnd.IsWindowVisible());
  wnd.Close(0);
  EXPECT_FALSE(wnd.IsWindowVisible());
  EXPECT_EQ(wnd.finalMessages, 2);
}

TEST(WindowTest, PostedAndSentMessagesFromAWorkerRunOnTheUiThread) {
  RecordingWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  const WindowHandle handle = wnd.GetHWND();
  std::optional<LRESULT> sent;
  bool posted = false;
  std::atomic<bool> done = false;
  std::thread worker([&] {
    posted = handle.PostMessage(WM_USER + 3, 5, 6);
    sent = handle.SendMessage(WM_USER + 7, 40, 2);
    done = true;
  });
  while (!done) QCoreApplication::processEvents();  // the worker waits for the UI thread to turn
  worker.join();
  ASSERT_TRUE(posted);
  ASSERT_TRUE(sent.has_value());
  EXPECT_EQ(*sent, 42);
  ASSERT_EQ(wnd.messages.size(), 2u);
  EXPECT_EQ(wnd.messages[0].msg, WM_USER + 3u);
  for (QThread* t : wnd.messageThreads) EXPECT_EQ(t, QCoreApplication::instance()->thread());
}

TEST(WindowTest, SendFromAWorkerGivesUpWhenTheWorkerIsStopped) {
  RecordingWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  const WindowHandle handle = wnd.GetHWND();
  std::optional<LRESULT> result = 1;
  // The UI thread does not turn its event loop while it stops the worker, as at shutdown.
  std::jthread worker([&](std::stop_token stop) { result = handle.SendMessage(WM_USER + 7, 1, 1, stop); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  worker.request_stop();
  worker.join();
  EXPECT_FALSE(result.has_value());
}

// The wParam of every message `msg` the window saw, in order.
std::vector<WPARAM> ParamsOf(const RecordingWindow& wnd, UINT msg) {
  std::vector<WPARAM> out;
  for (const RecordingWindow::Message& m : wnd.messages) {
    if (m.msg == msg) out.push_back(m.wParam);
  }
  return out;
}

std::optional<WPARAM> LastActivation(const RecordingWindow& wnd) {
  const std::vector<WPARAM> seen = ParamsOf(wnd, WM_ACTIVATE);
  return seen.empty() ? std::nullopt : std::optional<WPARAM>(seen.back());
}

TEST(WindowTest, ActivationMovesBetweenWindowsAsActivateMessages) {
  RecordingWindow first;
  ASSERT_TRUE(first.Create(nullptr, "first", true));
  first.ShowWindow(true);
  ASSERT_TRUE(WaitFor([&] { return LastActivation(first) == WA_ACTIVE; }));

  RecordingWindow second;
  ASSERT_TRUE(second.Create(nullptr, "second", true));
  second.ShowWindow(true);
  ASSERT_TRUE(WaitFor([&] { return LastActivation(second) == WA_ACTIVE; }));
  EXPECT_EQ(LastActivation(first), WA_INACTIVE);

  first.ShowWindow(true);
  ASSERT_TRUE(WaitFor([&] { return LastActivation(first) == WA_ACTIVE; }));
  EXPECT_EQ(LastActivation(second), WA_INACTIVE);
  // Each change arrives once: active, inactive, active again.
  EXPECT_EQ(ParamsOf(first, WM_ACTIVATE), (std::vector<WPARAM>{WA_ACTIVE, WA_INACTIVE, WA_ACTIVE}));

  // A window that is not shown is never activated.
  RecordingWindow hidden;
  ASSERT_TRUE(hidden.Create(nullptr, "hidden", false));
  QTest::qWait(20);
  EXPECT_TRUE(ParamsOf(hidden, WM_ACTIVATE).empty());
}

TEST(WindowTest, ThePointerComingAndGoingArrivesAsHoverAndLeave) {
  RecordingWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "w", true));
  QWidget* host = wnd.GetWidget();
  const QPointF inside(10, 10);
  QEnterEvent enter(inside, inside, host->mapToGlobal(inside));
  QCoreApplication::sendEvent(host, &enter);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(host, &leave);

  std::vector<UINT> pointer;
  for (const RecordingWindow::Message& m : wnd.messages) {
    if (m.msg == WM_MOUSEHOVER || m.msg == WM_MOUSELEAVE) pointer.push_back(m.msg);
  }
  EXPECT_EQ(pointer, (std::vector<UINT>{WM_MOUSEHOVER, WM_MOUSELEAVE}));
}

TEST(WindowTest, MessagesToAGoneWindowFailInsteadOfHanging) {
  auto wnd = std::make_unique<RecordingWindow>();
  ASSERT_TRUE(wnd->Create(nullptr, "w", false));
  const WindowHandle handle = wnd->GetHWND();
  EXPECT_TRUE(handle.IsWindow());

  // A send queued before the window goes is released when the window's queue is dropped.
  std::optional<LRESULT> pending = 1;
  std::atomic<bool> started = false;
  std::thread worker([&] {
    started = true;
    pending = handle.SendMessage(WM_USER + 7, 1, 1);
  });
  while (!started) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  wnd.reset();
  worker.join();
  EXPECT_FALSE(pending.has_value());

  EXPECT_FALSE(handle.IsWindow());
  EXPECT_FALSE(handle.PostMessage(WM_USER, 0, 0));
  std::optional<LRESULT> late = 1;
  std::thread([&] { late = handle.SendMessage(WM_USER, 0, 0); }).join();
  EXPECT_FALSE(late.has_value());
  EXPECT_FALSE(WindowHandle().PostMessage(WM_USER, 0, 0));
}

TEST(WindowTest, DpiScalesFixedSizesAndFallsBackTo96) {
  RecordingWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  CControlUI* sidebar = wnd.FindControl("sidebar");
  ASSERT_NE(sidebar, nullptr);
  ASSERT_EQ(sidebar->GetWidget()->minimumWidth(), 210);

  QWidget* plain = wnd.FindControl("status_label")->GetWidget();  // no font of its own in the skin
  const qreal plainSize = plain->font().pointSizeF();
  wnd.GetPaintManager().SetDPI(144);
  EXPECT_EQ(wnd.GetPaintManager().GetDPI(), 144);
  EXPECT_NEAR(plain->font().pointSizeF(), plainSize * 1.5, 0.01);
  EXPECT_EQ(sidebar->GetWidget()->minimumWidth(), 315);
  EXPECT_EQ(sidebar->GetFixedWidth(), 210) << "fixed sizes are stated unscaled";

  CPaintManagerUI::SetAllDPI(150);
  EXPECT_EQ(wnd.GetPaintManager().GetDPI(), 96) << "unsupported values fall back to 96";
  EXPECT_EQ(sidebar->GetWidget()->minimumWidth(), 210);
  EXPECT_NEAR(plain->font().pointSizeF(), plainSize, 0.01) << "back at 96 the skin's size returns";

  sidebar->SetFixedWidth(200);
  wnd.GetPaintManager().SetDPI(192);
  EXPECT_EQ(sidebar->GetWidget()->maximumWidth(), 400);
}

TEST(WindowTest, ControlOperationsChangeWhatTheWidgetShows) {
  RecordingWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  CControlUI* label = wnd.FindControl("status_label");
  ASSERT_NE(label, nullptr);
  label->SetText("plain text");
  EXPECT_EQ(label->GetText(), "plain text");
  EXPECT_TRUE(label->GetTextId().isEmpty());
  label->SetUserData("42");
  EXPECT_EQ(label->GetUserData(), "42");
  label->SetVisible(false);
  EXPECT_FALSE(label->IsVisible());
  label->SetEnabled(false);
  EXPECT_FALSE(label->IsEnabled());
  label->SetBkColor(0xFF102030);
  EXPECT_EQ(label->GetBkColor(), 0xFF102030u);
  EXPECT_TRUE(label->GetWidget()->styleSheet().contains("rgba(16,32,48"));
  label->SetBkImage("base/check.svg");
  EXPECT_TRUE(label->GetWidget()->styleSheet().contains("base/check.svg"));
  label->SetFixedHeight(30);
  EXPECT_EQ(label->GetFixedHeight(), 30);

  auto* progress = wnd.FindControlAs<CProgressUI>("battery_progress");
  ASSERT_NE(progress, nullptr);
  progress->SetMaxValue(10);
  progress->SetValue(50);
  EXPECT_EQ(progress->GetValue(), 10);

  auto* tabs = wnd.FindControlAs<CTabLayoutUI>("page_switch");
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->GetCount(), 2);
  EXPECT_TRUE(tabs->SelectItem(1));
  EXPECT_EQ(tabs->GetItemAt(1)->GetName(), "performance_page");
  EXPECT_FALSE(tabs->SelectItem(5));
  EXPECT_EQ(tabs->GetCurSel(), 1);
}

TEST(WindowTest, AControlFoundByNameIsHandedOutAgainOnlyWhileItIsStillThereUnderThatName) {
  RecordingWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  CControlUI* label = wnd.FindControl("status_label");
  ASSERT_NE(label, nullptr);
  ASSERT_EQ(wnd.FindControl("status_label"), label);

  label->SetName("renamed_label");
  EXPECT_EQ(wnd.FindControl("status_label"), nullptr)
      << "a renamed control no longer answers to its old name";
  EXPECT_EQ(wnd.FindControl("renamed_label"), label);

  QWidget* window = label->GetWidget()->parentWidget();
  label->GetWidget()->setParent(nullptr);
  EXPECT_EQ(wnd.FindControl("renamed_label"), nullptr) << "a control taken out of the window is not in it";
  label->GetWidget()->setParent(window);
  EXPECT_EQ(wnd.FindControl("renamed_label"), label);

  delete label->GetWidget();
  EXPECT_EQ(wnd.FindControl("renamed_label"), nullptr) << "a deleted control is never handed out";
  auto* successor = new CLabelUI();
  successor->SetName("renamed_label");
  successor->GetWidget()->setParent(window);
  EXPECT_EQ(wnd.FindControl("renamed_label"), successor);
}

TEST(WindowTest, APageLookupFindsTheFirstControlDepthFirst) {
  RecordingWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  auto* page = new CContainerUI();
  page->GetWidget()->setParent(wnd.FindControl("sidebar")->GetWidget());
  auto* group = new CContainerUI();
  group->GetWidget()->setParent(page->GetWidget());
  auto* nested = new CLabelUI();
  nested->SetName("twice");
  nested->GetWidget()->setParent(group->GetWidget());
  auto* later = new CLabelUI();
  later->SetName("twice");
  later->GetWidget()->setParent(page->GetWidget());

  EXPECT_EQ(CPaintManagerUI::FindSubControlByName(page, "twice"), nested)
      << "the earlier sibling's subtree comes before a later sibling";
  EXPECT_EQ(CPaintManagerUI::FindSubControlByName(group, "twice"), nested);
  EXPECT_EQ(CPaintManagerUI::FindSubControlByName(nested, "twice"), nullptr)
      << "the parent itself is excluded";
  EXPECT_EQ(CPaintManagerUI::FindSubControlByName(page, "absent"), nullptr);
}

}  // namespace
}  // namespace norvane::ui::test
