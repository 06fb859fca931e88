#pragma once
// A lit key ready to draw in one blend. The key face under the light, the light's shape and what lies on top
// of it (caption, marks, selection) never change from frame to frame; only the light's colour does. They are
// combined once into a constant part and, per pixel, the weight the colour takes, so a frame costs one
// multiply-add per pixel of the key (a plain add where the light lies evenly) and one blend of the result,
// instead of three blends and a tint.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <cstdint>
#include <vector>

#include "controls/key_light_tint.h"

namespace norvane::controls {

class KeyLightComposite {
 public:
  // `face` and `top` (null: nothing on top) cover the whole key; `tint` is the light's shape, prepared for the
  // light area, which starts `areaOffset` device pixels into the key. All in device pixels, premultiplied.
  void Prepare(const QImage& face, const QImage& top, const KeyLightTint& tint, QPoint areaOffset);
  void Reset();
  [[nodiscard]] bool IsPrepared() const { return !drawn_.isNull(); }

  // The key lit in `colour` (its alpha is ignored), at the face's device pixel ratio; worked out again only
  // for a colour other than the last one.
  const QImage& Drawn(QColor colour);

 private:
  std::vector<std::uint32_t> constant_;
  // Per pixel, all ones where the colour goes on at the shared weight by a plain add (0 elsewhere), and the
  // pixels that take it at a weight of their own.
  std::vector<std::uint32_t> takesCommon_;
  std::vector<std::uint32_t> ownWeight_;
  std::vector<std::uint8_t> weight_;
  // The weight most pixels share (the inside of the light), whose colour is scaled once per frame.
  std::uint8_t commonWeight_ = 0;
  QImage drawn_;
  QRgb drawnFor_ = 0;
};

}  // namespace norvane::controls
