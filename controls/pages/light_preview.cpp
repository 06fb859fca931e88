#include "controls/pages/light_preview.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace norvane::controls {

namespace {

constexpr double kMaxDotDiameter = 22.0;
constexpr int kGlowAlpha = 90;
// An unlit LED is still drawn, dimly, so the picture shows where the lights are.
const QColor kUnlit(60, 64, 72);

}  // namespace

QColor LedColour(const lighting::LedRecord& led) {
  const auto scale = [&](std::uint8_t c) { return int(c) * int(led.level) / 255; };
  return QColor(scale(led.red), scale(led.green), scale(led.blue));
}

CLightPreviewUI::CLightPreviewUI(QWidget* parent) : ControlBase(parent) {
  setMinimumSize(40, 24);
}

void CLightPreviewUI::SetAttribute(const ui::CDuiString& name, const ui::CDuiString& value) {
  if (name != "ledshape") return;
  if (value.compare("ring", Qt::CaseInsensitive) == 0) {
    shape_ = Shape::kRing;
  } else if (value.compare("frame", Qt::CaseInsensitive) == 0) {
    shape_ = Shape::kFrame;
  } else {
    shape_ = Shape::kRow;
  }
}

bool CLightPreviewUI::SetLeds(std::span<const lighting::LedRecord> leds) {
  std::vector<QColor> colours;
  colours.reserve(leds.size());
  for (const lighting::LedRecord& led : leds) colours.push_back(LedColour(led));
  if (colours == colours_) return false;
  colours_ = std::move(colours);
  update();
  return true;
}

void CLightPreviewUI::paintEvent(QPaintEvent* /*event*/) {
  const int count = int(colours_.size());
  if (count == 0) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);

  std::vector<QPointF> centres;
  double diameter = 0;
  if (shape_ == Shape::kFrame) {
    // Evenly along the rectangle's edge, starting at its top left corner, clockwise.
    const QRectF edge =
        area.adjusted(kMaxDotDiameter / 2, kMaxDotDiameter / 2, -kMaxDotDiameter / 2, -kMaxDotDiameter / 2);
    const double perimeter = 2 * (edge.width() + edge.height());
    diameter = std::min(kMaxDotDiameter * 0.6, perimeter / count * 0.6);
    for (int i = 0; i < count; ++i) {
      double d = perimeter * i / count;
      QPointF p;
      if (d < edge.width()) {
        p = {edge.left() + d, edge.top()};
      } else if ((d -= edge.width()) < edge.height()) {
        p = {edge.right(), edge.top() + d};
      } else if ((d -= edge.height()) < edge.width()) {
        p = {edge.right() - d, edge.bottom()};
      } else {
        p = {edge.left(), edge.bottom() - (d - edge.width())};
      }
      centres.push_back(p);
    }
  } else if (shape_ == Shape::kRing) {
    const double radius = std::min(area.width(), area.height()) / 2.0 - kMaxDotDiameter / 2.0;
    diameter = std::min(kMaxDotDiameter, 2 * std::numbers::pi * std::max(radius, 1.0) / count * 0.7);
    for (int i = 0; i < count; ++i) {
      const double angle = -std::numbers::pi / 2 + 2 * std::numbers::pi * i / count;
      centres.emplace_back(area.center().x() + radius * std::cos(angle),
                           area.center().y() + radius * std::sin(angle));
    }
  } else {
    const double step = area.width() / count;
    diameter = std::min({kMaxDotDiameter, step * 0.7, area.height()});
    for (int i = 0; i < count; ++i) centres.emplace_back(area.left() + step * (i + 0.5), area.center().y());
  }

  painter.setPen(Qt::NoPen);
  for (int i = 0; i < count; ++i) {
    const QColor colour = colours_[std::size_t(i)] == QColor(0, 0, 0) ? kUnlit : colours_[std::size_t(i)];
    QColor glow = colour;
    glow.setAlpha(kGlowAlpha);
    QRadialGradient halo(centres[std::size_t(i)], diameter);
    halo.setColorAt(0, glow);
    halo.setColorAt(1, Qt::transparent);
    painter.setBrush(halo);
    painter.drawEllipse(centres[std::size_t(i)], diameter, diameter);
    painter.setBrush(colour);
    painter.drawEllipse(centres[std::size_t(i)], diameter / 2, diameter / 2);
  }
}

}  // namespace norvane::controls
