#include "controls/key_light_tint.h"

#include <QPainter>
#include <cmath>

namespace norvane::controls {

std::uint32_t ScalePremultiplied(std::uint32_t premultiplied, std::uint32_t weight) {
  // Two channels at a time: x * w / 255 as (t + t / 256 + 128) / 256, exact for 8-bit values.
  std::uint32_t low = (premultiplied & 0x00FF00FFu) * weight;
  low = ((low + ((low >> 8) & 0x00FF00FFu) + 0x00800080u) >> 8) & 0x00FF00FFu;
  std::uint32_t high = ((premultiplied >> 8) & 0x00FF00FFu) * weight;
  high = (high + ((high >> 8) & 0x00FF00FFu) + 0x00800080u) & 0xFF00FF00u;
  return high | low;
}

void KeyLightTint::Prepare(QSize size, qreal dpr, const QImage& image) {
  size_ = size;
  dpr_ = dpr;
  imageKey_ = image.cacheKey();
  const QSize pixels(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr)));
  const std::size_t count = std::size_t(std::max(pixels.width(), 0)) * std::size_t(std::max(pixels.height(), 0));
  base_.clear();
  weight_.assign(count, 0);
  tinted_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
  tinted_.setDevicePixelRatio(dpr);
  tintedFor_ = 0;
  if (count == 0) return;

  if (image.isNull()) {
    QImage shape(pixels, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    shape.setDevicePixelRatio(dpr);
    {
      QPainter painter(&shape);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setPen(Qt::NoPen);
      painter.setBrush(QColor(255, 255, 255, kOverlayAlpha));
      painter.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), kCornerRadius, kCornerRadius);
    }
    for (int y = 0; y < pixels.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(shape.constScanLine(y));
      for (int x = 0; x < pixels.width(); ++x) weight_[std::size_t(y * pixels.width() + x)] = std::uint8_t(qAlpha(line[x]));
    }
    return;
  }

  // The image keeps its shape: its pixels show at 1 - kOverlayAlpha under the colour.
  const QImage scaled = image.scaled(pixels).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  base_.resize(count);
  for (int y = 0; y < pixels.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(scaled.constScanLine(y));
    for (int x = 0; x < pixels.width(); ++x) {
      const std::size_t i = std::size_t(y * pixels.width() + x);
      base_[i] = ScalePremultiplied(line[x], 255 - kOverlayAlpha);
      weight_[i] = std::uint8_t((qAlpha(line[x]) * kOverlayAlpha + 127) / 255);
    }
  }
}

const QImage& KeyLightTint::Tinted(QColor colour) {
  const QRgb opaque = colour.rgb() | 0xFF000000u;
  if (opaque == tintedFor_ || tinted_.isNull()) return tinted_;
  tintedFor_ = opaque;
  auto* out = reinterpret_cast<std::uint32_t*>(tinted_.bits());
  const std::size_t count = weight_.size();
  if (base_.empty()) {
    // Most of the shape is its inside, at the overlay's own weight: one colour for all of it.
    const std::uint32_t inside = ScalePremultiplied(opaque, kOverlayAlpha);
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t weight = weight_[i];
      out[i] = weight == kOverlayAlpha ? inside : ScalePremultiplied(opaque, weight);
    }
  } else {
    for (std::size_t i = 0; i < count; ++i) out[i] = base_[i] + ScalePremultiplied(opaque, weight_[i]);
  }
  return tinted_;
}

}  // namespace norvane::controls
