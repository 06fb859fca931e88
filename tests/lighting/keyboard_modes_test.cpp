#include "devices/lighting/keyboard/keyboard_modes.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <vector>

#include "devices/lighting/keyboard/frame_timing.h"
#include "devices/lighting/keyboard/keyboard_lighting.h"
#include "devices/lighting/keyboard/mode_startup.h"
#include "devices/lighting/light_tables.h"
#include "devices/lighting/reactive_fade.h"
#include "fixed_random.h"

namespace norvane::lighting::keyboard {
namespace {

using namespace std::chrono_literals;
using lighting::testing::FixedRandom;

constexpr std::uint8_t kFullLevel = 255;

LightParams Live(std::uint8_t mode, std::uint8_t speed = 4, bool multi = false, bool forward = true) {
  LightParams p;
  p.mode = mode;
  p.speed = speed;
  p.brightness = 4;
  p.multiColour = multi ? 1 : 0;
  p.direction = forward ? 1 : 0;
  p.red = 255;
  p.green = 128;
  p.blue = 64;
  return p;
}

Rgb ColourOf(const LedRecord& led) {
  return {led.red, led.green, led.blue};
}

// A keyboard page's lighting as its thread runs it: start the mode, then tick.
struct Keyboard {
  FixedRandom random{{0}};
  KeyboardLighting lighting{random};
  std::vector<LedRecord> frame = std::vector<LedRecord>(kLedSlots);
  Clock::TimePoint now{1s};

  explicit Keyboard(std::vector<std::uint32_t> randomValues = {0}) : random(std::move(randomValues)) {}
  void Start(const LightParams& live) { lighting.StartMode(live.mode, frame); }
  void Ticks(const LightParams& live, int count) {
    for (int i = 0; i < count; ++i) {
      lighting.Tick(live, frame, now);
      now += 15625us;
    }
  }
};

// Runs a generator directly on a state.
struct Generator {
  FixedRandom random;
  KeyboardLightState state;
  std::vector<LedRecord> frame = std::vector<LedRecord>(kLedSlots);

