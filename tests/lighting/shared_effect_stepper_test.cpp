// The effect that all synchronised devices show: the colour word each step gives (red | green << 8 |
// blue << 16 | level << 24), how each type moves, and how many lighting ticks one step waits.
#include "devices/lighting/shared_effect_stepper.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace norvane::lighting {
namespace {

using namespace std::chrono_literals;

constexpr Clock::TimePoint kStart{};

SharedEffect Effect(std::uint8_t type, std::uint8_t brightness, std::uint8_t red = 255, std::uint8_t green = 0,
                    std::uint8_t blue = 0) {
  return SharedEffect{.type = type, .brightness = brightness, .speed = 0, .direction = 1, .multiColour = 0,
                      .red = red, .green = green, .blue = blue};
}

TEST(SharedEffectStepper, ColourWordsOfStaticAndOff) {
  SharedEffectState state;
  EXPECT_EQ(StepSharedEffect(state, Effect(kSharedStatic, 4), kStart), 0xFF0000FFu) << "red at 255";
  EXPECT_EQ(StepSharedEffect(state, Effect(kSharedStatic, 1, 0x10, 0x20, 0x30), kStart), 0x50302010u)
      << "brightness level 1 is 80 (0x50)";
  EXPECT_EQ(StepSharedEffect(state, Effect(kSharedOff, 4), kStart), 0u);
}

TEST(SharedEffectStepper, BreathingScalesTheBrightnessByTheCurve) {
  // Upwards from 0 the curve's peak (255) is reached at position 63.
  SharedEffectState state;
  std::uint32_t word = 0;
  for (int step = 0; step < 63; ++step) word = StepSharedEffect(state, Effect(kSharedBreathing, 2), kStart);
  EXPECT_EQ(state.position, 63);
  EXPECT_EQ(word, 0x860000FFu) << "135 x 255 / 256 = 134 (0x86)";
  word = StepSharedEffect(state, Effect(kSharedBreathing, 2), kStart);
  EXPECT_EQ(word >> 24, 134u) << "position 64 holds 255 too";
}

TEST(SharedEffectStepper, BreathingWrapsByDirection) {
  SharedEffect up = Effect(kSharedBreathing, 4);
  SharedEffectState state;
  state.position = 127;
  (void)StepSharedEffect(state, up, kStart);
  EXPECT_EQ(state.position, 0);
  EXPECT_EQ(StepSharedEffect(state, up, kStart) >> 24, 0u) << "curve entry 1 is 1: 255 x 1 / 256 = 0";

  SharedEffect down = up;
  down.direction = 0;
  state.position = 0;
  (void)StepSharedEffect(state, down, kStart);
  EXPECT_EQ(state.position, 127);
  (void)StepSharedEffect(state, down, kStart);
  EXPECT_EQ(state.position, 126);
}

TEST(SharedEffectStepper, ColourfulBreathingTakesTheWheelAndMovesOnNearTheBottom) {
  SharedEffect effect = Effect(kSharedBreathing, 4);
  effect.multiColour = 1;
  SharedEffectState state;
  state.position = 126;
  (void)StepSharedEffect(state, effect, kStart);  // 127
  EXPECT_EQ(state.colourIndex, 0);
  (void)StepSharedEffect(state, effect, kStart);  // 0
  EXPECT_EQ(state.colourIndex, 16);
  const std::uint32_t word = StepSharedEffect(state, effect, kStart);  // 1
  EXPECT_EQ(state.colourIndex, 32);
  // Wheel entry 32 starts the second segment: (D[0], 255, 0) = (248, 255, 0).
  EXPECT_EQ(word & 0xFFFFFFu, 0x00FFF8u);
  state.colourIndex = 176;
  state.position = 127;
  (void)StepSharedEffect(state, effect, kStart);
  EXPECT_EQ(state.colourIndex, 0) << "back to 0 where it would reach 192";
}

TEST(SharedEffectStepper, SpectrumWalksTheWheelAtTheBrightness) {
  SharedEffectState state;
  state.colourIndex = 190;
  const SharedEffect effect = Effect(kSharedSpectrum, 3);
  EXPECT_EQ(StepSharedEffect(state, effect, kStart) >> 24, 195u);
  EXPECT_EQ(state.colourIndex, 191);
  const std::uint32_t word = StepSharedEffect(state, effect, kStart);
  EXPECT_EQ(state.colourIndex, 0);
  EXPECT_EQ(word, 0xC30001FFu) << "wheel entry 0 is (255, 1, 0)";
}

TEST(SharedEffectStepper, FlashFlipsEveryBlinkIntervalAndMovesTheWheel) {
  // Speed level 4: 7 x 200 ms between flips.
  SharedEffect effect = Effect(kSharedFlash, 4);
  effect.speed = 4;
  SharedEffectState state;
  state.lastFlip = kStart;
  EXPECT_EQ(StepSharedEffect(state, effect, kStart + 1399ms), 0u) << "still dark";
  EXPECT_EQ(StepSharedEffect(state, effect, kStart + 1400ms), 0xFF0000FFu);
  EXPECT_EQ(state.wheelPosition, 14);
  EXPECT_EQ(StepSharedEffect(state, effect, kStart + 2000ms), 0xFF0000FFu) << "on until the next interval";
  EXPECT_EQ(StepSharedEffect(state, effect, kStart + 2800ms), 0u);
  EXPECT_EQ(state.wheelPosition, 28);

  effect.multiColour = 1;
  state.wheelPosition = 182;
  EXPECT_NE(StepSharedEffect(state, effect, kStart + 4200ms), 0u);
  EXPECT_EQ(state.wheelPosition, 4) << "182 + 14 wraps at 192";
}

TEST(SharedEffectStepper, TicksPerStepFollowTheSpeedLevel) {
  const std::vector<int> thresholds{SharedEffectThreshold(0), SharedEffectThreshold(1), SharedEffectThreshold(2),
                                    SharedEffectThreshold(3), SharedEffectThreshold(4)};
  EXPECT_EQ(thresholds, (std::vector<int>{28, 23, 18, 13, 7}));
  EXPECT_EQ(SharedEffectThreshold(9), 7) << "a level above 4 counts as 4";
}

}  // namespace
}  // namespace norvane::lighting
