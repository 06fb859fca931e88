#include "devices/lighting/keyboard/mode_startup.h"

#include "devices/lighting/generic_generators.h"

namespace norvane::lighting::keyboard {
namespace {

constexpr std::uint8_t kNoCell = 255;

void SeedTwinkleFast(KeyboardLightState& state) {
  for (std::size_t k = 0; k < kColumns; ++k) {
    for (std::size_t r = 0; r < kColumnTable7[k].size(); ++r) {
      const std::uint8_t led = kColumnTable7[k][r];
      if (led == kNoCell || led >= kLedSlots) continue;
      // Row 6 lies below the keys and takes the first seed of the next column.
      state.phase[led] = EntryOr(kTwinkleSeeds, 6 * k + r, 0);
      state.hue[led] = static_cast<std::uint8_t>(7 * k);
    }
  }
}

void SeedRaindrops(KeyboardLightState& state) {
  for (std::size_t i = 0; i < kRandomPicks; ++i) {
    const std::uint8_t led = EntryOr(kLedOrder, kRandomOrder[i], kNoLed);
    if (led != kNoLed) state.phase[led] = static_cast<std::uint8_t>((7 * i) % kDrop.size());
  }
}

void SeedTwinkle(KeyboardLightState& state) {
  for (std::size_t k = 0; k < kColumns; ++k) {
    auto phase = static_cast<std::uint8_t>(192 - 8 * k);
    for (std::size_t r = 0; r < kRows; ++r) {
      const std::uint8_t led = LedAt(k, r);
      if (led != kNoLed) {
        state.hue[led] = static_cast<std::uint8_t>(6 * k);
        state.phase[led] = phase;
      }
      // Each row starts 35 phases behind the one above; below 0 the byte wraps after 98 instead, which
      // lands near the top of the 192-phase cycle.
      phase = static_cast<std::uint8_t>(phase >= 35 ? phase - 35 : phase - 98);
    }
  }
}

void SeedHues(KeyboardLightState& state) {
  for (std::size_t i = 0; i < kLedSlots; ++i)
    state.hue[i] = static_cast<std::uint8_t>(33 * (i + 1) % kWheelSize);
}

}  // namespace

void StartKeyboardMode(KeyboardLightState& state, std::uint8_t mode, std::span<LedRecord> frame) {
  ResetLightBuffers(state);
  if (mode != 21) FrameOff(frame);
  switch (mode) {
    case 13:
      state.countdown = CountdownState{};
      break;
    case 14:
      state.masks.Mark(9, 0x40);
      break;
    case 15:
      SeedTwinkleFast(state);
      break;
    case 18:
      SeedRaindrops(state);
      break;
    case 20:
      SeedTwinkle(state);
      break;
    case 21:
      break;  // the page loads the custom colours and sends the light mask
    case 22:
      state.masks.Mark(1, 0x01);
      break;
    default:
      SeedHues(state);
      break;
  }
}

}  // namespace norvane::lighting::keyboard
