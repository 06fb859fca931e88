#include "uilib/window_impl_base.h"

#include <QTimer>
#include <QVBoxLayout>

#include "uilib/container.h"
#include "uilib/window_host.h"

namespace norvane::ui {

WindowImplBase::WindowImplBase() : m_pm(*this) {}

WindowImplBase::~WindowImplBase() {
  m_pm.SetNotifyReceiver(nullptr);
}

void WindowImplBase::OnCreate() {
  QWidget* host = GetWidget();
  m_pm.AttachHost(host);
  m_pm.SetNotifyReceiver(this);
  CControlUI* root = CDialogBuilder::Create(GetSkinFile(), this, host);
  if (!root) {
    // The window still opens (empty) so that the program keeps running; the builder said what went wrong.
    skinFailed_ = true;
    auto* empty = new CContainerUI(host);
    empty->SetName("root");
    if (!host->layout()) {
      auto* layout = new QVBoxLayout(host);
      layout->setContentsMargins(0, 0, 0, 0);
    }
    host->layout()->addWidget(empty);
    host->resize(640, 400);
    root = empty;
  }
  m_pm.SetRoot(root);
  QWidget* rootWidget = root->GetWidget();
  if (rootWidget->property("frameless").toBool()) host->setWindowFlag(Qt::FramelessWindowHint, true);
  if (auto* h = dynamic_cast<detail::WindowHost*>(host))
    h->SetCaptionHeight(rootWidget->property("captionheight").toInt());
  if (host->windowTitle().isEmpty()) host->setWindowTitle(rootWidget->windowTitle());

  InitWindow();

  // "windowinit" arrives once the event loop has laid the window out for the first time.
  QTimer::singleShot(0, host, [this] {
    if (windowInitSent_) return;
    windowInitSent_ = true;
    TNotifyUI msg{DUI_MSGTYPE_WINDOWINIT, m_pm.GetRoot(), 0, 0};
    Notify(msg);
  });
}

void WindowImplBase::OnSize(int width, int height) {
  if (!m_pm.GetRoot() || !windowInitSent_) return;
  TNotifyUI msg{DUI_MSGTYPE_WINDOWSIZE, m_pm.GetRoot(), WPARAM(width), LPARAM(height)};
  m_pm.SendNotify(msg);
}

void WindowImplBase::Notify(TNotifyUI& msg) {
  if (m_messageMap.Dispatch(msg)) return;
  if (msg.sType == DUI_MSGTYPE_CLICK) OnClick(msg);
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
  if (!msg.pSender) return;
  const CDuiString name = msg.pSender->GetName();
  if (name.CompareNoCase("closebtn") == 0) {
    Close(0);
  } else if (name.CompareNoCase("minbtn") == 0) {
    HandleMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (name.CompareNoCase("maxbtn") == 0) {
    HandleMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  } else if (name.CompareNoCase("restorebtn") == 0) {
    HandleMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  }
}

void WindowImplBase::SyncMaxRestoreButtons() {
  QWidget* host = GetWidget();
  if (!host) return;
  const bool maximized = host->isMaximized();
  if (CControlUI* maxButton = FindControl("maxbtn")) maxButton->SetVisible(!maximized);
  if (CControlUI* restoreButton = FindControl("restorebtn")) restoreButton->SetVisible(maximized);
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  bool handled = false;
  const LRESULT result = HandleCustomMessage(msg, wParam, lParam, handled);
  if (handled) return result;
  return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

}  // namespace norvane::ui
