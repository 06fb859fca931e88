#include "uilib/color_palette.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace norvane::ui {

namespace {
constexpr qreal kHueStripHeight = 14;
constexpr qreal kGap = 10;
constexpr qreal kInset = 8;  // room for the markers at the edges
}  // namespace

CColorPaletteUI::CColorPaletteUI(QWidget* parent) : ControlBase(parent) {
  setMinimumSize(120, 90);
  setCursor(Qt::CrossCursor);
}

DWORD CColorPaletteUI::GetSelectColor() const {
  const QColor c = QColor::fromHsvF(hue_, sat_, val_);
  return 0xFF000000u | (DWORD(c.red()) << 16) | (DWORD(c.green()) << 8) | DWORD(c.blue());
}

void CColorPaletteUI::SetSelectColor(DWORD argb) {
  const QColor c((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
  float h = 0, s = 0, v = 0;
  c.getHsvF(&h, &s, &v);
  if (h >= 0) hue_ = h;  // grey has no hue: keep the strip where it was
  sat_ = s;
  val_ = v;
  update();
}

QRectF CColorPaletteUI::FieldRect() const {
  return QRectF(kInset, kInset, width() - 2 * kInset,
                qMax(10.0, height() - kHueStripHeight - kGap - 2 * kInset));
}

QRectF CColorPaletteUI::HueRect() const {
  return QRectF(kInset, height() - kHueStripHeight - kInset / 2, width() - 2 * kInset, kHueStripHeight);
}

void CColorPaletteUI::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  // Disabled, as faded as a disabled swatch: a palette that takes no pick must not look like one that does.
  if (!isEnabled()) p.setOpacity(0.3);
  const QRectF field = FieldRect();
  QPainterPath clip;
  clip.addRoundedRect(field, 6, 6);
  p.save();
  p.setClipPath(clip);
  QLinearGradient sat(field.topLeft(), field.topRight());
  sat.setColorAt(0, Qt::white);
  sat.setColorAt(1, QColor::fromHsvF(hue_, 1, 1));
  p.fillRect(field, sat);
  QLinearGradient val(field.topLeft(), field.bottomLeft());
  val.setColorAt(0, QColor(0, 0, 0, 0));
  val.setColorAt(1, Qt::black);
  p.fillRect(field, val);
  p.restore();

  const QRectF hue = HueRect();
  QLinearGradient strip(hue.topLeft(), hue.topRight());
  for (int i = 0; i <= 6; ++i)
    strip.setColorAt(i / 6.0, QColor::fromHsvF(i / 6.0 >= 1.0 ? 0 : i / 6.0, 1, 1));
  p.setPen(Qt::NoPen);
  p.setBrush(strip);
  p.drawRoundedRect(hue, kHueStripHeight / 2, kHueStripHeight / 2);

  // Markers: a ring on the field, a knob on the strip.
  const QPointF mark(field.left() + sat_ * field.width(), field.top() + (1 - val_) * field.height());
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::black, 3));
  p.drawEllipse(mark, 6, 6);
  p.setPen(QPen(Qt::white, 1.6));
  p.drawEllipse(mark, 6, 6);
  const QPointF knob(hue.left() + hue_ * hue.width(), hue.center().y());
  p.setPen(QPen(Qt::white, 2));
  p.setBrush(QColor::fromHsvF(hue_, 1, 1));
  p.drawEllipse(knob, kHueStripHeight / 2 + 1, kHueStripHeight / 2 + 1);
}

void CColorPaletteUI::PickAt(QPointF pos) {
  if (drag_ == Drag::kField) {
    const QRectF f = FieldRect();
    sat_ = float(qBound(0.0, (pos.x() - f.left()) / f.width(), 1.0));
    val_ = float(qBound(0.0, 1.0 - (pos.y() - f.top()) / f.height(), 1.0));
  } else if (drag_ == Drag::kHue) {
    const QRectF h = HueRect();
    hue_ = float(qBound(0.0, (pos.x() - h.left()) / h.width(), 0.9999));
  } else {
    return;
  }
  update();
  SendNotify(DUI_MSGTYPE_COLORCHANGED, WPARAM(GetSelectColor()));
}

void CColorPaletteUI::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  drag_ = event->position().y() >= HueRect().top() - kGap / 2 ? Drag::kHue : Drag::kField;
  PickAt(event->position());
}

void CColorPaletteUI::mouseMoveEvent(QMouseEvent* event) {
  PickAt(event->position());
}

void CColorPaletteUI::mouseReleaseEvent(QMouseEvent*) {
  drag_ = Drag::kNone;
}

}  // namespace norvane::ui
