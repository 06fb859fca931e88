#pragma once
// Small helpers the keyboard generators share to paint LEDs by index, column, row or fade value. Every
// write checks its LED against the frame, so a short frame or an empty table cell is simply skipped.

#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/lighting/keyboard/keyboard_light_state.h"
#include "devices/lighting/led_record.h"
#include "devices/lighting/light_params.h"
#include "devices/lighting/light_tables.h"

namespace norvane::lighting::keyboard {

inline void PaintLed(std::span<LedRecord> frame, std::size_t led, Rgb colour, std::uint8_t level) {
  if (led != kNoLed && led < frame.size()) Paint(frame[led], colour, level);
}

inline void PaintColumn(std::span<LedRecord> frame, std::size_t column, Rgb colour, std::uint8_t level) {
  for (std::size_t r = 0; r < kRows; ++r) PaintLed(frame, LedAt(column, r), colour, level);
}

inline void PaintRow(std::span<LedRecord> frame, std::size_t row, Rgb colour, std::uint8_t level) {
  for (std::size_t k = 0; k < kColumns; ++k) PaintLed(frame, LedAt(k, row), colour, level);
}

// The LED's own hue on the wheel with the multi-colour flag, else the fixed colour.
inline Rgb LedColour(const KeyboardLightState& state, const LightParams& params, std::size_t led) {
  return params.multiColour && led < kLedSlots ? Wheel(state.hue[led]) : params.Colour();
}

// Number of LEDs that have per-LED buffers in this frame.
inline std::size_t BufferedLeds(std::span<const LedRecord> frame) {
  return frame.size() < kLedSlots ? frame.size() : kLedSlots;
}

// Every buffered LED shows its colour at level × fade ÷ 256.
inline void PaintFromFade(const KeyboardLightState& state, const LightParams& params,
                          std::span<LedRecord> frame) {
  const std::uint8_t level = BrightnessValue(params.brightness);
  for (std::size_t led = 0; led < BufferedLeds(frame); ++led) {
    Paint(frame[led], LedColour(state, params, led), Scale(level, state.fade[led]));
  }
}

// Decays the fade value of every LED position 0..169 with the given mode's curve.
void FadeAll(KeyboardLightState& state, unsigned mode);

}  // namespace norvane::lighting::keyboard
