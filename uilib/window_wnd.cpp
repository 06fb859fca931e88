#include "uilib/window_wnd.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "uilib/tray_icon.h"
#include "uilib/window_host.h"
#include "uilib/window_link.h"

namespace norvane::ui {

CWindowWnd::CWindowWnd() : link_(std::make_shared<detail::WindowLink>()) {
  std::lock_guard lock(link_->mutex);
  link_->target = this;
}

CWindowWnd::~CWindowWnd() {
  {
    std::lock_guard lock(link_->mutex);
    link_->target = nullptr;
    link_->context = nullptr;
  }
  if (modalLoop_) modalLoop_->exit(closeCode_);
  if (host_) {
    host_->Detach();
    delete host_.data();
  }
}

bool CWindowWnd::Create(CWindowWnd* parent, const CDuiString& windowName, bool visible, int x, int y,
                        int width, int height) {
  if (host_) return false;
  host_ = new detail::WindowHost(*this, parent ? parent->GetWidget() : nullptr);
  host_->setObjectName(GetWindowClassName());
  host_->setWindowTitle(windowName);
  {
    std::lock_guard lock(link_->mutex);
    link_->context = host_;
  }
  OnCreate();
  if (!host_) return false;  // OnCreate may have ended the window
  if (width > 0 && height > 0) host_->resize(width, height);
  if (x != 0 || y != 0) host_->move(x, y);
  if (visible) host_->show();
  return true;
}

int CWindowWnd::ShowModal() {
  if (!host_ || modalLoop_) return -1;
  closing_ = false;
  host_->setWindowModality(Qt::ApplicationModal);
  host_->show();
  host_->raise();
  host_->activateWindow();
  QEventLoop loop;
  modalLoop_ = &loop;
  // The window object may be destroyed while its modal run is in progress; the link tells.
  const std::shared_ptr<detail::WindowLink> link = link_;
  const int code = loop.exec(QEventLoop::DialogExec);
  {
    std::lock_guard lock(link->mutex);
    if (link->target != this) return code;
  }
  modalLoop_ = nullptr;
  OnFinalMessage();  // may delete this: nothing after it touches members
  return code;
}

void CWindowWnd::Close(int code) {
  if (closing_) return;
  closing_ = true;
  closeCode_ = code;
  for (auto& [id, timer] : timers_) {
    if (timer) timer->stop();
  }
  HandleMessage(WM_DESTROY, 0, 0);
  if (host_) host_->hide();
  if (modalLoop_) {
    modalLoop_->exit(code);  // ShowModal calls OnFinalMessage once the loop has returned
    return;
  }
  OnFinalMessage();
}

void CWindowWnd::HandleHostClose() {
  HandleMessage(WM_CLOSE, 0, 0);
}

void CWindowWnd::CenterWindow() {
  if (!host_) return;
  QRect area;
  if (QWidget* parent = host_->parentWidget(); parent && parent->isVisible()) {
    area = parent->window()->frameGeometry();
  } else if (QScreen* screen = host_->screen() ? host_->screen() : QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  if (area.isEmpty()) return;
  QRect frame = host_->frameGeometry();
  frame.moveCenter(area.center());
  host_->move(frame.topLeft());
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
  if (!host_) return;
  if (!show) {
    host_->hide();
    return;
  }
  closing_ = false;  // a window shown again can be closed again
  if (takeFocus) {
    host_->show();
    host_->raise();
    host_->activateWindow();
  } else {
    host_->setAttribute(Qt::WA_ShowWithoutActivating, true);
    host_->show();
    host_->setAttribute(Qt::WA_ShowWithoutActivating, false);
  }
}

QWidget* CWindowWnd::GetWidget() const {
  return host_.data();
}

bool CWindowWnd::IsWindowVisible() const {
  return host_ && host_->isVisible();
}
bool CWindowWnd::IsMinimized() const {
  return host_ && host_->isMinimized();
}

void CWindowWnd::ResizeClient(int width, int height) {
  if (host_) host_->resize(width, height);
}

void CWindowWnd::HideToTrayOrMinimize() {
  if (!host_) return;
  if (CTrayIcon::IsAvailable())
    host_->hide();
  else
    host_->showMinimized();
}

void CWindowWnd::SetIcon(const QIcon& icon) {
  if (host_) host_->setWindowIcon(icon);
}

void CWindowWnd::SetWindowTitle(const CDuiString& title) {
  if (host_) host_->setWindowTitle(title);
}

WindowHandle CWindowWnd::GetHWND() const {
  return WindowHandle(link_);
}

bool CWindowWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return GetHWND().PostMessage(msg, wParam, lParam);
}

LRESULT CWindowWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandleMessage(msg, wParam, lParam);
}

void CWindowWnd::SetTimer(int timerId, int elapseMs) {
  QPointer<QTimer>& slot = timers_[timerId];
  if (!slot) {
    if (!host_) return;
    slot = new QTimer(host_);
    slot->setSingleShot(true);
    QObject::connect(slot, &QTimer::timeout, host_,
                     [this, timerId] { HandleMessage(WM_TIMER, WPARAM(timerId), 0); });
  }
  slot->start(elapseMs < 0 ? 0 : elapseMs);
}

void CWindowWnd::KillTimer(int timerId) {
  auto it = timers_.find(timerId);
  if (it != timers_.end() && it->second) it->second->stop();
}

LRESULT CWindowWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_CLOSE) {
    Close(0);
    return 0;
  }
  if (msg == WM_SYSCOMMAND && host_) {
    switch (wParam) {
      case SC_MINIMIZE:
        host_->showMinimized();
        break;
      case SC_MAXIMIZE:
        host_->showMaximized();
        break;
      case SC_RESTORE:
        host_->showNormal();
        host_->raise();
        break;
      case SC_CLOSE:
        HandleMessage(WM_CLOSE, 0, 0);
        break;
      default:
        break;
    }
  }
  return 0;
}

void PostQuitMessage(int code) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [code] { QCoreApplication::exit(code); }, Qt::QueuedConnection);
}

}  // namespace norvane::ui
