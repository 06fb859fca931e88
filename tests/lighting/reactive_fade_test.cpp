#include "devices/lighting/reactive_fade.h"

#include <gtest/gtest.h>

#include <vector>

namespace norvane::lighting {
namespace {

std::vector<int> FadeFrom(std::uint8_t start, unsigned mode) {
  std::vector<int> values;
  std::uint8_t v = start;
  while (v != 0) {
    v = FadeStep(v, mode);
    values.push_back(v);
  }
  return values;
}

std::vector<int> Then(std::vector<int> head, int from) {
  for (int v = from; v >= 0; --v) head.push_back(v);
  return head;
}

TEST(FadeStep, EachModeFollowsItsOwnCurveFromFull) {
  EXPECT_EQ(FadeFrom(255, 0), Then({215, 175, 135, 95, 65, 35, 20, 12}, 11));
  EXPECT_EQ(FadeFrom(255, 29), Then({210, 165, 120, 75, 40, 5}, 4));
  EXPECT_EQ(FadeFrom(255, 13), Then({215, 175, 135, 95, 65, 35, 25, 17, 9}, 8));
  EXPECT_EQ(FadeFrom(255, 44), FadeFrom(255, 13));
}

TEST(FadeStep, AFaintValueNeverWrapsBackToBright) {
  // The audio curve takes 45 from anything with bit 0x10 and 35 from bit 0x20: small values must stop at 0.
  EXPECT_EQ(FadeStep(16, 29), 0);
  EXPECT_EQ(FadeStep(20, 29), 0);
  EXPECT_EQ(FadeStep(44, 29), 9);
  EXPECT_EQ(FadeStep(33, 29), 0);
  for (unsigned mode : {0u, 13u, 29u}) {
    for (int v = 1; v < 256; ++v) {
      ASSERT_LT(FadeStep(static_cast<std::uint8_t>(v), mode), v) << "mode " << mode << " value " << v;
    }
  }
  EXPECT_EQ(FadeStep(0, 0), 0);
}

TEST(ReactiveBuffers, LatchRotateAndClear) {
  ReactiveBuffers buffers;
  buffers.columns[0] = 1;
  buffers.columns[8] = 3;
  buffers.columns[9] = 1;  // beyond the latched positions
  buffers.LatchColumns();
  EXPECT_EQ(buffers.fade[0], 255);
  EXPECT_EQ(buffers.fade[1], 0);
  EXPECT_EQ(buffers.fade[8], 255);
  EXPECT_EQ(buffers.fade[9], 0);

  buffers.RotateColumns(true);
  EXPECT_EQ(buffers.columns[1], 1);
  EXPECT_EQ(buffers.columns[9], 3);
  EXPECT_EQ(buffers.columns[0], 0);
  buffers.columns[22] = 5;
  buffers.RotateColumns(true);
  EXPECT_EQ(buffers.columns[0], 5) << "the last column comes round to the first";
  buffers.RotateColumns(false);
  EXPECT_EQ(buffers.columns[22], 5);

  EXPECT_EQ(buffers.FadeStep(0, 0), 215);
  EXPECT_EQ(buffers.FadeStep(170, 0), 0) << "outside the buffer";
  buffers.Clear();
  EXPECT_EQ(buffers.fade[0], 0);
  EXPECT_EQ(buffers.columns[1], 0);
}

}  // namespace
}  // namespace norvane::lighting
