#pragma once
// The keyboard's lighting engine: what its lighting thread does on every tick, and the entry points
// through which the UI thread (mode changes, per-key effects, audio colour) and the event thread (key
// presses) feed it. All of them lock one internal mutex, so the three threads can call in freely; the frame
// buffer itself belongs to the caller, who guards it against its own readers.

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "devices/lighting/custom_step_player.h"
#include "devices/lighting/keyboard/keyboard_light_state.h"
#include "devices/lighting/keyboard/per_key_overlay.h"
#include "devices/lighting/led_record.h"
#include "devices/lighting/light_params.h"
#include "devices/lighting/random_source.h"
#include "platform/clock.h"

namespace norvane::lighting::keyboard {

class KeyboardLighting {
 public:
  explicit KeyboardLighting(RandomSource& random) : random_(random) {}

  // One tick of the lighting thread (64 per second). live carries the keyboard's live mode and speed.
  // A built-in mode renders when its frame interval has passed; any other mode plays its custom steps on
  // every tick. The per-key effects are drawn over the result.
  void Tick(const LightParams& live, std::span<LedRecord> frame, Clock::TimePoint now);

  // The live mode changed (or is 21 and was reloaded): reset and seed the mode.
  void StartMode(std::uint8_t mode, std::span<LedRecord> frame);

  // A key event from the keyboard at a device key position (see TriggerKey).
  void OnKeyEvent(std::uint8_t liveMode, std::span<const std::uint8_t> keyPositions,
                  std::uint8_t devicePosition, std::uint8_t action);

  void SetPerKeyEffects(std::vector<PerLedEffect> effects);
  void SetCustomSteps(std::vector<LightStep> steps) { customSteps_.SetSteps(std::move(steps)); }
  // The audio light record of the page (visualisation and colours of mode 29).
  void SetAudioLight(const AudioLight& light);
  // Sound levels from the audio capture program, for mode 29.
  void FeedAudioLevels(std::uint8_t liveMode, std::span<const std::int32_t> levels);
  // Sound bands from the audio capture program; the first three are the red, green and blue of mode 30.
  void FeedAudioBands(std::span<const std::int32_t> bands);

  // A copy of the effect state, for inspection.
  KeyboardLightState StateSnapshot() const;

 private:
  mutable std::mutex mutex_;
  RandomSource& random_;
  KeyboardLightState state_;
  PerKeyOverlay overlay_;
  CustomStepPlayer customSteps_;
  unsigned ticksSinceFrame_ = 0;
};

}  // namespace norvane::lighting::keyboard
