#pragma once
// Generators of the keyboard modes that react to key presses: the key events land in the light state
// (KeyboardKeyEvents) and these turn them into glows and ripples frame by frame.

#include <span>

#include "devices/lighting/keyboard/keyboard_modes.h"

namespace norvane::lighting::keyboard {

void FrameKeyFade(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);      // 8, 10
void FrameRipple(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);       // 9, 16
void FrameRippleHold(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);   // 14
void FrameRippleEdges(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);  // 22
void FrameRippleRow(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);    // 43
void FrameRippleKey(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);    // 44

}  // namespace norvane::lighting::keyboard
