#pragma once
// The keyboard's light modes: one generator per mode, chosen by the mode number. Each call renders one
// frame into the LED frame buffer and advances the mode's state.

#include <cstdint>
#include <span>

#include "devices/lighting/keyboard/keyboard_light_state.h"
#include "devices/lighting/led_record.h"
#include "devices/lighting/light_params.h"
#include "devices/lighting/random_source.h"
#include "platform/clock.h"

namespace norvane::lighting::keyboard {

// Everything a generator may read besides its state.
struct FrameInputs {
  const LightParams& params;  // mode and speed are the keyboard's live copy
  Clock::TimePoint now;
  RandomSource& random;
};

// True for the modes the keyboard renders itself; every other mode plays the mode's custom light list.
bool IsBuiltInMode(std::uint8_t mode);

// Renders one frame of params.mode. Returns false, leaving the frame alone, for a mode that is not built in.
bool RenderKeyboardFrame(KeyboardLightState& state, const FrameInputs& inputs, std::span<LedRecord> frame);

}  // namespace norvane::lighting::keyboard
