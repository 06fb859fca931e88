#pragma once
// Lighting of the mouse: its own wave, chase and reaction effects over its seven LED groups, and the engine
// its lighting thread runs on every tick. The groups follow the two light strips from the front: group g
// holds LEDs g and 13 − g, and the last group also the LED at the back (6, 14, 7).

#include <array>
#include <cstdint>
#include <mutex>
#include <span>

#include "devices/lighting/generic_generators.h"
#include "devices/lighting/led_record.h"
#include "devices/lighting/light_params.h"
#include "devices/lighting/random_source.h"
#include "devices/lighting/reactive_fade.h"
#include "platform/clock.h"

namespace norvane::lighting {

inline constexpr std::size_t kMouseGroups = 7;
inline constexpr std::size_t kMouseLeds = 15;
// An empty place of a group.
inline constexpr int kNoLed = -1;
using MouseGroup = std::array<int, 3>;

// The LEDs of group g (0..6), kNoLed where the group has none.
[[nodiscard]] const MouseGroup& MouseGroupLeds(std::size_t group);

// The mouse's light modes.
namespace mouse_mode {
inline constexpr std::uint8_t kWave = 0;
inline constexpr std::uint8_t kSpectrum = 1;
inline constexpr std::uint8_t kBreathing = 2;
inline constexpr std::uint8_t kStatic = 3;
inline constexpr std::uint8_t kFlash = 4;
inline constexpr std::uint8_t kChase = 5;
inline constexpr std::uint8_t kReaction = 6;
inline constexpr std::uint8_t kBreathingCycle = 7;
inline constexpr std::uint8_t kFlashCycle = 8;
inline constexpr std::uint8_t kOff = 9;
}  // namespace mouse_mode

// The reaction effect's per-LED state: each LED rises to full and falls back after a click.
struct ReactionLed {
  std::uint8_t phase = 0;  // 0 idle, 1 rising, 2 falling
  std::uint8_t fade = 0;
  std::uint8_t hue = 0;
};
using ReactionState = std::array<ReactionLed, kMouseLeds>;

// A wave of colour along the groups (the keyboard's column wave over seven groups).
void FrameMouseWave(GenericAnimation& state, const LightParams& params, std::span<LedRecord> frame);
// A mark running along the groups, each fading out behind it.
void FrameMouseChase(GenericAnimation& state, ReactiveBuffers& buffers, const LightParams& params,
                     std::span<LedRecord> frame);
// Every LED after a click: up to full in steps of 15, then back down.
void FrameMouseReaction(ReactionState& reaction, const LightParams& params, std::span<LedRecord> frame);
// A click in the reaction effect: every LED starts rising with a hue of its own.
void StartReaction(ReactionState& reaction, RandomSource& random);

class MouseLighting {
 public:
  explicit MouseLighting(RandomSource& random) : random_(random) {}

  // One tick of the lighting thread: the live mode renders every 28, 23, 18, 13 or 7 ticks (speed level 0
  // to 4); modes above 9 show nothing new.
  void Tick(const LightParams& live, std::span<LedRecord> frame, Clock::TimePoint now);
  // The live mode changed: the chase starts again with its mark at the first group.
  void StartMode();
  // The mouse reported a click (only the reaction mode answers it).
  void OnClick(std::uint8_t liveMode);

  GenericAnimation Animation() const;

 private:
  mutable std::mutex mutex_;
  RandomSource& random_;
  GenericAnimation animation_;
  ReactiveBuffers buffers_;
  ReactionState reaction_{};
  unsigned ticks_ = 0;
};

}  // namespace norvane::lighting
