#include "devices/lighting/keyboard/key_events.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "devices/lighting/keyboard/keyboard_modes.h"
#include "devices/lighting/keyboard/mode_startup.h"
#include "fixed_random.h"

namespace norvane::lighting::keyboard {
namespace {

using lighting::testing::FixedRandom;

std::array<std::uint8_t, kLedSlots> UnmappedKeys() {
  std::array<std::uint8_t, kLedSlots> positions;
  positions.fill(kNoDeviceKey);
  return positions;
}

struct ReactiveKeyboard {
  FixedRandom random{{99}};
  KeyboardLightState state;
  std::vector<LedRecord> frame = std::vector<LedRecord>(kLedSlots);
  LightParams live;

  explicit ReactiveKeyboard(std::uint8_t mode) {
    live.mode = mode;
    live.brightness = 4;
    live.red = 255;
    StartKeyboardMode(state, mode, frame);
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) RenderKeyboardFrame(state, FrameInputs{live, {}, random}, frame);
  }
  bool AllMasksEmpty() const {
    for (std::size_t k = 0; k < kColumns; ++k) {
      if (state.masks.Combined(k)) return false;
    }
    return true;
  }
};

TEST(TriggerKey, PositionNoKeyHasLightsNothing) {
  ReactiveKeyboard kb(10);
  auto positions = UnmappedKeys();  // every key is "not on this keyboard" (255)
  positions[4] = 7;
  TriggerKey(kb.state, 10, positions, kNoDeviceKey, kKeyPressed, kb.random);
  for (std::uint8_t fade : kb.state.fade) ASSERT_EQ(fade, 0);

  TriggerKey(kb.state, 10, positions, 8, kKeyPressed, kb.random);  // a position no key has
  TriggerKey(kb.state, 10, positions, 7, 3, kb.random);            // an unknown action
  for (std::uint8_t fade : kb.state.fade) ASSERT_EQ(fade, 0);

  TriggerKey(kb.state, 10, positions, 7, kKeyPressed, kb.random);
  EXPECT_EQ(kb.state.fade[4], 255);
  EXPECT_EQ(kb.state.hue[4], 99);
  EXPECT_EQ(kb.state.keyAction[4], kKeyPressed);
}

TEST(TriggerLed, KeyFadeRisesWhilePressedAndFallsAfterRelease) {
  ReactiveKeyboard kb(10);
  TriggerLed(kb.state, 10, 4, kKeyReleased, kb.random);
  EXPECT_EQ(kb.state.fade[4], 255) << "a release relights the key";
  kb.Frames(2);
  EXPECT_EQ(kb.state.fade[4], 245);
  EXPECT_EQ(kb.frame[4].level, Scale(255, 245));
  TriggerLed(kb.state, 10, kNoLed, kKeyPressed, kb.random);
  TriggerLed(kb.state, 5, 4, kKeyPressed, kb.random);  // a mode that ignores keys
  EXPECT_EQ(kb.state.fade[4], 245);
}

TEST(SpreadKeyGlow, PressWarmsNeighboursAndReleaseSparesThoseAnotherHeldKeyKeepsWarm) {
  ReactiveKeyboard kb(8);
  TriggerLed(kb.state, 8, 49, kKeyPressed, kb.random);  // column 8, row 2
  EXPECT_EQ(kb.state.fade[49], 255);
  EXPECT_EQ(kb.state.fade[28], 150);  // above
  EXPECT_EQ(kb.state.fade[5], 90);    // two above
  EXPECT_EQ(kb.state.fade[27], 90);   // diagonal
  EXPECT_EQ(kb.state.fade[47], 60);   // two to the left
  EXPECT_EQ(kb.state.fade[46], 0);    // out of reach

  TriggerLed(kb.state, 8, 50, kKeyPressed, kb.random);  // the neighbour to the right
  EXPECT_EQ(kb.state.fade[28], 240);
  EXPECT_EQ(kb.state.fade[48], 210);
  EXPECT_EQ(kb.state.fade[49], 255) << "capped";

  TriggerLed(kb.state, 8, 49, kKeyReleased, kb.random);
  EXPECT_EQ(kb.state.held[49], 0);
  EXPECT_EQ(kb.state.keyAction[49], kKeyPressed) << "still warm from the held key next to it";
  EXPECT_EQ(kb.state.fade[48], 210) << "48 is within reach of the held key 50";
  EXPECT_EQ(kb.state.fade[47], 0) << "60 - 90, capped at 0";
  EXPECT_EQ(kb.state.keyAction[47], kKeyReleased);
}

TEST(Ripple, FrontsLeaveThePressedKeyAndVanishAtTheEdges) {
  ReactiveKeyboard kb(9);
  TriggerLed(kb.state, 9, 49, kKeyPressed, kb.random);  // column 8, row 2
  kb.Frames(1);
  EXPECT_EQ(kb.state.fade[49], 215);
  kb.Frames(1);
  for (std::uint8_t led : {48, 28, 50, 70}) EXPECT_EQ(kb.state.fade[led], 215) << int{led};
  EXPECT_EQ(kb.state.fade[27], 0);
  kb.Frames(30);
  EXPECT_TRUE(kb.AllMasksEmpty());
}

TEST(Ripple, KeyRippleRunsAlongTheRowOnly) {
  ReactiveKeyboard kb(44);
  TriggerLed(kb.state, 44, 49, kKeyPressed, kb.random);
  kb.Frames(3);
  EXPECT_GT(kb.state.fade[47], 0);  // two columns left, same row
  EXPECT_GT(kb.state.fade[51], 0);
  EXPECT_EQ(kb.state.fade[28], 0);
  EXPECT_EQ(kb.state.fade[70], 0);
  kb.Frames(23);
  EXPECT_TRUE(kb.AllMasksEmpty());
}

TEST(Ripple, SelfStartingRipplesKeepGoing) {
  ReactiveKeyboard hold(14);
  hold.Frames(200);
  EXPECT_FALSE(hold.AllMasksEmpty());
  ReactiveKeyboard edges(22);
  edges.Frames(200);
  EXPECT_FALSE(edges.AllMasksEmpty());
  ReactiveKeyboard row(43);
  std::vector<int> stages = {0};
  for (int i = 0; i < 1000 && stages.size() < 6; ++i) {
    row.Frames(1);
    if (row.state.rippleRowStage != stages.back()) stages.push_back(row.state.rippleRowStage);
  }
  EXPECT_EQ(stages, (std::vector<int>{0, 1, 2, 3, 4, 0})) << "the row show runs its course and starts again";
}

}  // namespace
}  // namespace norvane::lighting::keyboard
