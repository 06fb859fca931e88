#include "controls/select_panel.h"

#include <QAbstractButton>
#include <QChildEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <cmath>
#include <utility>

#include "controls/device_key_button.h"
#include "uilib/notify.h"

namespace norvane::controls {

std::vector<int> SelectionStates(const QRect& selection, std::span<const QRect> children) {
  std::vector<int> states;
  states.reserve(children.size());
  for (const QRect& child : children) {
    // QRect's own intersection counts pixels inclusively, so a shared edge would count as overlap.
    const int width = std::min(selection.x() + selection.width(), child.x() + child.width()) -
                      std::max(selection.x(), child.x());
    const int height = std::min(selection.y() + selection.height(), child.y() + child.height()) -
                       std::max(selection.y(), child.y());
    states.push_back(width > 0 && height > 0 ? 1 : 0);
  }
  return states;
}

CSelectPanelUI::CSelectPanelUI(QWidget* parent) : CVerticalLayoutUI(parent) {}

void CSelectPanelUI::childEvent(QChildEvent* event) {
  CVerticalLayoutUI::childEvent(event);
  // A drag may start on a key: the panel hears its children's mouse events too.
  if (event->added() && event->child()->isWidgetType()) event->child()->installEventFilter(this);
  if (event->removed()) {
    event->child()->removeEventFilter(this);
    // A key moved elsewhere paints itself again (a key being destroyed is no key any more).
    if (auto* key = dynamic_cast<CDeviceKeyButtonUI*>(event->child())) key->SetDrawnBy(nullptr);
  }
}

void CSelectPanelUI::RepaintArea(const QRect& area) {
  pendingRepaint_ |= area;
  if (repaintPosted_) return;
  repaintPosted_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        repaintPosted_ = false;
        update(std::exchange(pendingRepaint_, QRect()));
      },
      Qt::QueuedConnection);
}

bool CSelectPanelUI::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::ParentChange:
      DropBackground();
      break;
    default:
      break;
  }
  return CVerticalLayoutUI::event(event);
}

void CSelectPanelUI::KeepBackground() {
  backgroundPosted_ = false;
  if (!isVisible() || size().isEmpty()) return;  // the next paint asks again
  const qreal dpr = devicePixelRatioF();
  QPixmap background(QSize(int(std::ceil(width() * dpr)), int(std::ceil(height() * dpr))));
  background.setDevicePixelRatio(dpr);
  background.fill(Qt::transparent);
  // Each enclosing widget's own painting where the panel lies, from the window down to the panel's own.
  std::vector<QWidget*> chain;
  for (QWidget* widget = this; widget != nullptr; widget = widget->isWindow() ? nullptr : widget->parentWidget())
    chain.push_back(widget);
  drawingBackground_ = true;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    QWidget* widget = *it;
    const QRegion under(QRect(mapTo(widget, QPoint(0, 0)), size()));
    widget->render(&background, QPoint(0, 0), under,
                   widget->isWindow() ? QWidget::DrawWindowBackground : QWidget::RenderFlags());
  }
  drawingBackground_ = false;
  {
    QPainter painter(&background);
    PaintUnderlays(painter, rect());
  }
  background_ = background;
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  update();  // the underlays no longer paint themselves
  if (window() != watchedWindow_) {
    if (watchedWindow_) watchedWindow_->removeEventFilter(this);
    watchedWindow_ = window();
    watchedWindow_->installEventFilter(this);
  }
}

void CSelectPanelUI::DropBackground() {
  if (background_.isNull()) return;
  background_ = QPixmap();
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  update();
}

bool CSelectPanelUI::IsUnderlay(const QObject* child) const {
  const auto* widget = qobject_cast<const QWidget*>(child);
  return widget && widget->parentWidget() == this && !widget->isWindow() &&
         dynamic_cast<const CDeviceKeyButtonUI*>(child) == nullptr;
}

void CSelectPanelUI::PaintUnderlays(QPainter& painter, const QRect& dirty) {
  for (QObject* child : children()) {
    if (!IsUnderlay(child)) continue;
    auto* widget = static_cast<QWidget*>(child);
    if (widget->isHidden() || !widget->geometry().intersects(dirty)) continue;
    // Painted here, under the keys; its own painting (background included) is held back meanwhile.
    drawingUnderlay_ = true;
    widget->setAttribute(Qt::WA_NoSystemBackground, false);
    widget->render(&painter, widget->pos(), QRegion(), QWidget::DrawChildren);
    widget->setAttribute(Qt::WA_NoSystemBackground, true);
    drawingUnderlay_ = false;
  }
}

