#include "devices/lighting/mode_table.h"

#include <gtest/gtest.h>

#include <array>

namespace norvane::lighting {
namespace {

TEST(ModeTable, MapsBothWaysAndPassesUnknownValuesThrough) {
  const std::array<std::uint8_t, 4> table = {5, 9, 5, 0xFE};
  EXPECT_EQ(DeviceCodeForEffect(table, 1), 9);
  EXPECT_EQ(DeviceCodeForEffect(table, 4), 4) << "no entry: unchanged";
  EXPECT_EQ(DeviceCodeForEffect(table, 200), 200);
  EXPECT_EQ(EffectForDeviceCode(table, 5), 0) << "the first effect with the code";
  EXPECT_EQ(EffectForDeviceCode(table, 0xFE), 3);
  EXPECT_EQ(EffectForDeviceCode(table, 7), 7) << "no entry: unchanged";
  EXPECT_EQ(DeviceCodeForEffect({}, 3), 3);
}

}  // namespace
}  // namespace norvane::lighting
