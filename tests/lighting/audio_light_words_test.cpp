// The audio light record in the page's two words and its colour-type byte.
#include "devices/lighting/audio_light_words.h"

#include <gtest/gtest.h>

#include "devices/lighting/keyboard/audio_modes.h"

namespace norvane::lighting {
namespace {

TEST(AudioLightWords, ModeColoursAndFlagInTheirBytes) {
  AudioLight audio;
  audio.mode = 2;
  audio.background = {1, 2, 3};
  audio.foreground = {4, 5, 6};
  audio.multiColour = 1;
  audio.colourType = 1;
  const AudioLightWords words = PackAudioLight(audio);
  EXPECT_EQ(words.word0, 0x03020102u);
  EXPECT_EQ(words.word1, 0x01060504u);
  EXPECT_EQ(words.colourType, 1);
  const AudioLight back = UnpackAudioLight(words);
  EXPECT_EQ(back.background, (Rgb{1, 2, 3}));
  EXPECT_EQ(back.foreground, (Rgb{4, 5, 6}));
  EXPECT_EQ(back.mode, 2);
  EXPECT_EQ(back.multiColour, 1);
}

// A level above full scale is at least as loud as full scale: its capped attenuation stays 0 rather than
// jumping back to 500 (nearly silent), so louder music never shows as quieter.
TEST(AudioLevelAttenuation, LouderThanFullScaleCountsAsFullScale) {
  EXPECT_EQ(keyboard::CappedAttenuation(0), 600);
  EXPECT_EQ(keyboard::CappedAttenuation(2000), 0);
  int previous = keyboard::CappedAttenuation(0);
  for (std::int32_t level = 0; level <= 20000; level += 7) {
    const int attenuation = keyboard::CappedAttenuation(level);
    ASSERT_LE(attenuation, previous) << "level " << level;
    previous = attenuation;
  }
  EXPECT_EQ(keyboard::CappedAttenuation(2100), 0);
  EXPECT_EQ(keyboard::CappedAttenuation(std::numeric_limits<std::int32_t>::max()), 0);
}

}  // namespace
}  // namespace norvane::lighting