void CSelectPanelUI::paintEvent(QPaintEvent* event) {
  // Drawing the background: the panel's own look goes into it, the keys do not.
  if (drawingBackground_) {
    CVerticalLayoutUI::paintEvent(event);
    return;
  }
  if (background_.isNull()) {
    CVerticalLayoutUI::paintEvent(event);
    if (!backgroundPosted_) {
      backgroundPosted_ = true;
      QMetaObject::invokeMethod(this, [this] { KeepBackground(); }, Qt::QueuedConnection);
    }
  }
  QPainter painter(this);
  const QRect dirty = event->rect();
  if (background_.isNull()) {
    PaintUnderlays(painter, dirty);
  } else {
    painter.drawPixmap(QPoint(0, 0), background_);
  }
  for (QObject* child : children()) {
    auto* key = dynamic_cast<CDeviceKeyButtonUI*>(child);
    if (!key || key->isHidden()) continue;
    key->SetDrawnBy(this);
    const QRect place = key->geometry();
    if (place.intersects(dirty)) key->PaintKey(painter, place.topLeft());
  }
}

bool CSelectPanelUI::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watchedWindow_) {
    if (event->type() == QEvent::Resize) DropBackground();
    return false;
  }
  auto* child = qobject_cast<QWidget*>(watched);
  if (!child || child->parentWidget() != this) return false;
  if (IsUnderlay(child)) {
    switch (event->type()) {
      case QEvent::Paint:
        return !drawingUnderlay_;  // the panel paints it, under the keys
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::Hide:
      case QEvent::StyleChange:
      case QEvent::PaletteChange:
        DropBackground();
        break;
      default:
        break;
    }
  }
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) Press(child->mapTo(this, mouse->position().toPoint()));
      return false;
    }
    case QEvent::MouseMove:
      Move(child->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint()));
      return false;
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton || !Release()) return false;
      // The drag's end is no click on the key it started on.
      if (auto* button = qobject_cast<QAbstractButton*>(child)) {
        button->setDown(false);
        if (auto* key = dynamic_cast<CDeviceKeyButtonUI*>(child)) key->Invalidate();
      }
      return true;
    default:
      return false;
  }
}

void CSelectPanelUI::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Press(event->position().toPoint());
  CVerticalLayoutUI::mousePressEvent(event);
}

void CSelectPanelUI::mouseMoveEvent(QMouseEvent* event) {
  Move(event->position().toPoint());
  CVerticalLayoutUI::mouseMoveEvent(event);
}

void CSelectPanelUI::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Release();
  CVerticalLayoutUI::mouseReleaseEvent(event);
}

void CSelectPanelUI::Press(QPoint point) {
  if (!isEnabled()) return;
  pressed_ = true;
  dragging_ = false;
  start_ = current_ = point;
}

void CSelectPanelUI::Move(QPoint point) {
  if (!pressed_ || !isEnabled()) return;
  if (point == start_ && !dragging_) return;
  dragging_ = true;
  current_ = point;
  // Normalised from the two corners, so a drag either way spans the same area; the far corner is the edge
  // the rectangle reaches, not a pixel it covers.
  const int left = std::min(start_.x(), current_.x());
  const int top = std::min(start_.y(), current_.y());
  selection_ = QRect(left, top, std::max(start_.x(), current_.x()) - left, std::max(start_.y(), current_.y()) - top);
}

bool CSelectPanelUI::Release() {
  // Whether the mouse moved is read before the drag's state is cleared.
  const bool dragged = pressed_ && dragging_;
  pressed_ = false;
  dragging_ = false;
  start_ = current_;
  if (!dragged || !isEnabled()) return false;

  std::vector<CDeviceKeyButtonUI*> keys;
  std::vector<QRect> rects;
  for (QObject* object : children()) {
    auto* key = dynamic_cast<CDeviceKeyButtonUI*>(object);
    if (!key || key->GetWidget()->parentWidget() != this) continue;
    keys.push_back(key);
    rects.push_back(key->GetWidget()->geometry());
  }
  const std::vector<int> states = SelectionStates(selection_, rects);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    // Only a key that joins or leaves the selection has its frame drawn anew.
    if (keys[i]->GetSelectionState() == states[i]) continue;
    keys[i]->SetSelectionState(states[i]);
    keys[i]->Invalidate();
  }
  SendNotify(kSelectEnd);
  return true;
}

}  // namespace norvane::controls
