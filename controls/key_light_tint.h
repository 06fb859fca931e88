#pragma once
// The light overlay of a key, ready to draw: the key's light shape (a rounded rectangle, or the skin's light
// image) in one colour. The shape is prepared once per size; a new colour only re-tints its pixels, so a
// picture of many keys changing colour every frame draws one small image per key and runs no painter, path
// or style sheet for it.
//
// The overlay lets the key face and its caption show through: the rounded rectangle is drawn at kOverlayAlpha;
// a light image keeps its own shape and takes the colour at kOverlayAlpha over its own pixels.

#include <QColor>
#include <QImage>
#include <QSize>
#include <cstdint>
#include <span>
#include <vector>

namespace norvane::controls {

class KeyLightTint {
 public:
  static constexpr int kOverlayAlpha = 170;
  static constexpr qreal kCornerRadius = 4;

  // The shape for an overlay of `size` (logical pixels) at `dpr` device pixels per pixel; `image` is the
  // light image (null: the rounded rectangle), scaled to the size.
  void Prepare(QSize size, qreal dpr, const QImage& image);
  bool IsPreparedFor(QSize size, qreal dpr, qint64 imageKey) const {
    return size == size_ && dpr == dpr_ && imageKey == imageKey_;
  }

  // The overlay in `colour` (its alpha is ignored); tinted again only when the colour differs from the
  // last one asked for. Premultiplied ARGB at the prepared device pixel ratio.
  const QImage& Tinted(QColor colour);

  // The prepared shape, for drawing it combined with what lies under and over it: the overlay's size in device
  // pixels and, per pixel row by row, what stays of the image (empty for the rounded rectangle) and the
  // colour's weight.
  [[nodiscard]] QSize PixelSize() const { return tinted_.size(); }
  [[nodiscard]] std::span<const std::uint32_t> Base() const { return base_; }
  [[nodiscard]] std::span<const std::uint8_t> Weight() const { return weight_; }

 private:
  QSize size_;
  qreal dpr_ = 0;
  qint64 imageKey_ = -1;
  // Per pixel: what stays of the image (premultiplied; empty for the rounded rectangle) and how much of the
  // colour goes on top (0..255).
  std::vector<std::uint32_t> base_;
  std::vector<std::uint8_t> weight_;
  QImage tinted_;
  QRgb tintedFor_ = 0;
};

// `premultiplied` (ARGB, premultiplied) with every channel scaled by weight / 255, rounded.
[[nodiscard]] std::uint32_t ScalePremultiplied(std::uint32_t premultiplied, std::uint32_t weight);

}  // namespace norvane::controls
