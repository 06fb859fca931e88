#pragma once
// What the keyboard does when its light mode changes: clear the effect buffers and seed the new mode.

#include <cstdint>
#include <span>

#include "devices/lighting/keyboard/keyboard_light_state.h"
#include "devices/lighting/led_record.h"

namespace norvane::lighting::keyboard {

// Resets the buffers and runs the start-up step of `mode`. The frame goes dark so nothing of the previous
// mode lingers on LEDs the new one does not paint; mode 21 keeps it, since its frame holds the custom
// colours (which the page loads after this call).
void StartKeyboardMode(KeyboardLightState& state, std::uint8_t mode, std::span<LedRecord> frame);

}  // namespace norvane::lighting::keyboard
