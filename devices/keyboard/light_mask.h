#pragma once
// The per-key light mask of the custom-colour mode: which keys the keyboard lights. Bit (p ÷ 21) of byte
// (p mod 21) stands for device position p.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/keyboard/key_positions.h"
#include "devices/lighting/led_record.h"

namespace norvane::devices::keyboard {

inline constexpr std::size_t kLightMaskSize = 21;
using LightMask = std::array<std::uint8_t, kLightMaskSize>;

// An LED counts as lit when any of its red, green and blue is non-zero (its level does not matter).
inline bool IsLit(const lighting::LedRecord& led) {
  return led.red != 0 || led.green != 0 || led.blue != 0;
}

// The mask of every lit LED that sits on the keyboard. Positions 168 and above have no bit in a 21-byte mask
// and are left out.
LightMask BuildLightMask(std::span<const lighting::LedRecord> leds, const PositionMap& positions);

}  // namespace norvane::devices::keyboard
