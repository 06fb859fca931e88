#include "uilib/window_host.h"

#include <QCloseEvent>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWindow>

#include "uilib/paint_manager.h"
#include "uilib/window_wnd.h"

namespace norvane::ui::detail {

WindowHost::WindowHost(CWindowWnd& owner, QWidget* parent)
    : QWidget(parent, parent ? Qt::Window | Qt::Dialog : Qt::Window), owner_(&owner) {}

bool WindowHost::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  const QEvent::Type type = event->type();
  if (owner_ && (type == QEvent::WindowActivate || type == QEvent::WindowDeactivate)) {
    owner_->HandleMessage(WM_ACTIVATE, type == QEvent::WindowActivate ? WA_ACTIVE : WA_INACTIVE, 0);
  }
  return handled;
}

void WindowHost::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (owner_) owner_->HandleMessage(WM_MOUSEHOVER, 0, 0);
}

void WindowHost::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (owner_) owner_->HandleMessage(WM_MOUSELEAVE, 0, 0);
}

void WindowHost::closeEvent(QCloseEvent* event) {
  // The window decides (a window may refuse to close); it hides the host itself when it ends.
  event->ignore();
  if (owner_) owner_->HandleHostClose();
}

void WindowHost::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (owner_) owner_->OnSize(width(), height());
}

void WindowHost::mousePressEvent(QMouseEvent* event) {
  const double scale = manager_ ? manager_->GetScale() : 1.0;
  if (event->button() == Qt::LeftButton && captionHeight_ > 0 &&
      event->position().y() < captionHeight_ * scale && windowHandle()) {
    windowHandle()->startSystemMove();
    event->accept();
    return;
  }
  QWidget::mousePressEvent(event);
}

}  // namespace norvane::ui::detail
