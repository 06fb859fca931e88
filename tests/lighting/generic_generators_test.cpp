#include "devices/lighting/generic_generators.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <vector>

#include "devices/lighting/light_tables.h"

namespace norvane::lighting {
namespace {

using namespace std::chrono_literals;

LightParams Params(std::uint8_t brightness, bool multi, bool forward = true) {
  LightParams p;
  p.brightness = brightness;
  p.multiColour = multi ? 1 : 0;
  p.direction = forward ? 1 : 0;
  p.red = 10;
  p.green = 20;
  p.blue = 30;
  return p;
}

void ExpectUniform(std::span<const LedRecord> frame, Rgb colour, std::uint8_t level) {
  for (const LedRecord& led : frame) {
    ASSERT_EQ((Rgb{led.red, led.green, led.blue}), colour);
    ASSERT_EQ(led.level, level);
  }
}

TEST(FrameBreathing, PositionRunsThroughTheCurveAndColourIndexAdvancesPerBreath) {
  GenericAnimation state;
  std::array<LedRecord, 4> frame{};
  const LightParams params = Params(4, true);
  std::vector<std::uint8_t> indexes;
  for (int call = 1; call <= 128 * 14; ++call) {
    FrameBreathing(state, params, frame);
    ASSERT_EQ(state.position, call % 128);
    ExpectUniform(frame, Wheel(state.colourIndex), Scale(Breathing(state.position), 255));
    if (state.position == 0) indexes.push_back(state.colourIndex);
  }
  const std::vector<std::uint8_t> expected = {16, 32, 48, 64, 80, 96, 112, 128, 144, 160, 176, 192, 0, 16};
  EXPECT_EQ(indexes, expected);
}

TEST(FrameBreathing, FixedColourBackwardAndScaledByBrightness) {
  GenericAnimation state;
  state.position = 60;
  std::array<LedRecord, 2> frame{};
  frame[1].mark = 7;
  FrameBreathing(state, Params(2, false, false), frame);
  EXPECT_EQ(state.position, 59);
  ExpectUniform(frame, Rgb{10, 20, 30}, Scale(Breathing(59), 135));
  EXPECT_EQ(frame[1].mark, 7) << "generators keep the mark byte";

  state.position = 0;
  FrameBreathing(state, Params(2, false, false), frame);
  EXPECT_EQ(state.position, 127);
}

TEST(FrameBreathingCycle, PicksTheFourColoursInTurn) {
  GenericAnimation state;
  std::array<LedRecord, 1> frame{};
  std::vector<Rgb> colours;
  for (int call = 0; call < 128 * 5; ++call) {
    FrameBreathingCycle(state, Params(4, false), frame);
    if (state.position == 0) colours.push_back({frame[0].red, frame[0].green, frame[0].blue});
  }
  const std::vector<Rgb> expected = {FourColour(1), FourColour(2), FourColour(3), FourColour(0),
                                     FourColour(1)};
  EXPECT_EQ(colours, expected);
}

TEST(FrameStaticAndSpectrum, UseTheBrightnessValueAndTheWheel) {
  std::array<LedRecord, 3> frame{};
  FrameStatic(Params(9, false), frame);  // an out-of-range level from a file
  ExpectUniform(frame, Rgb{10, 20, 30}, 255);

  GenericAnimation state;
  FrameSpectrum(state, Params(1, false, false), frame);
  EXPECT_EQ(state.colourIndex, 191);
  ExpectUniform(frame, Wheel(191), 80);
  FrameSpectrum(state, Params(1, false, true), frame);
  EXPECT_EQ(state.colourIndex, 0);

  FrameOff(frame);
  ExpectUniform(frame, Rgb{}, 0);
}

class FrameFlashTiming : public ::testing::TestWithParam<std::pair<std::uint8_t, std::chrono::milliseconds>> {
};

TEST_P(FrameFlashTiming, ChangesPhaseAfterTheSpeedLevelsInterval) {
  const auto [speed, interval] = GetParam();
  GenericAnimation state;
  LightParams params = Params(4, false);
  params.speed = speed;
  std::array<LedRecord, 2> frame{};
  const Clock::TimePoint start{100s};

  FrameFlash(state, params, frame, start);
  EXPECT_TRUE(state.blinkOn) << "the first frame switches on at once";
  ExpectUniform(frame, Rgb{10, 20, 30}, 255);

  FrameFlash(state, params, frame, start + interval - 1ms);
  EXPECT_TRUE(state.blinkOn);
  FrameFlash(state, params, frame, start + interval);
  EXPECT_FALSE(state.blinkOn);
  ExpectUniform(frame, Rgb{}, 0);
  FrameFlash(state, params, frame, start + 2 * interval);
  EXPECT_TRUE(state.blinkOn);
}

INSTANTIATE_TEST_SUITE_P(Speeds, FrameFlashTiming,
                         ::testing::Values(std::pair{std::uint8_t{0}, std::chrono::milliseconds{5600}},
                                           std::pair{std::uint8_t{4}, std::chrono::milliseconds{1400}},
                                           std::pair{std::uint8_t{17}, std::chrono::milliseconds{1400}}));

TEST(FrameFlash, MultiColourAdvancesTheHueBy16PerChange) {
  GenericAnimation state;
  LightParams params = Params(4, true);
  params.speed = 4;
  std::array<LedRecord, 1> frame{};
  Clock::TimePoint now{};
  FrameFlash(state, params, frame, now);
  EXPECT_EQ(state.colourIndex, 16);
  EXPECT_EQ((Rgb{frame[0].red, frame[0].green, frame[0].blue}), Wheel(16));
  state.colourIndex = 176;
  FrameFlash(state, params, frame, now += 1400ms);
  EXPECT_EQ(state.colourIndex, 0) << "wraps on reaching 192";
}

TEST(FrameFlashCycle, StepsThroughTheFourColours) {
  GenericAnimation state;
  LightParams params = Params(3, false);
  std::array<LedRecord, 1> frame{};
  Clock::TimePoint now{};
  std::vector<std::uint8_t> indexes;
  for (int i = 0; i < 8; ++i, now += 5600ms) {
    FrameFlashCycle(state, params, frame, now);
    indexes.push_back(state.colourIndex);
  }
  EXPECT_EQ(indexes, (std::vector<std::uint8_t>{1, 2, 3, 0, 1, 2, 3, 0}));
  EXPECT_FALSE(state.blinkOn);
  EXPECT_EQ(frame[0].level, 0);
}

}  // namespace
}  // namespace norvane::lighting
