#include "devices/lighting/keyboard/keyboard_light_state.h"

#include "devices/lighting/step_counter.h"

namespace norvane::lighting::keyboard {
namespace {

enum Front : std::size_t { kLeftUp = 0, kRightUp = 1, kRightDown = 2, kLeftDown = 3 };

// A neighbour column outside the keyboard counts as empty.
std::uint8_t At(const ColumnMask& mask, std::ptrdiff_t column) {
  return column >= 0 && column < static_cast<std::ptrdiff_t>(kColumns) ? mask[column] : 0;
}

}  // namespace

void ColumnMasks::Mark(std::size_t column, std::uint8_t rowBits) {
  if (column >= kColumns) return;
  for (ColumnMask& front : fronts) front[column] |= rowBits;
}

std::uint8_t ColumnMasks::Combined(std::size_t column) const {
  if (column >= kColumns) return 0;
  std::uint8_t bits = 0;
  for (const ColumnMask& front : fronts) bits |= front[column];
  return bits;
}

void ColumnMasks::Spread() {
  const auto before = fronts;
  for (std::ptrdiff_t k = 0; k < static_cast<std::ptrdiff_t>(kColumns); ++k) {
    fronts[kLeftUp][k] = static_cast<std::uint8_t>((before[kLeftUp][k] >> 1) | At(before[kLeftUp], k + 1));
    fronts[kRightUp][k] = static_cast<std::uint8_t>((before[kRightUp][k] >> 1) | At(before[kRightUp], k - 1));
    fronts[kRightDown][k] =
        static_cast<std::uint8_t>((before[kRightDown][k] << 1) | At(before[kRightDown], k - 1));
    fronts[kLeftDown][k] =
        static_cast<std::uint8_t>((before[kLeftDown][k] << 1) | At(before[kLeftDown], k + 1));
  }
}

void ColumnMasks::Slide() {
  const auto before = fronts;
  for (std::ptrdiff_t k = 0; k < static_cast<std::ptrdiff_t>(kColumns); ++k) {
    fronts[kRightUp][k] = At(before[kRightUp], k - 1);
    fronts[kLeftDown][k] = At(before[kLeftDown], k + 1);
  }
  fronts[kLeftUp].fill(0);
  fronts[kRightDown].fill(0);
}

void ResetLightBuffers(KeyboardLightState& state) {
  state.animation.position = 0;
  state.rippleRowStage = 0;
  state.hue.fill(0);
  state.keyAction.fill(0);
  state.fade.fill(0);
  state.phase.fill(0);
  state.masks.Clear();
  state.countdown = {};
  state.frameCounter = 0;
  state.audio.levels.fill(0);
  state.audio.peakHeld.fill(1);
}

void ApplyColumnMasks(KeyboardLightState& state, bool multiColour, bool forward) {
  for (std::size_t k = 0; k < kColumns; ++k) {
    const std::uint8_t bits = state.masks.Combined(k);
    for (std::size_t r = 0; r < kRows; ++r) {
      const std::uint8_t led = LedAt(k, r);
      if (!(bits & (1u << r)) || led == kNoLed) continue;
      state.fade[led] = 255;
      if (multiColour) {
        state.animation.position = StepCounter(forward, kWheelSize, state.animation.position, 1);
        state.hue[led] = state.animation.position;
      }
    }
  }
}

void RippleFromLed(KeyboardLightState& state, std::uint8_t led, std::uint8_t action) {
  if (action != 1 || led == kNoLed) return;
  for (std::size_t k = 0; k < kColumns; ++k) {
    for (std::size_t r = 0; r < kRows; ++r) {
      if (kGeometry[k][r] == led) return state.masks.Mark(k, static_cast<std::uint8_t>(1u << r));
    }
  }
}

}  // namespace norvane::lighting::keyboard
