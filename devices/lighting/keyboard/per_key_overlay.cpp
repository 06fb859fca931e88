#include "devices/lighting/keyboard/per_key_overlay.h"

#include <chrono>

#include "devices/lighting/light_tables.h"

namespace norvane::lighting::keyboard {
namespace {

enum EffectType : std::uint8_t { kBreathe = 0, kBlink = 2, kColourCycle = 3 };

Rgb EffectColour(const PerLedEffect& effect, std::uint8_t hue) {
  return effect.multiColour ? Wheel(hue) : effect.Colour();
}

}  // namespace

void PerKeyOverlay::SetEffects(std::vector<PerLedEffect> effects) {
  effects_ = std::move(effects);
  animations_.assign(effects_.size(), KeyAnimation{});
}

void PerKeyOverlay::Apply(std::span<LedRecord> frame, Clock::TimePoint now) {
  const std::size_t count = std::min(effects_.size(), frame.size());
  for (std::size_t i = 0; i < count; ++i) {
    const PerLedEffect& effect = effects_[i];
    KeyAnimation& key = animations_[i];
    const std::uint8_t level = BrightnessValue(effect.brightness);
    switch (effect.type) {
      case kBreathe: {
        if (!effect.enabled) break;
        const unsigned phase = key.phase + ClampLevel(effect.speed) + 4;
        key.phase = static_cast<std::uint8_t>(phase);
        if (phase > kBreathingSize - 1) {
          key.phase = 0;
          if (key.hue < kWheelSize - 1) ++key.hue;
        }
        Paint(frame[i], EffectColour(effect, key.hue), Scale(Breathing(key.phase), level));
        break;
      }
      case kBlink: {
        const auto interval = std::chrono::milliseconds(BlinkIntervalMs(effect.speed));
        if (!key.blinkStarted || now - key.lastBlinkChange >= interval) {
          key.blinkStarted = true;
          key.blinkOn = !key.blinkOn;
          key.lastBlinkChange = now;
          key.hue = static_cast<std::uint8_t>(key.hue + 14u >= kWheelSize ? 0 : key.hue + 14u);
        }
        if (key.blinkOn) {
          Paint(frame[i], EffectColour(effect, key.hue), level);
        } else {
          Darken(frame[i]);
        }
        break;
      }
      case kColourCycle: {
        if (!effect.enabled) break;
        if (++key.counter >= BlinkUnits(effect.speed)) {
          key.counter = 0;
          key.hue = static_cast<std::uint8_t>(key.hue + 1u >= kWheelSize ? 0 : key.hue + 1u);
        }
        Paint(frame[i], Wheel(key.hue), level);
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace norvane::lighting::keyboard
