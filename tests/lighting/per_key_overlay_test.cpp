#include "devices/lighting/keyboard/per_key_overlay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "devices/lighting/light_tables.h"

namespace norvane::lighting::keyboard {
namespace {

using namespace std::chrono_literals;

PerLedEffect Effect(std::uint8_t type, std::uint8_t speed, bool enabled, bool multi = false) {
  PerLedEffect e;
  e.type = type;
  e.brightness = 4;
  e.speed = speed;
  e.enabled = enabled ? 1 : 0;
  e.multiColour = multi ? 1 : 0;
  e.red = 40;
  e.green = 50;
  e.blue = 60;
  return e;
}

TEST(PerKeyOverlay, BreathingNeedsTheEnabledFlagAndStepsBySpeedPlusFour) {
  PerKeyOverlay overlay;
  overlay.SetEffects({Effect(0, 4, true), Effect(0, 4, false), Effect(0, 9, true, true)});
  std::vector<LedRecord> frame(3, LedRecord{1, 1, 1, 1, 0});
  overlay.Apply(frame, {});
  EXPECT_EQ(frame[0], (LedRecord{40, 50, 60, Scale(Breathing(8), 255), 0}));
  EXPECT_EQ(frame[1], (LedRecord{1, 1, 1, 1, 0})) << "not enabled: the mode's frame shows";
  for (int i = 0; i < 15; ++i) overlay.Apply(frame, {});
  // Sixteen steps of 8 pass 127: the phase restarts and the hue moves on by one.
  EXPECT_EQ(frame[2].level, 0);
  EXPECT_EQ((Rgb{frame[2].red, frame[2].green, frame[2].blue}), Wheel(1));
}

TEST(PerKeyOverlay, BlinkTogglesOnItsIntervalWithoutTheEnabledFlag) {
  PerKeyOverlay overlay;
  overlay.SetEffects({Effect(2, 4, false)});
  std::vector<LedRecord> frame(1);
  const Clock::TimePoint start{5s};
  overlay.Apply(frame, start);
  EXPECT_EQ(frame[0].level, 255);
  overlay.Apply(frame, start + 1399ms);
  EXPECT_EQ(frame[0].level, 255);
  overlay.Apply(frame, start + 1400ms);
  EXPECT_EQ(frame[0], LedRecord{});
}

TEST(PerKeyOverlay, ColourCycleMovesOneHuePerInterval) {
  PerKeyOverlay overlay;
  overlay.SetEffects({Effect(3, 4, true)});  // 7 ticks per hue
  std::vector<LedRecord> frame(1);
  for (int i = 0; i < 6; ++i) overlay.Apply(frame, {});
  EXPECT_EQ((Rgb{frame[0].red, frame[0].green, frame[0].blue}), Wheel(0));
  overlay.Apply(frame, {});
  EXPECT_EQ((Rgb{frame[0].red, frame[0].green, frame[0].blue}), Wheel(1));
}

TEST(PerKeyOverlay, MoreEffectsThanLedsTouchOnlyTheFrame) {
  PerKeyOverlay overlay;
  overlay.SetEffects(std::vector<PerLedEffect>(300, Effect(2, 0, true)));
  std::vector<LedRecord> frame(2);
  overlay.Apply(frame, {});
  EXPECT_EQ(frame[1].level, 255);
}

}  // namespace
}  // namespace norvane::lighting::keyboard
