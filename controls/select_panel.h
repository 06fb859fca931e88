#pragma once
// CSelectPanelUI (skin class "SelectPanel"): the layout that holds a device picture's key buttons. Dragging
// the mouse across it, starting on the panel or on one of its keys, selects every key button the dragged
// rectangle covers with a non-empty area and raises "click_select_end"; a plain click selects nothing and
// raises nothing, and a disabled panel does neither. Only direct "DeviceKeyButton" children take part; the
// last drag's selection stays until the next drag. No rectangle is drawn.

#include <QPoint>
#include <QRect>
#include <span>
#include <vector>

#include "uilib/container.h"

namespace norvane::controls {

// Which of `children` (in panel coordinates) a selection rectangle covers: 1 when they overlap with a
// non-empty area (a shared edge is not enough), else 0.
std::vector<int> SelectionStates(const QRect& selection, std::span<const QRect> children);

class CSelectPanelUI : public ui::CVerticalLayoutUI {
 public:
  static constexpr const char* kClassName = "SelectPanel";
  static constexpr const char* kSelectEnd = "click_select_end";

  explicit CSelectPanelUI(QWidget* parent = nullptr);

  // The normalised rectangle of the drag under way or of the last one.
  QRect SelectionRect() const { return selection_; }
  bool IsDragging() const { return dragging_; }

 protected:
  void childEvent(QChildEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Press(QPoint point);
  void Move(QPoint point);
  // True when a drag ended here (the release then belongs to the selection, not to a key's click).
  bool Release();

  QPoint start_;
  QPoint current_;
  QRect selection_;
  bool pressed_ = false;
  bool dragging_ = false;
};

}  // namespace norvane::controls
