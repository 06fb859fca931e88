#include "controls/device_key_button.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "uilib/color_value.h"
#include "uilib/resource_manager.h"

namespace norvane::controls {
namespace {

// The overlay lets the key's caption show through.
constexpr int kOverlayAlpha = 170;
constexpr int kMarkSize = 8;

QColor ScaledColour(uint32_t rgb, int level) {
  const int clamped = std::clamp(level, 0, 255);
  auto scale = [clamped](uint32_t channel) { return int(channel & 0xFF) * clamped / 255; };
  return QColor(scale(rgb >> 16), scale(rgb >> 8), scale(rgb), kOverlayAlpha);
}

void DrawImage(QPainter& painter, const QRect& area, const ui::CDuiString& image) {
  const QPixmap pixmap(ui::CResourceManager::GetInstance().ResolveResource(image));
  if (!pixmap.isNull()) painter.drawPixmap(area, pixmap);
}

}  // namespace

CDeviceKeyButtonUI::CDeviceKeyButtonUI(QWidget* parent) : CButtonUI(parent) {}

void CDeviceKeyButtonUI::SetAttribute(const ui::CDuiString& name, const ui::CDuiString& value) {
  if (name == "lightimage") {
    SetLightImage(value);
  } else if (name == "keysetimage") {
    SetKeySetImage(value);
  } else if (name == "keyunsetimage") {
    SetKeyUnsetImage(value);
  } else if (name == "gmnametextcolor") {
    QString text = value;
    if (!text.startsWith('#')) text.prepend('#');
    if (auto colour = ui::ParseColorValue(text)) gameNameTextColour_ = *colour;
  } else {
    CButtonUI::SetAttribute(name, value);
  }
}

void CDeviceKeyButtonUI::SetLightImage(const ui::CDuiString& image) {
  lightImage_ = image;
  Repaint();
}

void CDeviceKeyButtonUI::SetKeySetImage(const ui::CDuiString& image) {
  keySetImage_ = image;
  Repaint();
}

void CDeviceKeyButtonUI::SetKeyUnsetImage(const ui::CDuiString& image) {
  keyUnsetImage_ = image;
  Repaint();
}

void CDeviceKeyButtonUI::SetLightOverlay(bool on) {
  if (lightOn_ == on) return;
  lightOn_ = on;
  Repaint();
}

void CDeviceKeyButtonUI::SetLightColour(uint32_t rgb) {
  rgb &= 0xFFFFFFu;
  if (lightColour_ == rgb) return;
  lightColour_ = rgb;
  if (lightOn_) Repaint();
}

void CDeviceKeyButtonUI::SetLightLevel(int level) {
  level = std::clamp(level, 0, 255);
  if (lightLevel_ == level) return;
  lightLevel_ = level;
  if (lightOn_) Repaint();
}

void CDeviceKeyButtonUI::SetKeySetMark(bool shown) {
  if (keySetHidden_ == !shown) return;
  keySetHidden_ = !shown;
  Repaint();
}

void CDeviceKeyButtonUI::SetKeyUnsetMark(bool shown) {
  if (keyUnsetHidden_ == !shown) return;
  keyUnsetHidden_ = !shown;
  Repaint();
}

void CDeviceKeyButtonUI::SetSelectionState(int state) {
  if (selectionState_ == state) return;
  selectionState_ = state;
  Repaint();
}

void CDeviceKeyButtonUI::Repaint() {
  update();
}

void CDeviceKeyButtonUI::paintEvent(QPaintEvent* event) {
  CButtonUI::paintEvent(event);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRect area = rect().adjusted(1, 1, -1, -1);
  if (lightOn_) {
    if (!lightImage_.isEmpty()) DrawImage(painter, area, lightImage_);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ScaledColour(lightColour_, lightLevel_));
    painter.drawRoundedRect(area, 4, 4);
    // The caption stays readable over the light: dark on bright light, light on dim.
    const QColor light = ScaledColour(lightColour_, lightLevel_);
    painter.setPen(light.lightness() > 150 ? QColor(10, 12, 16) : QColor(230, 232, 238));
    painter.drawText(area, Qt::AlignCenter, text());
  }
  const QRect mark(area.right() - kMarkSize, area.top() + 1, kMarkSize, kMarkSize);
  if (!keySetHidden_) {
    if (keySetImage_.isEmpty()) {
      painter.setBrush(QColor(0, 224, 198));
      painter.drawEllipse(mark);
    } else {
      DrawImage(painter, mark, keySetImage_);
    }
  }
  if (!keyUnsetHidden_ && !keyUnsetImage_.isEmpty()) DrawImage(painter, mark, keyUnsetImage_);
  if (selectionState_ != 0) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 224, 198), 2));
    painter.drawRoundedRect(area, 4, 4);
  }
}

}  // namespace norvane::controls
