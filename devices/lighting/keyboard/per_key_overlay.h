#pragma once
// The per-key effects the lighting editor sets on single keys (breathing, blink, colour cycle). They are
// drawn over the mode's frame on every tick. Not thread-safe: its owner serialises SetEffects and Apply.

#include <cstdint>
#include <span>
#include <vector>

#include "devices/lighting/led_record.h"
#include "devices/lighting/light_params.h"
#include "platform/clock.h"

namespace norvane::lighting::keyboard {

class PerKeyOverlay {
 public:
  // Takes a new effect list (one entry per LED) and restarts every key's animation.
  void SetEffects(std::vector<PerLedEffect> effects);
  const std::vector<PerLedEffect>& Effects() const { return effects_; }

  // One tick: advances each key's animation and paints the keys that have an effect.
  void Apply(std::span<LedRecord> frame, Clock::TimePoint now);

 private:
  struct KeyAnimation {
    std::uint8_t phase = 0;
    std::uint8_t hue = 0;
    std::uint8_t counter = 0;
    bool blinkOn = false;
    bool blinkStarted = false;
    Clock::TimePoint lastBlinkChange{};
  };

  std::vector<PerLedEffect> effects_;
  std::vector<KeyAnimation> animations_;
};

}  // namespace norvane::lighting::keyboard
