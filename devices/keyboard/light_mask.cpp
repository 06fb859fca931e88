#include "devices/keyboard/light_mask.h"

#include <algorithm>

namespace norvane::devices::keyboard {

LightMask BuildLightMask(std::span<const lighting::LedRecord> leds, const PositionMap& positions) {
  constexpr std::size_t kBitsPerByte = 8;
  LightMask mask{};
  const std::size_t count = std::min(leds.size(), positions.size());
  for (std::size_t led = 0; led < count; ++led) {
    const std::size_t p = positions[led];
    if (p == kNoPosition || !IsLit(leds[led])) continue;
    const std::size_t bit = p / kLightMaskSize;
    if (bit >= kBitsPerByte) continue;
    mask[p % kLightMaskSize] |= static_cast<std::uint8_t>(1U << bit);
  }
  return mask;
}

}  // namespace norvane::devices::keyboard
