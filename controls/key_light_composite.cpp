#include "controls/key_light_composite.h"

#include <algorithm>
#include <array>
#include <span>

namespace norvane::controls {

namespace {

// Premultiplied pixels added channel by channel; rounding in the parts may overshoot a full channel by one.
std::uint32_t AddSaturated(std::uint32_t a, std::uint32_t b) {
  std::uint32_t sum = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t channel = ((a >> shift) & 0xFFu) + ((b >> shift) & 0xFFu);
    sum |= std::min(channel, 0xFFu) << shift;
  }
  return sum;
}

std::uint32_t AlphaOf(std::uint32_t pixel) {
  return pixel >> 24;
}

}  // namespace

void KeyLightComposite::Reset() {
  constant_.clear();
  weight_.clear();
  takesCommon_.clear();
  ownWeight_.clear();
  drawn_ = QImage();
  drawnFor_ = 0;
}

void KeyLightComposite::Prepare(const QImage& faceImage, const QImage& topImage, const KeyLightTint& tint,
                                QPoint areaOffset) {
  Reset();
  if (faceImage.isNull()) return;
  const QImage face = faceImage.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QImage top = topImage.isNull() ? QImage() : topImage.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const int width = face.width();
  const int height = face.height();
  const std::size_t count = std::size_t(width) * std::size_t(height);
  constant_.assign(count, 0);
  weight_.assign(count, 0);
  const QSize area = tint.PixelSize();
  const std::span<const std::uint32_t> base = tint.Base();
  const std::span<const std::uint8_t> lightWeight = tint.Weight();
  std::array<std::size_t, 256> weightCount{};

  for (int y = 0; y < height; ++y) {
    const auto* faceLine = reinterpret_cast<const std::uint32_t*>(face.constScanLine(y));
    const auto* topLine =
        top.isNull() || y >= top.height() ? nullptr : reinterpret_cast<const std::uint32_t*>(top.constScanLine(y));
    const int ay = y - areaOffset.y();
    for (int x = 0; x < width; ++x) {
      const int ax = x - areaOffset.x();
      // The light over the face: what stays of the light's shape, the colour's weight, and the face through
      // what the light leaves.
      std::uint32_t under = faceLine[x];
      std::uint32_t weight = 0;
      if (ay >= 0 && ay < area.height() && ax >= 0 && ax < area.width()) {
        const std::size_t j = std::size_t(ay) * std::size_t(area.width()) + std::size_t(ax);
        const std::uint32_t shape = base.empty() ? 0 : base[j];
        weight = lightWeight[j];
        const std::uint32_t covered = std::min<std::uint32_t>(255, AlphaOf(shape) + weight);
        under = AddSaturated(shape, ScalePremultiplied(faceLine[x], 255 - covered));
      }
      // Then what lies on top, over both.
      const std::uint32_t onTop = topLine && x < top.width() ? topLine[x] : 0;
      const std::uint32_t through = 255 - AlphaOf(onTop);
      const std::size_t i = std::size_t(y) * std::size_t(width) + std::size_t(x);
      constant_[i] = AddSaturated(onTop, ScalePremultiplied(under, through));
      weight_[i] = std::uint8_t((weight * through + 127) / 255);
      ++weightCount[weight_[i]];
    }
  }
  // Weight 0 needs no colour at all; of the others, the most frequent gets the shared fast path.
  commonWeight_ = 0;
  std::size_t most = 0;
  for (std::size_t w = 1; w < weightCount.size(); ++w) {
    if (weightCount[w] > most) {
      most = weightCount[w];
      commonWeight_ = std::uint8_t(w);
    }
  }
  // A plain add cannot overflow where the constant part leaves room for the whole weight: every premultiplied
  // channel is at most its alpha.
  takesCommon_.assign(count, 0);
  for (std::size_t i = 0; i < count; ++i) {
    if (weight_[i] == 0) continue;
    if (weight_[i] == commonWeight_ && AlphaOf(constant_[i]) + commonWeight_ <= 255) {
      takesCommon_[i] = 0xFFFFFFFFu;
    } else {
      ownWeight_.push_back(std::uint32_t(i));
    }
  }
  drawn_ = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
  drawn_.setDevicePixelRatio(face.devicePixelRatio());
}

const QImage& KeyLightComposite::Drawn(QColor colour) {
  const QRgb opaque = colour.rgb() | 0xFF000000u;
  if (drawn_.isNull() || opaque == drawnFor_) return drawn_;
  drawnFor_ = opaque;
  const std::uint32_t common = ScalePremultiplied(opaque, commonWeight_);
  auto* out = reinterpret_cast<std::uint32_t*>(drawn_.bits());
  const std::size_t count = constant_.size();
  // One add per pixel, without a branch (the compiler makes it a vector loop); then the few edge pixels.
  const std::uint32_t* constant = constant_.data();
  const std::uint32_t* mask = takesCommon_.data();
  for (std::size_t i = 0; i < count; ++i) out[i] = constant[i] + (common & mask[i]);
  for (const std::uint32_t i : ownWeight_) out[i] = AddSaturated(constant_[i], ScalePremultiplied(opaque, weight_[i]));
  return drawn_;
}

}  // namespace norvane::controls
