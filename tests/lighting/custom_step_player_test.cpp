#include "devices/lighting/custom_step_player.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>

#include "devices/lighting/light_tables.h"

namespace norvane::lighting {
namespace {

using namespace std::chrono_literals;

LightStep Step(std::uint8_t mode, std::uint32_t timeMs, Rgb colour = {200, 100, 50}) {
  LightStep step;
  step.mode = mode;
  step.brightness = 4;
  step.speed = 4;
  step.red = colour.red;
  step.green = colour.green;
  step.blue = colour.blue;
  step.timeMs = timeMs;
  return step;
}

// Plays the player on the lighting tick from a fixed start, like the lighting thread does.
struct Playback {
  CustomStepPlayer player;
  std::array<LedRecord, 8> frame{};
  Clock::TimePoint now{10s};
  std::uint8_t pageSpeed = 4;

  void Ticks(int count) {
    for (int i = 0; i < count; ++i) {
      player.PlayTick(frame, now, pageSpeed);
      now += 15625us;
    }
  }
  Rgb Colour(std::size_t n = 0) const { return {frame[n].red, frame[n].green, frame[n].blue}; }
};

TEST(CustomStepPlayer, AnEmptyListTurnsEveryLedOffOnEveryCall) {
  Playback p;
  for (LedRecord& led : p.frame) led = {1, 2, 3, 4, 0};
  p.Ticks(1);
  for (const LedRecord& led : p.frame) EXPECT_EQ(led, LedRecord{});
  p.frame[3].level = 9;
  p.Ticks(1);
  EXPECT_EQ(p.frame[3].level, 0);
}

TEST(CustomStepPlayer, ThreeStepsOfOneSecondEachRepeat) {
  Playback p;
  p.player.SetSteps({Step(1, 1000, {255, 0, 0}), Step(1, 1000, {0, 255, 0}), Step(1, 1000, {0, 0, 255})});
  std::vector<std::size_t> switchTicks;
  std::size_t index = 0;
  for (int tick = 0; tick < 64 * 4; ++tick) {
    p.Ticks(1);
    EXPECT_EQ(p.Colour(), (std::array<Rgb, 3>{{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}}[index])) << tick;
    if (p.player.StepIndex() != index) {
      index = p.player.StepIndex();
      switchTicks.push_back(tick);
    }
  }
  // "More than 1000 ms" is first true 65 ticks (1015.6 ms) after a step starts.
  EXPECT_EQ(switchTicks, (std::vector<std::size_t>{65, 130, 195}));
  EXPECT_EQ(index, 0u) << "after the third step the list starts again";
}

TEST(CustomStepPlayer, ModeThreeLeavesTheFrameAsThePreviousStepLeftIt) {
  Playback p;
  p.player.SetSteps({Step(1, 100, {9, 8, 7}), Step(3, 2000)});
  p.Ticks(8);
  ASSERT_EQ(p.player.StepIndex(), 1u);
  const auto before = p.frame;
  p.Ticks(100);
  EXPECT_EQ(p.frame, before);
  EXPECT_EQ(p.Colour(), (Rgb{9, 8, 7}));
}

TEST(CustomStepPlayer, ANewListStartsAtItsFirstStepWithinTheOldStepsTime) {
  Playback p;
  p.player.SetSteps({Step(1, 1000, {1, 1, 1}), Step(1, 1000, {2, 2, 2})});
  p.Ticks(40);  // 625 ms into the first step
  p.player.SetSteps({Step(1, 1000, {3, 3, 3}), Step(1, 1000, {4, 4, 4})});
  EXPECT_EQ(p.player.StepCount(), 2u);
  p.Ticks(1);
  EXPECT_EQ(p.Colour(), (Rgb{3, 3, 3}));
  p.Ticks(25);  // the old step's time runs out 65 ticks after it started
  EXPECT_EQ(p.player.StepIndex(), 1u);
}

TEST(CustomStepPlayer, BreathingStepMovesOnTheThresholdAndScalesByBrightness) {
  Playback p;
  LightStep breathing = Step(0, 60000);
  breathing.speed = 0;       // 28 ticks per position
  breathing.brightness = 7;  // out of range: the top level
  p.player.SetSteps({breathing});
  p.Ticks(27);
  EXPECT_EQ(p.frame[0].level, Scale(Breathing(0), 255));
  p.Ticks(1);
  EXPECT_EQ(p.frame[0].level, Scale(Breathing(1), 255));
  EXPECT_EQ(p.Colour(), (Rgb{200, 100, 50}));
}

TEST(CustomStepPlayer, FlashStepBlinksAtThePageSpeedNotTheStepSpeed) {
  Playback p;
  p.pageSpeed = 4;  // 1400 ms
  LightStep flash = Step(2, 60000);
  flash.speed = 0;
  p.player.SetSteps({flash});
  p.Ticks(1);
  EXPECT_EQ(p.frame[0].level, 255);
  p.Ticks(90);  // the 90th tick after the first is 1406 ms later: one change
  EXPECT_EQ(p.frame[0].level, 0);
}

TEST(CustomStepPlayer, WaveAndSpectrumStepsUseTheWheel) {
  Playback p;
  LightStep wave = Step(4, 60000);
  wave.multiColour = 1;
  wave.speed = 4;  // threshold 7
  p.player.SetSteps({wave});
  p.Ticks(7);
  // position 1, start index 2: LED n shows wheel entry 2 + 12 n.
  for (std::size_t n = 0; n < p.frame.size(); ++n) EXPECT_EQ(p.Colour(n), Wheel(2 + 12 * n)) << n;

  LightStep single = wave;
  single.multiColour = 0;
  single.direction = 1;
  p.player.SetSteps({single});
  p.Ticks(7);
  // position 2, backwards start index 190: LED n's level follows the wave curve.
  for (std::size_t n = 0; n < p.frame.size(); ++n) {
    EXPECT_EQ(p.frame[n].level, Scale(255, WaveLevel(190 + 12 * (n + 1)))) << n;
  }

  LightStep spectrum = Step(5, 60000);
  spectrum.speed = 4;  // threshold 0: every tick
  p.player.SetSteps({spectrum});
  p.Ticks(1);
  EXPECT_EQ(p.Colour(), Wheel(3));
  p.Ticks(1);
  EXPECT_EQ(p.Colour(), Wheel(4));
}

}  // namespace
}  // namespace norvane::lighting
