#include "devices/lighting/keyboard/keyboard_modes.h"

#include <array>

#include "devices/lighting/generic_generators.h"
#include "devices/lighting/keyboard/audio_modes.h"
#include "devices/lighting/keyboard/reactive_modes.h"
#include "devices/lighting/keyboard/self_running_modes.h"

namespace norvane::lighting::keyboard {
namespace {

using Generator = void (*)(KeyboardLightState&, const FrameInputs&, std::span<LedRecord>);

// The base class generators, adapted to the keyboard's signature.
void BaseFlash(KeyboardLightState& s, const FrameInputs& in, std::span<LedRecord> f) {
  FrameFlash(s.animation, in.params, f, in.now);
}
void BaseBreathingCycle(KeyboardLightState& s, const FrameInputs& in, std::span<LedRecord> f) {
  FrameBreathingCycle(s.animation, in.params, f);
}
void BaseFlashCycle(KeyboardLightState& s, const FrameInputs& in, std::span<LedRecord> f) {
  FrameFlashCycle(s.animation, in.params, f, in.now);
}
void BaseOff(KeyboardLightState&, const FrameInputs&, std::span<LedRecord> f) {
  FrameOff(f);
}
void BaseSpectrum(KeyboardLightState& s, const FrameInputs& in, std::span<LedRecord> f) {
  FrameSpectrum(s.animation, in.params, f);
}

// Mode 30 shows the colour the audio capture program last sent.
void FrameAudioColour(KeyboardLightState& s, const FrameInputs& in, std::span<LedRecord> f) {
  FillFrame(f, s.audioColour, BrightnessValue(in.params.brightness));
}

constexpr std::array<Generator, 46> MakeDispatch() {
  std::array<Generator, 46> table{};
  table[1] = FrameColumnWave;
  table[2] = FrameColumnRainbow;
  table[3] = FrameRings;
  table[4] = FrameSerpentine;
  table[5] = FrameKeyboardStatic;
  table[6] = FrameKeyboardBreathing;
  table[7] = FrameColumnStatic;
  table[8] = FrameKeyFade;
  table[9] = FrameRipple;
  table[10] = FrameKeyFade;
  table[13] = FrameCountdown;
  table[14] = FrameRippleHold;
  table[15] = FrameTwinkleFast;
  table[16] = FrameRipple;
  table[17] = FrameRandomDrops;
  table[18] = FrameRaindrops;
  table[19] = FrameRowWave;
  table[20] = FrameTwinkle;
  table[21] = FrameCustom;
  table[22] = FrameRippleEdges;
  table[23] = BaseFlash;
  table[24] = FrameSweepFill;
  table[26] = BaseBreathingCycle;
  table[27] = BaseFlashCycle;
  table[28] = BaseOff;
  table[29] = FrameAudioVisualisation;
  table[30] = FrameAudioColour;
  table[40] = BaseSpectrum;
  table[41] = FrameRowRainbow;
  table[42] = FrameHueCycle;
  table[43] = FrameRippleRow;
  table[44] = FrameRippleKey;
  table[45] = FrameStaticPreset;
  return table;
}

constexpr auto kDispatch = MakeDispatch();

}  // namespace

bool IsBuiltInMode(std::uint8_t mode) {
  return mode < kDispatch.size() && kDispatch[mode] != nullptr;
}

bool RenderKeyboardFrame(KeyboardLightState& state, const FrameInputs& inputs, std::span<LedRecord> frame) {
  if (!IsBuiltInMode(inputs.params.mode)) return false;
  kDispatch[inputs.params.mode](state, inputs, frame);
  return true;
}

}  // namespace norvane::lighting::keyboard
