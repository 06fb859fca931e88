#include "controls/device_key_button.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>

#include "controls/select_panel.h"
#include "uilib/resource_manager.h"

namespace norvane::controls {
namespace {

constexpr int kMarkSize = 8;
constexpr int kCornerRadius = 4;
const QColor kMarkColour(0, 224, 198);
// The caption over a light: dark on bright light, light on dim.
constexpr int kBrightLight = 150;
const QColor kCaptionOnBright(10, 12, 16);
const QColor kCaptionOnDim(230, 232, 238);

// The light's colour scaled by its level (the overlay's own transparency comes on top).
QColor LitColour(std::uint32_t packed, int level) {
  const QColor colour = DecodeKeyLight(packed);
  const int clamped = std::clamp(level, 0, 255);
  const auto scale = [clamped](int channel) { return channel * clamped / 255; };
  return QColor(scale(colour.red()), scale(colour.green()), scale(colour.blue()));
}

QPixmap LoadImage(const ui::CDuiString& image) {
  return image.isEmpty() ? QPixmap() : QPixmap(ui::CResourceManager::GetInstance().ResolveResource(image));
}

QPixmap TransparentPixmap(QSize size, qreal dpr) {
  QPixmap pixmap(QSize(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr))));
  pixmap.setDevicePixelRatio(dpr);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// The light sits inside the key's border.
QRect LightArea(QSize size) {
  return QRect(QPoint(0, 0), size).adjusted(1, 1, -1, -1);
}

// Events after which the key may look different (pressed, hovered, focused, enabled, moved).
bool ChangesState(QEvent::Type type) {
  switch (type) {
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::EnabledChange:
    case QEvent::ActivationChange:
    case QEvent::Timer:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
      return true;
    default:
      return false;
  }
}

// Events after which the key's pictures must be drawn anew.
bool ChangesLook(QEvent::Type type) {
  switch (type) {
    case QEvent::StyleChange:
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::Polish:
    case QEvent::DynamicPropertyChange:
    case QEvent::LayoutDirectionChange:
    case QEvent::LanguageChange:
      return true;
    default:
      return false;
  }
}

}  // namespace

QColor DecodeKeyLight(std::uint32_t packed) {
  return QColor(int(packed & 0xFF), int(packed >> 16 & 0xFF), int(packed >> 8 & 0xFF));
}

CDeviceKeyButtonUI::CDeviceKeyButtonUI(QWidget* parent) : CButtonUI(parent) {
  // Checking and unchecking from code sends the button no event.
  connect(this, &QAbstractButton::toggled, this, [this] { stateMayHaveChanged_ = true; });
}

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
  lightShapeLoaded_ = false;
  LookChanged();
}

void CDeviceKeyButtonUI::SetKeySetImage(const ui::CDuiString& image) {
  keySetImage_ = image;
  LookChanged();
}

void CDeviceKeyButtonUI::SetKeyUnsetImage(const ui::CDuiString& image) {
  keyUnsetImage_ = image;
  LookChanged();
}

void CDeviceKeyButtonUI::SetKeySetMarkHidden(std::uint32_t hidden) {
  if (keySetMarkHidden_ == hidden) return;
  keySetMarkHidden_ = hidden;
  LookChanged();
}

void CDeviceKeyButtonUI::SetKeyUnsetMarkHidden(std::uint32_t hidden) {
  if (keyUnsetMarkHidden_ == hidden) return;
  keyUnsetMarkHidden_ = hidden;
  LookChanged();
}

void CDeviceKeyButtonUI::SetDeviceMark(std::uint32_t mark) {
  if (deviceMark_ == mark) return;
  deviceMark_ = mark;
  Repaint();
}

void CDeviceKeyButtonUI::SetLightOverlay(std::uint32_t colour, int level, bool on) {
  lightColour_ = colour;
  lightLevel_ = level;
  lightOverlayOn_ = on;
}

void CDeviceKeyButtonUI::SetSelectionState(int state) {
  if (selectionState_ == state) return;
  selectionState_ = state;
  ++generation_;
}

void CDeviceKeyButtonUI::Invalidate() {
  Repaint();
}

void CDeviceKeyButtonUI::SetText(const ui::CDuiString& text) {
  CButtonUI::SetText(text);
  stateMayHaveChanged_ = true;
  Repaint();
}

void CDeviceKeyButtonUI::SetDrawnBy(CSelectPanelUI* picture) {
  if (picture_.data() == picture) return;
  picture_ = picture;
  // The picture draws the key: Qt need not paint it on its own, frame after frame.
  setUpdatesEnabled(picture == nullptr);
}

void CDeviceKeyButtonUI::LookChanged() {
  ++generation_;
  Repaint();
}

void CDeviceKeyButtonUI::Repaint() {
  if (picture_) {
    picture_->RepaintArea(geometry());
  } else {
    update();
  }
}

bool CDeviceKeyButtonUI::event(QEvent* event) {
  // Whatever reaches the button may change what it shows (hover, press, focus, enabling, activation, font).
  stateMayHaveChanged_ = true;
  const bool handled = CButtonUI::event(event);
  if (ChangesLook(event->type())) {
    LookChanged();
  } else if (picture_ && ChangesState(event->type())) {
    Repaint();
  }
  return handled;
}

// ---- Drawing.

