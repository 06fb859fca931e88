#include "devices/lighting/light_tables.h"

#include <gtest/gtest.h>

#include "devices/lighting/step_counter.h"

namespace norvane::lighting {
namespace {

TEST(ColourWheel, SegmentsFollowTheRampsAndWrapToRed) {
  EXPECT_EQ(Wheel(0), (Rgb{255, 1, 0}));
  EXPECT_EQ(Wheel(31), (Rgb{255, 255, 0}));
  EXPECT_EQ(Wheel(32), (Rgb{248, 255, 0}));
  EXPECT_EQ(Wheel(63), (Rgb{0, 255, 0}));
  EXPECT_EQ(Wheel(64), (Rgb{0, 255, 1}));
  EXPECT_EQ(Wheel(96), (Rgb{0, 248, 255}));
  EXPECT_EQ(Wheel(128), (Rgb{1, 0, 255}));
  EXPECT_EQ(Wheel(191), (Rgb{255, 0, 0}));
  EXPECT_EQ(Wheel(192), Wheel(0));
  EXPECT_EQ(Wheel(192 + 40), Wheel(40));
}

TEST(Curves, BreathingIsSymmetricAndWaveStartsAt22) {
  for (unsigned i = 0; i < 64; ++i) EXPECT_EQ(Breathing(i), Breathing(127 - i)) << i;
  EXPECT_EQ(Breathing(0), 0);
  EXPECT_EQ(Breathing(63), 255);
  EXPECT_EQ(Breathing(18), 27);
  EXPECT_EQ(WaveLevel(0), 22);
  EXPECT_EQ(WaveLevel(3), 30);
  EXPECT_EQ(WaveLevel(47), 255);
  EXPECT_EQ(WaveLevel(48), 255);
  EXPECT_EQ(WaveLevel(95), 22);
  EXPECT_EQ(WaveLevel(96), 22);  // wraps instead of reading past the table
}

TEST(LevelTables, LevelsFromFilesOrDevicesAreClampedToTheTopEntry) {
  EXPECT_EQ(BrightnessValue(0), 0);
  EXPECT_EQ(BrightnessValue(2), 135);
  EXPECT_EQ(BrightnessValue(4), 255);
  EXPECT_EQ(BrightnessValue(5), 255);
  EXPECT_EQ(BrightnessValue(255), 255);
  EXPECT_EQ(BlinkIntervalMs(0), 5600u);
  EXPECT_EQ(BlinkIntervalMs(4), 1400u);
  EXPECT_EQ(BlinkIntervalMs(200), 1400u);
  EXPECT_EQ(FourColour(7), FourColour(3));
}

TEST(StepCounter, WrapsForwardAtTheLimitAndBackwardBelowZero) {
  EXPECT_EQ(StepCounter(true, 128, 126, 1), 127);
  EXPECT_EQ(StepCounter(true, 128, 127, 1), 0);
  EXPECT_EQ(StepCounter(false, 128, 0, 1), 127);
  EXPECT_EQ(StepCounter(false, 96, 1, 2), 94);
  EXPECT_EQ(StepCounter(false, 96, 5, 1), 4);
  // A value left beyond the limit by another effect comes straight back into range.
  EXPECT_EQ(StepCounter(true, 96, 150, 1), 0);
  EXPECT_EQ(StepCounter(false, 96, 150, 1), 95);
}

}  // namespace
}  // namespace norvane::lighting
