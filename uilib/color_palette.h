#pragma once
// CColorPaletteUI: a free colour choice. A saturation/value field for the current hue and a hue strip below
// it. Picking with the mouse raises "colorchanged" (wParam: the colour, 0xFFRRGGBB); SetSelectColor does not.

#include <QColor>
#include <QWidget>

#include "uilib/control.h"

namespace norvane::ui {

class CColorPaletteUI : public ControlBase<QWidget> {
 public:
  explicit CColorPaletteUI(QWidget* parent = nullptr);

  DWORD GetSelectColor() const;
  void SetSelectColor(DWORD argb);

  QSize sizeHint() const override { return {260, 200}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  enum class Drag { kNone, kField, kHue };
  QRectF FieldRect() const;
  QRectF HueRect() const;
  void PickAt(QPointF pos);

  float hue_ = 0.f;  // 0..1
  float sat_ = 1.f;
  float val_ = 1.f;
  Drag drag_ = Drag::kNone;
};

}  // namespace norvane::ui
