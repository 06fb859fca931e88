#include "devices/lighting/device_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace norvane::lighting {
namespace {

TEST(BuildDeviceFrame, ScalesEachLedIntoThreeBytesPerPosition) {
  std::vector<LedRecord> leds(3);
  leds[0] = {255, 128, 10, 255, 0};
  leds[2] = {200, 100, 50, 128, 0};
  const DeviceFrame frame = BuildDeviceFrame(leds);
  EXPECT_EQ(frame[0], 254);  // 255 × 255 ÷ 256
  EXPECT_EQ(frame[1], 127);
  EXPECT_EQ(frame[2], 9);
  EXPECT_EQ(frame[3], 0);
  EXPECT_EQ(frame[6], 100);
  EXPECT_EQ(frame[7], 50);
  EXPECT_EQ(frame[8], 25);
}

TEST(BuildDeviceFrame, NeverWritesPastTheFrameWhateverTheLedCount) {
  std::vector<LedRecord> leds(400, LedRecord{255, 255, 255, 255, 0});
  const DeviceFrame frame = BuildDeviceFrame(leds);  // would reach byte 1199 unchecked
  EXPECT_EQ(frame[509], 254) << "LED 169, the last to fit";
  EXPECT_EQ(frame[510], 0) << "LED 170 has no place in the frame";
  EXPECT_EQ(frame[511], 0);
}

TEST(BuildKeyboardDeviceFrame, WritesThreeBytesPerDevicePosition) {
  std::vector<LedRecord> leds(4);
  leds[0] = {255, 255, 255, 255, 0};
  leds[1] = {0, 0, 128, 255, 0};
  leds[2] = {100, 100, 100, 255, 0};
  leds[3] = {50, 50, 50, 255, 0};
  const std::vector<std::uint8_t> positions = {10, 11, kNoDevicePosition, 169};
  const DeviceFrame frame = BuildKeyboardDeviceFrame(leds, positions);
  EXPECT_EQ(frame[30], 254);
  EXPECT_EQ(frame[32], 254) << "neighbouring positions never overlap";
  EXPECT_EQ(frame[33], 0);
  EXPECT_EQ(frame[35], 127);
  EXPECT_EQ(frame[507], 49);
  EXPECT_EQ(frame[509], 49);
  EXPECT_EQ(frame[510], 0);
}

TEST(BuildKeyboardDeviceFrame, AShortPositionMapCoversOnlyItsLedsAndFarPositionsAreLeftOut) {
  std::vector<LedRecord> leds(3, LedRecord{255, 255, 255, 255, 0});
  const std::vector<std::uint8_t> positions = {0, 200};
  const DeviceFrame frame = BuildKeyboardDeviceFrame(leds, positions);
  EXPECT_EQ(frame[2], 254);
  EXPECT_EQ(frame[3], 0);
  EXPECT_EQ(std::count(frame.begin(), frame.end(), 254), 3);
}

}  // namespace
}  // namespace norvane::lighting
