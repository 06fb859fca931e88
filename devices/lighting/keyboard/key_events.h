#pragma once
// Key presses and releases reported by the keyboard, turned into lighting state for the reactive modes.
// These run on the thread that reads the device's events; the page must serialise them with the frame
// rendering (one lock around both), since both change the same buffers.

#include <cstdint>
#include <span>

#include "devices/lighting/keyboard/keyboard_light_state.h"
#include "devices/lighting/random_source.h"

namespace norvane::lighting::keyboard {

inline constexpr std::uint8_t kKeyPressed = 1;
inline constexpr std::uint8_t kKeyReleased = 2;
inline constexpr std::uint8_t kNoDeviceKey = 255;

// A key event at a device key position. keyPositions maps each LED (UI key) index to its device position
// (255: not on this keyboard). Position 255, positions no key maps to and unknown actions do nothing.
void TriggerKey(KeyboardLightState& state, std::uint8_t liveMode, std::span<const std::uint8_t> keyPositions,
                std::uint8_t devicePosition, std::uint8_t action, RandomSource& random);

// A key event at an LED, handled by the live mode: 8 glows around the key, 10 relights the key with a new
// hue, 9 and 44 start a ripple; every other mode ignores key events.
void TriggerLed(KeyboardLightState& state, std::uint8_t liveMode, std::uint8_t led, std::uint8_t action,
                RandomSource& random);

// Mode 8: a press lights the key and warms its neighbours; a release cools the neighbours that no other
// held key keeps warm.
void SpreadKeyGlow(KeyboardLightState& state, std::uint8_t led, std::uint8_t action);

}  // namespace norvane::lighting::keyboard