  explicit Generator(std::vector<std::uint32_t> randomValues = {0}) : random(std::move(randomValues)) {}
  void Start(std::uint8_t mode) { StartKeyboardMode(state, mode, frame); }
  void Frames(const LightParams& live, int count) {
    for (int i = 0; i < count; ++i)
      ASSERT_TRUE(RenderKeyboardFrame(state, FrameInputs{live, {}, random}, frame));
  }
};

TEST(FrameTiming, FollowsTheTableAndClampsTheSpeed) {
  EXPECT_EQ(FrameInterval(1, 0), 8);
  EXPECT_EQ(FrameInterval(1, 3), 1);
  EXPECT_EQ(FrameInterval(1, 4), 0);
  EXPECT_EQ(FrameInterval(2, 0), 12);
  EXPECT_EQ(FrameInterval(2, 3), 0);
  EXPECT_EQ(FrameInterval(17, 3), 3);
  EXPECT_EQ(FrameInterval(19, 4), 0);
  EXPECT_EQ(FrameInterval(29, 4), 2);
  EXPECT_EQ(FrameInterval(26, 1), FrameInterval(6, 1));
  EXPECT_EQ(FrameInterval(42, 0), 8);
  EXPECT_EQ(FrameInterval(5, 77), 0) << "a speed beyond the table counts as the fastest";
}

TEST(KeyboardLighting, AtSpeedZeroAFrameComesEveryEighthTick) {
  Keyboard kb;
  const LightParams live = Live(1, 0, true);
  kb.Start(live);
  kb.Ticks(live, 7);
  EXPECT_EQ(kb.frame[0].level, 0) << "nothing rendered yet";
  kb.Ticks(live, 1);
  EXPECT_EQ(kb.frame[0].level, kFullLevel);
  EXPECT_EQ(kb.lighting.StateSnapshot().animation.position, 1);
  kb.Ticks(live, 8);
  EXPECT_EQ(kb.lighting.StateSnapshot().animation.position, 2);
}

TEST(KeyboardLighting, ColumnWaveFirstFrames) {
  Keyboard kb;
  const LightParams multi = Live(1, 4, true);
  kb.Start(multi);
  kb.Ticks(multi, 3);
  // position 3: column k shows wheel entry 4 + 7k.
  EXPECT_EQ(ColourOf(kb.frame[120]), Wheel(4));        // column 0
  EXPECT_EQ(ColourOf(kb.frame[0]), Wheel(4 + 14));     // column 2
  EXPECT_EQ(ColourOf(kb.frame[131]), Wheel(4 + 154));  // column 22
  EXPECT_EQ(kb.frame[131].level, kFullLevel);

  const LightParams single = Live(1, 4, false);
  kb.Ticks(single, 1);
  EXPECT_EQ(ColourOf(kb.frame[0]), (Rgb{255, 128, 64}));
  EXPECT_EQ(kb.frame[0].level, Scale(kFullLevel, WaveLevel(5 + 14)));
  EXPECT_EQ(kb.frame[160].level, 0) << "LEDs outside the geometry stay dark";
}

TEST(KeyboardModes, ColumnRainbowUsesTheColumnIndexForThePulse) {
  Generator g;
  g.Start(2);
  g.Frames(Live(2, 4, false), 1);
  // position 1: column k at pulse[(1 + 25k) mod 96].
  EXPECT_EQ(g.frame[120].level, Scale(kFullLevel, kPulse[1]));
  EXPECT_EQ(g.frame[21].level, Scale(kFullLevel, kPulse[26]));
  EXPECT_EQ(g.frame[41].level, Scale(kFullLevel, kPulse[(1 + 25 * 22) % 96]));
  g.Frames(Live(2, 4, true), 1);
  EXPECT_EQ(ColourOf(g.frame[0]), Wheel(2 + 44));
}

TEST(KeyboardModes, RingsStaticBreathingAndColumnStatic) {
  Generator g;
  g.Start(3);
  g.Frames(Live(3), 1);
  EXPECT_EQ(ColourOf(g.frame[49]), (Rgb{0, 180, 255}));
  EXPECT_EQ(g.frame[49].level, Scale(kFullLevel, WaveLevel(2)));
  EXPECT_EQ(g.frame[28].level, Scale(kFullLevel, WaveLevel(13)));
  g.Frames(Live(3, 4, false, false), 2);
  EXPECT_EQ(g.state.animation.colourIndex, 95) << "down: 2, 0, then a restart at 95";

  g.Start(5);
  g.Frames(Live(5, 4, true), 1);
  EXPECT_EQ(ColourOf(g.frame[49]), Wheel(138));
  EXPECT_EQ(ColourOf(g.frame[28]), Wheel(126));
  EXPECT_EQ(g.frame[160].level, 0);

  g.Start(6);
  g.Frames(Live(6, 4, true), 1);
  EXPECT_EQ(ColourOf(g.frame[1]), Wheel(21));  // column 3
  EXPECT_EQ(g.frame[1].level, Scale(Breathing(1), kFullLevel));

  g.Start(7);
  g.Frames(Live(7), 1);
  EXPECT_EQ(g.frame[0].level, Scale(kFullLevel, 229));  // column 2
  EXPECT_EQ(g.frame[41].level, 0);                      // column 22 fades out completely
}

TEST(KeyboardModes, SerpentineFollowsTheLedOrder) {
  Generator g;
  g.Start(4);
  g.Frames(Live(4, 4, true), 1);
  EXPECT_EQ(ColourOf(g.frame[15]), Wheel(1));
  EXPECT_EQ(ColourOf(g.frame[14]), Wheel(6));
  EXPECT_EQ(ColourOf(g.frame[21]), Wheel(1 + 5 * 16));
}

TEST(KeyboardModes, StartUpSeedsTheTwinkleAndRaindropPhases) {
  Generator g;
  g.Start(15);
  EXPECT_EQ(g.state.phase[0], 100);  // column 2, row 1
  EXPECT_EQ(g.state.hue[0], 14);
  EXPECT_EQ(g.state.phase[105], 72);   // column 0, row 6: the first seed of column 1
  EXPECT_EQ(g.state.phase[111], 192);  // column 12, row 6
  g.Frames(Live(15, 4, true), 1);
  EXPECT_EQ(g.state.phase[21], 34);
  EXPECT_EQ(g.frame[21].level, Scale(kFullLevel, kPulse[34]));
  EXPECT_EQ(ColourOf(g.frame[21]), Wheel(7));

  g.Start(20);
  EXPECT_EQ(g.state.phase[120], 157);  // column 0, row 1
  EXPECT_EQ(g.state.phase[126], 170);  // column 5: 152, 117, 82, 47, 12, then the wrap
  EXPECT_EQ(g.state.hue[126], 30);

  g.Start(18);
  EXPECT_EQ(g.state.phase[kLedOrder[kRandomOrder[1]]], 7);
  EXPECT_EQ(g.state.phase[kLedOrder[kRandomOrder[20]]], 140 % 112);

  g.Start(1);
  EXPECT_EQ(g.state.hue[0], 33);
  EXPECT_EQ(g.state.hue[5], 6);
}

TEST(KeyboardModes, TwinkleTakesARandomHueWhenItsPhaseRestarts) {
  Generator g({57});
  g.Start(15);
  g.Frames(Live(15, 4, true), 1);
  EXPECT_EQ(g.state.phase[111], 0) << "192 + 2 starts again";
  EXPECT_EQ(g.state.hue[111], 57);
}

TEST(KeyboardModes, RandomDropsLightSixRandomKeys) {
  Generator g({0, 50, 1, 51, 2, 52, 3, 53, 4, 54, 5, 55});
  g.Start(17);
  g.Frames(Live(17, 4, true), 1);
  for (std::uint32_t i = 0; i < 6; ++i) {
    const std::uint8_t led = kLedOrder[kRandomOrder[i]];
    EXPECT_EQ(g.state.fade[led], 215) << "lit, then faded once";
    EXPECT_EQ(ColourOf(g.frame[led]), Wheel(50 + i));
    EXPECT_EQ(g.frame[led].level, Scale(kFullLevel, 215));
  }
}

TEST(KeyboardModes, RaindropsAndRowWave) {
  Generator g;
  g.Start(18);
  g.Frames(Live(18), 1);
  const std::uint8_t led = kLedOrder[kRandomOrder[1]];
  EXPECT_EQ(g.state.phase[led], 8);
  EXPECT_EQ(g.state.fade[led], FadeStep(kDrop[8], 18));

  g.Start(19);
  g.Frames(Live(19), 1);
  EXPECT_EQ(g.frame[15].level, Scale(kFullLevel, kRowFade[2]));  // row 0
  EXPECT_EQ(g.frame[21].level, Scale(kFullLevel, kRowFade[6]));  // row 1
  g.Frames(Live(19, 4, false, false), 3);
  EXPECT_EQ(g.state.animation.position, 21) << "backwards from 1: 0, 22, 21";
}

TEST(KeyboardModes, SweepFillRunsBothWaysWithoutLeavingItsTable) {
  Generator g;
  g.Start(24);
  g.Frames(Live(24, 4, false, false), 1);
  EXPECT_EQ(g.state.fade[0], FadeStep(254, 13));
  EXPECT_EQ(g.state.animation.position, 169) << "restarts at the last entry";
  g.Frames(Live(24, 4, false, false), 200);
  g.Frames(Live(24, 4, false, true), 200);
  EXPECT_LT(g.state.animation.position, kFillOrder.size());
}

TEST(KeyboardModes, CustomPresetHueCycleAndRowRainbow) {
  Generator g;
  g.frame[3] = {10, 20, 30, 0, 1};
  g.Start(21);
  EXPECT_EQ(g.frame[3].red, 10) << "mode 21 keeps the custom colours";
  LightParams custom = Live(21);
  custom.brightness = 1;
  g.Frames(custom, 1);
  EXPECT_EQ(g.frame[3], (LedRecord{10, 20, 30, 80, 1}));

  LightParams preset = Live(45);
  preset.presetColour = 2;
  g.Start(45);
  g.Frames(preset, 1);
  EXPECT_EQ(ColourOf(g.frame[3]), Wheel(70));
  preset.presetColour = 9;
  g.Frames(preset, 1);
  EXPECT_EQ(ColourOf(g.frame[3]), Wheel(174));

  g.Start(42);
  g.Frames(Live(42), 1);
  EXPECT_EQ(ColourOf(g.frame[5]), Wheel(7));  // start-up hue 6, plus one

  g.Start(41);
  g.Frames(Live(41), 1);
  EXPECT_EQ(ColourOf(g.frame[21]), Wheel(2 + 7));  // row 1
}

TEST(KeyboardModes, CountdownRunsThroughItsStagesAndStartsAgain) {
  Generator g;
  g.Start(13);
  const LightParams live = Live(13);
  std::vector<int> stageStarts;
  int lastStage = 0;
  for (int frame = 1; frame < 3000 && stageStarts.size() < 7; ++frame) {
    g.Frames(live, 1);
    if (g.state.countdown.stage != lastStage) {
      lastStage = g.state.countdown.stage;
      stageStarts.push_back(frame);
      if (lastStage == 1) {
        for (std::uint8_t led : kSweepOrder) {
          if (led != kNoLed) {
            ASSERT_EQ(g.state.fade[led], 255) << "the whole sweep is lit";
          }
        }
      }
    }
  }
  ASSERT_EQ(stageStarts.size(), 7u);
  EXPECT_EQ(stageStarts[0], 132 + 110 + 88 + 66 + 44 + 22);
  EXPECT_EQ(stageStarts[1] - stageStarts[0], 132);
  EXPECT_EQ(stageStarts[3] - stageStarts[2], 384) << "three breaths of the two inner rings";
  EXPECT_EQ(stageStarts[4] - stageStarts[3], 10);
  EXPECT_EQ(stageStarts[5] - stageStarts[4], 1);
  EXPECT_EQ(stageStarts[6] - stageStarts[5], 21);
  EXPECT_EQ(g.state.countdown.limit, 132);
}

TEST(KeyboardLighting, OtherModesPlayTheirCustomStepsAndTheOverlayDrawsOnTop) {
  Keyboard kb;
  EXPECT_FALSE(IsBuiltInMode(11));
  EXPECT_FALSE(IsBuiltInMode(35));
  EXPECT_FALSE(IsBuiltInMode(200));
  LightStep red;
  red.mode = 1;
  red.brightness = 4;
  red.red = 255;
  red.timeMs = 1000;
  kb.lighting.SetCustomSteps({red});
  PerLedEffect blink;
  blink.type = 2;
  blink.brightness = 2;
  blink.red = 1;
  blink.green = 2;
  blink.blue = 3;
  std::vector<PerLedEffect> effects(kLedSlots);
  effects[7] = blink;
  kb.lighting.SetPerKeyEffects(effects);
  kb.Ticks(Live(11), 1);
  EXPECT_EQ(kb.frame[0], (LedRecord{255, 0, 0, 255, 0}));
  EXPECT_EQ(kb.frame[7], (LedRecord{1, 2, 3, 135, 0}));
}

}  // namespace
}  // namespace norvane::lighting::keyboard
