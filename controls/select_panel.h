#pragma once
// CSelectPanelUI (skin class "SelectPanel"): the layout that holds a device picture's key buttons. Dragging
// the mouse across it, starting on the panel or on one of its keys, selects every key button the dragged
// rectangle covers with a non-empty area and raises "click_select_end"; a plain click selects nothing and
// raises nothing, and a disabled panel does neither. Only direct "DeviceKeyButton" children take part; the
// last drag's selection stays until the next drag. No rectangle is drawn.
//
// The panel draws its direct key buttons itself, all in one pass from each key's cached pictures (see
// CDeviceKeyButtonUI), so that a lighting frame that changes every key costs one paint, not one per key.
// What would repaint a key repaints its place in the panel; the places asked for until the event loop runs
// again are repainted together. What lies under the picture (the window's and every enclosing widget's own
// painting) is kept as a picture too, once drawn, so that a frame repaints the panel alone and nothing of the
// window behind it; it is drawn again when the panel moves or resizes, the window resizes or a style
// changes.

#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <span>
#include <vector>

#include "uilib/container.h"

class QPainter;

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

  // Repaints `area` (panel coordinates) once the current event is done, together with every other area
  // asked for meanwhile.
  void RepaintArea(const QRect& area);
  // Whether the panel paints from its kept background (and so paints opaquely).
  bool HasKeptBackground() const { return !background_.isNull(); }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
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
  // Children that are no keys (drawings of the device's body, say) lie under the keys: the panel paints
  // them, into its kept background once it has one, and they do not paint themselves.
  bool IsUnderlay(const QObject* child) const;
  void PaintUnderlays(QPainter& painter, const QRect& dirty);
  void KeepBackground();
  void DropBackground();

  QPoint start_;
  QPoint current_;
  QRect selection_;
  bool pressed_ = false;
  bool dragging_ = false;
  QRect pendingRepaint_;
  bool repaintPosted_ = false;
  QPixmap background_;
  bool backgroundPosted_ = false;
  bool drawingBackground_ = false;
  bool drawingUnderlay_ = false;
  QPointer<QWidget> watchedWindow_;
};

}  // namespace norvane::controls