void CDeviceKeyButtonUI::Refresh(qreal dpr) {
  // A frame of the picture asks every lit key: without anything that reached the button since the last time,
  // nothing of its look can have changed.
  if (!stateMayHaveChanged_ && dpr == look_.dpr && generation_ == look_.generation) return;
  stateMayHaveChanged_ = false;
  // The state bits the style draws a push button by; cheaper to gather than a whole style option.
  int state = 0;
  if (isEnabled()) state |= 1;
  if (underMouse()) state |= 2;
  if (isDown()) state |= 4;
  if (isChecked()) state |= 8;
  if (hasFocus()) state |= 16;
  if (isActiveWindow()) state |= 32;
  // Asked on every paint of every key: compared in place, copied only when something changed.
  if (size() == look_.size && dpr == look_.dpr && state == look_.state && generation_ == look_.generation &&
      font() == look_.font && text() == look_.text)
    return;
  look_ = LookKey{size(), dpr, state, text(), font(), generation_};
  faceWithCaption_ = QPixmap();
  faceWithoutCaption_ = QPixmap();
  for (int i = 0; i < 3; ++i) {
    top_[i] = QPixmap();
    topBuilt_[i] = false;
  }
  for (KeyLightComposite& composite : lit_) composite.Reset();
}

QPixmap CDeviceKeyButtonUI::RenderFace(bool withCaption) {
  QStyleOptionButton option;
  initStyleOption(&option);
  option.rect = rect();
  if (!withCaption) {
    option.text.clear();
    option.icon = QIcon();
  }
  QPixmap face = TransparentPixmap(size(), look_.dpr);
  QPainter painter(&face);
  // As a painter on the widget itself would start.
  painter.setFont(font());
  painter.setPen(palette().color(foregroundRole()));
  painter.setBrush(palette().brush(backgroundRole()));
  style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
  return face;
}

const QPixmap& CDeviceKeyButtonUI::Face(bool withCaption) {
  QPixmap& face = withCaption ? faceWithCaption_ : faceWithoutCaption_;
  if (face.isNull() && !size().isEmpty()) face = RenderFace(withCaption);
  return face;
}

QPixmap CDeviceKeyButtonUI::RenderTop(Caption caption) {
  const bool keySetShown = keySetMarkHidden_ == 0;
  const bool keyUnsetShown = keyUnsetMarkHidden_ == 0;
  const bool captionShown = caption != Caption::kNone && !text().isEmpty();
  if (!captionShown && !keySetShown && !keyUnsetShown && selectionState_ == 0) return QPixmap();

  QPixmap top = TransparentPixmap(size(), look_.dpr);
  QPainter painter(&top);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRect area = LightArea(size());
  if (captionShown) {
    painter.setFont(font());
    painter.setPen(caption == Caption::kDark ? kCaptionOnBright : kCaptionOnDim);
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
  return top;
}

const QPixmap& CDeviceKeyButtonUI::Top(Caption caption) {
  const int i = int(caption);
  if (!topBuilt_[i]) {
    top_[i] = RenderTop(caption);
    topBuilt_[i] = true;
  }
  return top_[i];
}

QImage CDeviceKeyButtonUI::LightShape() {
  if (!lightShapeLoaded_) {
    lightShapeLoaded_ = true;
    lightShape_ = lightImage_.isEmpty()
                      ? QImage()
                      : QImage(ui::CResourceManager::GetInstance().ResolveResource(lightImage_));
  }
  return lightShape_;
}

void CDeviceKeyButtonUI::PaintKey(QPainter& painter, QPoint at) {
  Refresh(painter.device()->devicePixelRatioF());
  Caption caption = Caption::kNone;
  const QRect area = LightArea(size());
  if (lightOverlayOn_ && !area.isEmpty()) {
    const QColor light = LitColour(lightColour_, lightLevel_);
    const QImage shape = LightShape();
    if (!tint_.IsPreparedFor(area.size(), look_.dpr, shape.cacheKey())) {
      tint_.Prepare(area.size(), look_.dpr, shape);
      for (KeyLightComposite& composite : lit_) composite.Reset();
    }
    caption = light.lightness() > kBrightLight ? Caption::kDark : Caption::kLight;
    // Face, light and top in one image: a frame of a changing colour blends each key once.
    KeyLightComposite& lit = lit_[caption == Caption::kDark ? 0 : 1];
    if (!lit.IsPrepared()) {
      const QPoint offset(qRound(area.left() * look_.dpr), qRound(area.top() * look_.dpr));
      lit.Prepare(Face(false).toImage(), Top(caption).toImage(), tint_, offset);
    }
    if (lit.IsPrepared()) {
      painter.drawImage(at, lit.Drawn(light));
      return;
    }
    painter.drawPixmap(at, Face(false));
    painter.drawImage(at + area.topLeft(), tint_.Tinted(light));
  } else {
    painter.drawPixmap(at, Face(true));
  }
  if (const QPixmap& top = Top(caption); !top.isNull()) painter.drawPixmap(at, top);
}

void CDeviceKeyButtonUI::paintEvent(QPaintEvent* event) {
  // A key of a picture is drawn by the picture.
  if (picture_) return;
  const bool ownDrawing = lightOverlayOn_ || keySetMarkHidden_ == 0 || keyUnsetMarkHidden_ == 0 || selectionState_ != 0;
  // Nothing of its own to draw: the button looks exactly like a plain one.
  if (!ownDrawing) {
    CButtonUI::paintEvent(event);
    return;
  }
  QPainter painter(this);
  PaintKey(painter, QPoint(0, 0));
}

}  // namespace norvane::controls
