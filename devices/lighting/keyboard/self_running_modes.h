#pragma once
// Generators of the keyboard modes that animate on their own, without key or sound input.

#include <span>

#include "devices/lighting/keyboard/keyboard_modes.h"

namespace norvane::lighting::keyboard {

void FrameColumnWave(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);      // 1
void FrameColumnRainbow(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);   // 2
void FrameRings(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);           // 3
void FrameSerpentine(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);      // 4
void FrameKeyboardStatic(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);  // 5
void FrameKeyboardBreathing(KeyboardLightState& state, const FrameInputs& in,
                            std::span<LedRecord> frame);                                               // 6
void FrameColumnStatic(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);  // 7
void FrameCountdown(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);     // 13
void FrameTwinkleFast(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);   // 15
void FrameRandomDrops(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);   // 17
void FrameRaindrops(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);     // 18
void FrameRowWave(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);       // 19
void FrameTwinkle(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);       // 20
void FrameCustom(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);        // 21
void FrameSweepFill(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);     // 24
void FrameRowRainbow(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);    // 41
void FrameHueCycle(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);      // 42
void FrameStaticPreset(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame);  // 45

}  // namespace norvane::lighting::keyboard
