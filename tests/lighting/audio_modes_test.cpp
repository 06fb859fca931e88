#include "devices/lighting/keyboard/audio_modes.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "devices/lighting/keyboard/keyboard_lighting.h"
#include "devices/lighting/keyboard/mode_startup.h"
#include "fixed_random.h"

namespace norvane::lighting::keyboard {
namespace {

using lighting::testing::FixedRandom;
using Levels = std::array<std::int32_t, kAudioLevels>;

struct AudioKeyboard {
  FixedRandom random{{0}};
  KeyboardLightState state;
  std::vector<LedRecord> frame = std::vector<LedRecord>(kLedSlots);
  LightParams live;

  explicit AudioKeyboard(std::uint8_t visualisation) {
    live.mode = 29;
    live.brightness = 4;
    live.direction = 1;
    StartKeyboardMode(state, 29, frame);
    state.audio.light.mode = visualisation;
    state.audio.light.background = {0, 0, 40};
    state.audio.light.foreground = {250, 0, 0};
  }
  void Frame(const Levels& levels) {
    FeedAudioLevels(state, 29, levels);
    RenderKeyboardFrame(state, FrameInputs{live, {}, random}, frame);
  }
  bool NothingLit() const {
    for (std::uint8_t fade : state.fade) {
      if (fade) return false;
    }
    return true;
  }
};

TEST(Attenuation, RunsFromSilenceToFullScaleAndTheCapStopsAtZero) {
  EXPECT_EQ(Attenuation(0), 600);
  EXPECT_EQ(Attenuation(1000), 300);
  EXPECT_EQ(Attenuation(2000), 0);
  EXPECT_EQ(Attenuation(4000), -600);
  EXPECT_EQ(CappedAttenuation(4000), 0) << "louder than full scale is full scale, not near silence";
  EXPECT_EQ(CappedAttenuation(2010), 0);
  EXPECT_EQ(CappedAttenuation(-500), 600);
  EXPECT_EQ(CappedAttenuation(INT32_MAX), 0);
  EXPECT_LT(Attenuation(INT32_MAX), 0);
}

TEST(AudioVisualisation, VerticalBarsLightNothingInSilenceAndRowsOneToFiveAtFullScale) {
  AudioKeyboard kb(0);
  kb.Frame(Levels{});
  EXPECT_TRUE(kb.NothingLit());
  EXPECT_EQ(kb.frame[49], (LedRecord{0, 0, 40, 255, 0})) << "background at the level";

  Levels levels{};
  levels[8] = 2000;  // column 8: LEDs 5, 28, 49, 70, 90, 128 from the top
  kb.Frame(levels);
  EXPECT_EQ(kb.state.fade[5], 0);
  for (std::uint8_t led : {28, 49, 70, 90, 128}) {
    EXPECT_EQ(kb.state.fade[led], 255) << int{led};
    EXPECT_EQ(kb.frame[led], (LedRecord{250, 0, 0, 254, 0})) << int{led};
  }
  EXPECT_TRUE(std::all_of(kb.state.audio.levels.begin(), kb.state.audio.levels.end(), [](std::int32_t v) {
    return v == 0;
  })) << "a frame takes the levels and clears them";
}

TEST(AudioVisualisation, BarsShrinkFromTheTipAfterTheLevelDrops) {
  AudioKeyboard kb(0);
  Levels loud{};
  loud[8] = 2000;
  kb.Frame(loud);
  kb.Frame(Levels{});
  EXPECT_LT(kb.state.fade[28], 255) << "the tip fades first";
  EXPECT_EQ(kb.state.fade[128], 255) << "the base is held while the cell above it is bright";
}

TEST(AudioVisualisation, GroupBarsDivideEveryGroupByThree) {
  AudioKeyboard kb(5);
  kb.Frame(Levels{});
  EXPECT_TRUE(kb.NothingLit());

  Levels levels{};
  levels[0] = 3000;
  levels[1] = 3000;  // group 0: 6000 ÷ 3 = full scale, shown on row 5
  kb.Frame(levels);
  EXPECT_EQ(kb.state.fade[104], 255);  // column 20, row 5
  EXPECT_EQ(kb.state.fade[117], 0);    // column 21
  EXPECT_EQ(kb.state.fade[120], 0);    // column 0, row 1: another group
}

TEST(AudioVisualisation, AlternatingBarsLightNothingInSilenceOnEitherKindOfRow) {
  AudioKeyboard kb(6);
  kb.Frame(Levels{});
  EXPECT_TRUE(kb.NothingLit());
  Levels levels{};
  levels[0] = levels[1] = 3000;  // row 0 (even) grows from the right
  levels[2] = levels[3] = 3000;  // row 1 (odd) grows from the left
  kb.Frame(levels);
  EXPECT_EQ(kb.state.fade[0], 255);   // column 2, row 0
  EXPECT_EQ(kb.state.fade[21], 255);  // column 1, row 1
  EXPECT_EQ(kb.state.fade[41], 255);  // column 22, row 1
}

TEST(AudioVisualisation, StereoBarsAndRingsFollowTheLevels) {
  AudioKeyboard stereo(1);
  stereo.Frame(Levels{});
  EXPECT_TRUE(stereo.NothingLit());
  Levels full;
  full.fill(2000);
  stereo.Frame(full);
  EXPECT_EQ(stereo.state.fade[kGeometry[2][3]], 255);  // a = 2: columns 2 to 8
  EXPECT_EQ(stereo.state.fade[kGeometry[1][3]], 0);
  EXPECT_EQ(stereo.state.fade[kGeometry[19][3]], 255);  // b = 2: columns 9 to 19
  EXPECT_EQ(stereo.state.fade[kGeometry[20][3]], 0);

  AudioKeyboard rings(3);
  rings.Frame(full);  // loud: no spin, every ring lit
  EXPECT_EQ(rings.state.animation.position, 0);
  EXPECT_EQ(rings.state.fade[49], 255);
  EXPECT_EQ((Rgb{rings.frame[49].red, rings.frame[49].green, rings.frame[49].blue}), Wheel(9));
  rings.Frame(Levels{});  // silence: spin by 20, every ring fades
  EXPECT_EQ(rings.state.animation.position, 20);
  EXPECT_LT(rings.state.fade[49], 255);
}

TEST(AudioVisualisation, FallingPeaksSetOnePeakPerColumn) {
  AudioKeyboard kb(4);
  Levels levels{};
  levels[1] = 2000;  // column 0 reads level (band + 0 + 1)
  kb.Frame(levels);
  EXPECT_EQ(kb.state.fade[120], 255) << "row 1 of column 0 takes the peak";
  EXPECT_EQ(kb.state.audio.peakHeld[0], 1);
}

TEST(FeedAudioLevels, LoudFeedsStartARippleFromTheCentreInTheRippleVisualisation) {
  AudioKeyboard kb(2);
  Levels loud;
  loud.fill(2000);  // +25 per feed
  FeedAudioLevels(kb.state, 29, loud);
  FeedAudioLevels(kb.state, 29, loud);
  EXPECT_EQ(kb.state.masks.Combined(10), 0);
  FeedAudioLevels(kb.state, 29, loud);
  EXPECT_EQ(kb.state.masks.Combined(10), 0x04) << "LED 51: column 10, row 2";
  EXPECT_EQ(kb.state.audio.rippleEnergy, 0u);

  AudioKeyboard other(0);
  for (int i = 0; i < 5; ++i) FeedAudioLevels(other.state, 29, loud);
  EXPECT_EQ(other.state.audio.rippleEnergy, 0u) << "only the ripple visualisation gathers energy";

  const std::array<std::int32_t, 3> few = {7, 8, 9};
  FeedAudioLevels(other.state, 29, few);
  EXPECT_EQ(other.state.audio.levels[2], 9);
  EXPECT_EQ(other.state.audio.levels[3], 0);
}

TEST(KeyboardLighting, AudioColourModeShowsTheFedBandsClamped) {
  FixedRandom random({0});
  KeyboardLighting lighting(random);
  std::vector<LedRecord> frame(kLedSlots);
  LightParams live;
  live.mode = 30;
  live.speed = 4;
  live.brightness = 2;
  const std::array<std::int32_t, 4> bands = {300, -4, 77, 1};
  lighting.FeedAudioBands(bands);
  lighting.Tick(live, frame, {});
  EXPECT_EQ(frame[10], (LedRecord{255, 0, 77, 135, 0}));
}

}  // namespace
}  // namespace norvane::lighting::keyboard
