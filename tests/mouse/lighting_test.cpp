// The mouse's own effects over its seven LED groups, frame by frame.
#include <gtest/gtest.h>

#include <vector>

#include "devices/lighting/mouse_lighting.h"

namespace norvane::lighting {
namespace {

class FixedRandom final : public RandomSource {
 public:
  std::uint32_t Next() override { return next_ += 50; }

 private:
  std::uint32_t next_ = 0;
};

LightParams Params(std::uint8_t mode, bool multi, std::uint8_t direction) {
  return {.mode = mode, .brightness = 4, .speed = 4, .direction = direction, .multiColour = std::uint8_t(multi),
          .red = 200, .green = 100, .blue = 50};
}

Rgb ColourOf(const LedRecord& led) {
  return {led.red, led.green, led.blue};
}

TEST(MouseLighting, EachGroupHoldsALedOfBothStripsAndTheLastTheRearLight) {
  EXPECT_EQ(MouseGroupLeds(0), (MouseGroup{0, kNoLed, 13}));
  EXPECT_EQ(MouseGroupLeds(5), (MouseGroup{5, kNoLed, 8}));
  EXPECT_EQ(MouseGroupLeds(6), (MouseGroup{6, 14, 7}));
  // A frame shorter than the mouse's LEDs is painted as far as it goes.
  GenericAnimation state;
  std::vector<LedRecord> shortFrame(9);
  FrameMouseWave(state, Params(mouse_mode::kWave, true, 1), shortFrame);
  EXPECT_EQ(shortFrame[8].level, 255) << "LED 8 of group 5";
}

TEST(MouseLighting, TheMultiColourWaveStepsSevenHuesFromGroupToGroup) {
  GenericAnimation state;
  std::vector<LedRecord> frame(kMouseLeds);
  FrameMouseWave(state, Params(mouse_mode::kWave, true, 1), frame);
  EXPECT_EQ(state.position, 1);
  // Hues 2, 9, ..., 44: (255, rising ramp[2], 0), (255, rising ramp[9], 0), ... (falling ramp[12], 255, 0).
  EXPECT_EQ(ColourOf(frame[0]), (Rgb{255, 5, 0}));
  EXPECT_EQ(ColourOf(frame[13]), (Rgb{255, 5, 0}));
  EXPECT_EQ(ColourOf(frame[1]), (Rgb{255, 32, 0}));
  EXPECT_EQ(ColourOf(frame[14]), (Rgb{104, 255, 0}));
  EXPECT_EQ(frame[7].level, 255);
}

TEST(MouseLighting, TheSingleColourWaveRunsTheWaveCurveBackwards) {
  GenericAnimation state;
  std::vector<LedRecord> frame(kMouseLeds);
  FrameMouseWave(state, Params(mouse_mode::kWave, false, 0), frame);
  EXPECT_EQ(state.position, 95);
  // Curve entries 0 and 7 (22 and 42) at full brightness.
  EXPECT_EQ(frame[0].level, 21);
  EXPECT_EQ(frame[1].level, 41);
  EXPECT_EQ(ColourOf(frame[12]), (Rgb{200, 100, 50}));
}

TEST(MouseLighting, TheChaseMarkRunsAlongTheGroupsFadingBehindIt) {
  FixedRandom random;
  MouseLighting lighting(random);
  lighting.StartMode();
  std::vector<LedRecord> frame(kMouseLeds);
  const LightParams params = Params(mouse_mode::kChase, false, 1);
  const auto tick = [&] {
    for (int i = 0; i < 7; ++i) lighting.Tick(params, frame, {});  // speed 4: a frame every seven ticks
  };
  tick();
  EXPECT_EQ(frame[0].level, 214) << "255 faded once: 215";
  EXPECT_EQ(frame[1].level, 0);
  tick();
  EXPECT_EQ(frame[0].level, 174) << "215 faded again: 175";
  EXPECT_EQ(frame[1].level, 214);
  EXPECT_EQ(frame[12].level, 214) << "both strips of group 1";
  EXPECT_EQ(frame[2].level, 0);
}

TEST(MouseLighting, AClickInTheReactionEffectLightsEveryLedUpAndDownAgain) {
  FixedRandom random;
  MouseLighting lighting(random);
  std::vector<LedRecord> frame(kMouseLeds);
  const LightParams params = Params(mouse_mode::kReaction, true, 0);
  const auto tick = [&] {
    for (int i = 0; i < 7; ++i) lighting.Tick(params, frame, {});
  };
  tick();
  EXPECT_EQ(frame[0].level, 0) << "nothing before a click";
  lighting.OnClick(mouse_mode::kStatic);
  tick();
  EXPECT_EQ(frame[0].level, 0) << "only the reaction effect answers clicks";

  lighting.OnClick(mouse_mode::kReaction);
  tick();
  EXPECT_EQ(frame[0].level, 14) << "15 of 255";
  // Hues 50 and 100: (falling ramp[18], 255, 0) and (0, falling ramp[4], 255).
  EXPECT_EQ(ColourOf(frame[0]), (Rgb{53, 255, 0})) << "each LED takes a hue of its own";
  EXPECT_EQ(ColourOf(frame[1]), (Rgb{0, 194, 255}));
  for (int i = 0; i < 16; ++i) tick();
  EXPECT_EQ(frame[0].level, 254) << "255 of 255: 255 × 255 ÷ 256";
  tick();
  EXPECT_EQ(frame[0].level, 239) << "falling: 240";
  for (int i = 0; i < 20; ++i) tick();
  EXPECT_EQ(frame[0].level, 0);
}

}  // namespace
}  // namespace norvane::lighting
