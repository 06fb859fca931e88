#pragma once
// Lighting of the devices with a short row of LEDs (the mouse pad and the headset): their own wave and
// sweep effects, and the engine their lighting threads run on every tick.

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "devices/lighting/custom_step_player.h"
#include "devices/lighting/generic_generators.h"
#include "devices/lighting/keyboard/per_key_overlay.h"
#include "devices/lighting/led_record.h"
#include "devices/lighting/light_params.h"
#include "devices/lighting/reactive_fade.h"
#include "platform/clock.h"

namespace norvane::lighting {

enum class StripKind { MousePad, Headset };

// The sweep effects' memory: one fade value per LED and the column buffer whose marks run along the strip.
struct SweepState {
  ReactiveBuffers buffers;
  std::uint8_t frameCounter = 0;
};

void FramePadWave(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame);
void FrameHeadsetWave(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame);
// A mark runs along the LEDs, each fading out behind it.
void FrameColumnSweep(GenericAnimation& state, SweepState& sweep, const LightParams& params,
                      std::span<LedRecord> frame);
// The same along seven pairs of LEDs that face each other: (1, 14), (2, 13) ... (7, 8).
void FramePairSweep(GenericAnimation& state, SweepState& sweep, const LightParams& params,
                    std::span<LedRecord> frame);

class StripLighting {
 public:
  explicit StripLighting(StripKind kind) : kind_(kind) {}

  // One tick of the lighting thread: the live mode renders every 28, 23, 18, 13 or 7 ticks (speed level 0
  // to 4); modes 5 and 9 upward play the custom steps on every tick; the per-key effects go on top.
  void Tick(const LightParams& live, std::span<LedRecord> frame, Clock::TimePoint now);

  // The live mode changed: the sweeps start again from the first LED.
  void StartMode();

  void SetPerKeyEffects(std::vector<PerLedEffect> effects);
  void SetCustomSteps(std::vector<LightStep> steps) { customSteps_.SetSteps(std::move(steps)); }

 private:
  void Render(const LightParams& live, std::span<LedRecord> frame, Clock::TimePoint now);

  std::mutex mutex_;
  StripKind kind_;
  GenericAnimation animation_;
  SweepState sweep_;
  keyboard::PerKeyOverlay overlay_;
  CustomStepPlayer customSteps_;
  unsigned ticksSinceFrame_ = 0;
};

}  // namespace norvane::lighting
