// Slider positions and DPI values both ways, for the stepped 0x3325 sensor and an evenly stepping one.
#include <gtest/gtest.h>

#include "devices/mouse/dpi_curve.h"

namespace norvane::devices::mouse {
namespace {

constexpr DpiScale kStepped{.sensor = 0x3325, .step = 100, .highestPosition = 73, .lowest = 100};
constexpr DpiScale kEven{.sensor = 0x3389, .step = 50, .highestPosition = 116, .lowest = 200};

TEST(MouseDpi, TheSteppedSensorTakesStepsOf200AbovePosition48) {
  EXPECT_EQ(kStepped.DpiOf(0), 100);
  EXPECT_EQ(kStepped.DpiOf(48), 4900);
  EXPECT_EQ(kStepped.DpiOf(49), 5100);
  EXPECT_EQ(kStepped.HighestDpi(), 9900);
  // A typed value takes the position whose DPI is the largest not above it, so what a position shows types
  // back to that position, also above 48 and up to the highest DPI.
  EXPECT_EQ(kStepped.PositionOf(5100), 49);
  EXPECT_EQ(kStepped.PositionOf(5200), 49);
  EXPECT_EQ(kStepped.PositionOf(5299), 49);
  EXPECT_EQ(kStepped.PositionOf(5000), 48);
  EXPECT_EQ(kStepped.PositionOf(4900), 48);
  EXPECT_EQ(kStepped.PositionOf(4899), 47);
  EXPECT_EQ(kStepped.PositionOf(9900), 73);
  for (int position = 0; position <= 73; ++position)
    EXPECT_EQ(kStepped.PositionOf(kStepped.DpiOf(position)), position) << "position " << position;
}

TEST(MouseDpi, AnotherSensorStepsEvenlyFromItsLowestDpi) {
  EXPECT_EQ(kEven.DpiOf(10), 700);
  EXPECT_EQ(kEven.DpiOf(60), 3200) << "no wide steps on another sensor";
  EXPECT_EQ(kEven.PositionOf(150), 0) << "below the lowest DPI counts as the lowest";
  EXPECT_EQ(kEven.PositionOf(725), 10);
  EXPECT_EQ(kEven.PositionOf(6000), 116);
}

TEST(MouseDpi, TypedValuesStayWithinTheSlider) {
  // The highest position's DPI is what a user may type: 9900 is reachable, more is the highest position.
  EXPECT_EQ(kStepped.PositionOf(20000), 73);
  EXPECT_EQ(kEven.PositionOf(65535), 116);
  EXPECT_EQ(kStepped.Clamp(-4), 0);
  EXPECT_EQ(kStepped.Clamp(500), 73);
  // A block that says the sensor has no step gives the first position instead of dividing by zero.
  const DpiScale noStep{.sensor = 0x3389, .step = 0, .highestPosition = 20, .lowest = 400};
  EXPECT_EQ(noStep.PositionOf(3200), 0);
  const DpiScale nothing{};
  EXPECT_EQ(nothing.PositionOf(800), 0);
}

}  // namespace
}  // namespace norvane::devices::mouse
