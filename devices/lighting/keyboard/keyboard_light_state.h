#pragma once
// Everything the keyboard's lighting effects remember between frames. A plain value: the page owns one and
// hands it to the generators; it is not safe to share between threads without the page's own lock.

#include <array>
#include <cstdint>

#include "devices/lighting/generic_generators.h"
#include "devices/lighting/keyboard/keyboard_tables.h"
#include "devices/lighting/light_params.h"

namespace norvane::lighting::keyboard {

using LedBuffer = std::array<std::uint8_t, kLedSlots>;
using ColumnMask = std::array<std::uint8_t, kColumns>;

// Four ripple fronts, one bit per row in each column byte (bit 0x01 = row 0; bits 0x40 and 0x80 are rows
// below the keys). M0 travels left and up, M1 right and up, M2 right and down, M3 left and down.
struct ColumnMasks {
  std::array<ColumnMask, 4> fronts{};

  // Sets the given row bits of `column` in all four fronts.
  void Mark(std::size_t column, std::uint8_t rowBits);
  std::uint8_t Combined(std::size_t column) const;
  // Every front moves one column and (for the diagonal fronts) one row.
  void Spread();
  // The two level fronts move one column; the diagonal ones vanish.
  void Slide();
  void Clear() { fronts = {}; }
};

// Stages of the countdown show (mode 13).
struct CountdownState {
  std::uint8_t stage = 0;
  std::uint8_t limit = 132;
  unsigned step = 0;  // frames spent in the current stage, where a stage counts them
};

inline constexpr std::size_t kAudioLevels = 25;

// Inputs and memory of the audio visualisations.
struct AudioState {
  AudioLight light;
  std::array<std::int32_t, kAudioLevels> levels{};  // the last levels fed; each frame takes and clears them
  std::array<std::uint8_t, kColumns> peakHeld{};    // falling peaks: 1 while the column's peak is up
  std::uint8_t bandCounter = 0;
  unsigned rippleEnergy = 0;  // loudness summed over feeds; a ripple starts each time it fills up
};

struct KeyboardLightState {
  GenericAnimation animation;  // position, colour index, blink phase
  LedBuffer fade{};
  LedBuffer hue{};
  LedBuffer phase{};      // per-LED animation phase of the twinkle and raindrop effects
  LedBuffer keyAction{};  // last key action per LED: 1 pressed, 2 released
  LedBuffer held{};       // 1 while the key is held down (key glow); survives ResetLightBuffers
  ColumnMasks masks;
  CountdownState countdown;
  std::uint8_t frameCounter = 0;  // effects that act on every second frame
  std::uint8_t rippleRowStage = 0;
  Rgb audioColour{};  // the colour of the audio colour mode, as last fed by the audio capture program
  AudioState audio;
};

// Clears the effect buffers before a mode starts; the held flags stay, since keys may still be down.
void ResetLightBuffers(KeyboardLightState& state);

// Lights (fade 255) every LED whose cell is marked in any front; with multiColour each such LED takes the
// next hue of the running position.
void ApplyColumnMasks(KeyboardLightState& state, bool multiColour, bool forward);

// Starts a ripple at the LED's cell: sets its row bit in all four fronts. LEDs outside the geometry and
// actions other than a press do nothing.
void RippleFromLed(KeyboardLightState& state, std::uint8_t led, std::uint8_t action);

}  // namespace norvane::lighting::keyboard
