#include "uilib/window_host.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QWindow>

#include "uilib/paint_manager.h"
#include "uilib/window_wnd.h"

namespace norvane::ui::detail {

WindowHost::WindowHost(CWindowWnd& owner, QWidget* parent)
    : QWidget(parent, parent ? Qt::Window | Qt::Dialog : Qt::Window), owner_(&owner) {}

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
