#include "controls/device_key_button.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "uilib/resource_manager.h"

namespace norvane::controls {
namespace {

// The overlay lets the key face and its caption show through.
constexpr int kOverlayAlpha = 170;
constexpr int kMarkSize = 8;
constexpr int kCornerRadius = 4;
const QColor kMarkColour(0, 224, 198);

QColor OverlayColour(std::uint32_t packed, int level) {
  const QColor colour = DecodeKeyLight(packed);
  const int clamped = std::clamp(level, 0, 255);
  const auto scale = [clamped](int channel) { return channel * clamped / 255; };
  return QColor(scale(colour.red()), scale(colour.green()), scale(colour.blue()), kOverlayAlpha);
}

QPixmap LoadImage(const ui::CDuiString& image) {
  return image.isEmpty() ? QPixmap() : QPixmap(ui::CResourceManager::GetInstance().ResolveResource(image));
}

// The light image in the light's colour: only the image's own pixels take the tint.
QImage TintedImage(const QPixmap& pixmap, QSize size, const QColor& light) {
  QImage image = pixmap.scaled(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QPainter tint(&image);
  tint.setCompositionMode(QPainter::CompositionMode_SourceAtop);
  tint.fillRect(image.rect(), light);
  return image;
}

}  // namespace

QColor DecodeKeyLight(std::uint32_t packed) {
  return QColor(int(packed & 0xFF), int(packed >> 16 & 0xFF), int(packed >> 8 & 0xFF));
}

CDeviceKeyButtonUI::CDeviceKeyButtonUI(QWidget* parent) : CButtonUI(parent) {}

void CDeviceKeyButtonUI::SetAttribute(const ui::CDuiString& name, const ui::CDuiString& value) {
  if (name == "lightimage") {
    SetLightImage(value);
  } else if (name == "keysetimage") {
    SetKeySetImage(value);
  } else if (name == "keyunsetimage") {
    SetKeyUnsetImage(value);
  } else if (name != "gmnametextcolor") {
    CButtonUI::SetAttribute(name, value);
  }
}

void CDeviceKeyButtonUI::SetLightImage(const ui::CDuiString& image) {
  lightImage_ = image;
  update();
}

void CDeviceKeyButtonUI::SetKeySetImage(const ui::CDuiString& image) {
  keySetImage_ = image;
  update();
}

void CDeviceKeyButtonUI::SetKeyUnsetImage(const ui::CDuiString& image) {
  keyUnsetImage_ = image;
  update();
}

void CDeviceKeyButtonUI::SetKeySetMarkHidden(std::uint32_t hidden) {
  if (keySetMarkHidden_ == hidden) return;
  keySetMarkHidden_ = hidden;
  update();
}

void CDeviceKeyButtonUI::SetKeyUnsetMarkHidden(std::uint32_t hidden) {
  if (keyUnsetMarkHidden_ == hidden) return;
  keyUnsetMarkHidden_ = hidden;
  update();
}

void CDeviceKeyButtonUI::SetDeviceMark(std::uint32_t mark) {
  if (deviceMark_ == mark) return;
  deviceMark_ = mark;
  update();
}

void CDeviceKeyButtonUI::SetLightOverlay(std::uint32_t colour, int level, bool on) {
  lightColour_ = colour;
  lightLevel_ = level;
  lightOverlayOn_ = on;
}

void CDeviceKeyButtonUI::SetSelectionState(int state) {
  selectionState_ = state;
}

void CDeviceKeyButtonUI::paintEvent(QPaintEvent* event) {
  CButtonUI::paintEvent(event);
  const bool keySetShown = keySetMarkHidden_ == 0;
  const bool keyUnsetShown = keyUnsetMarkHidden_ == 0;
  // Nothing of its own to draw: the button looks exactly like a plain one.
  if (!lightOverlayOn_ && !keySetShown && !keyUnsetShown && selectionState_ == 0) return;

  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRect area = rect().adjusted(1, 1, -1, -1);
  if (lightOverlayOn_) {
    const QColor light = OverlayColour(lightColour_, lightLevel_);
    if (const QPixmap image = LoadImage(lightImage_); !image.isNull()) {
      painter.drawImage(area, TintedImage(image, area.size(), light));
    } else {
      painter.setPen(Qt::NoPen);
      painter.setBrush(light);
      painter.drawRoundedRect(area, kCornerRadius, kCornerRadius);
    }
    // The caption stays readable over the light: dark on bright light, light on dim.
    painter.setPen(light.lightness() > 150 ? QColor(10, 12, 16) : QColor(230, 232, 238));
    painter.drawText(area, Qt::AlignCenter, text());
  }
  const QRect mark(area.right() - kMarkSize, area.top() + 1, kMarkSize, kMarkSize);
  if (keyUnsetShown) {
    if (const QPixmap image = LoadImage(keyUnsetImage_); !image.isNull()) painter.drawPixmap(mark, image);
  }
  if (keySetShown) {
    if (const QPixmap image = LoadImage(keySetImage_); !image.isNull()) {
      painter.drawPixmap(mark, image);
    } else {
      painter.setPen(Qt::NoPen);
      painter.setBrush(kMarkColour);
      painter.drawEllipse(mark);
    }
  }
  if (selectionState_ != 0) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kMarkColour, 2));
    painter.drawRoundedRect(area, kCornerRadius, kCornerRadius);
  }
}

}  // namespace norvane::controls
