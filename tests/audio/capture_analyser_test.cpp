// The companion's analysis on sample buffers, without a sound server: level messages that follow the
// waveform at 96 a second, scaled for the window's groups and graph; band values for the band colours.
#include "audio/capture_analyser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace norvane::audio {
namespace {

std::vector<float> Tone(double hertz, double amplitude, std::size_t samples, std::size_t start = 0) {
  std::vector<float> wave(samples);
  for (std::size_t i = 0; i < samples; ++i)
    wave[i] = float(amplitude * std::sin(2 * std::numbers::pi * hertz * double(start + i) / kSampleRate));
  return wave;
}

struct Collected {
  std::vector<LevelMessage> levels;
  std::vector<BandMessage> bands;
  CaptureAnalyser analyser{[this](const LevelMessage& m) { levels.push_back(m); },
                           [this](const BandMessage& m) { bands.push_back(m); }};
};

// The mean change of the first four values of each five from one message to the next, as the window takes
// them (its group means).
double MeanGroupChange(const LevelMessage& before, const LevelMessage& after) {
  double sum = 0;
  int count = 0;
  for (std::size_t i = 0; i < kLevelsPerMessage; ++i) {
    if (i % 5 == 4) continue;
    sum += std::abs(double(after[i]) - double(before[i]));
    ++count;
  }
  return sum / count;
}

TEST(CaptureAnalyser, OneSecondGivesNinetySixLevelMessagesAndThirtyTwoBandMessages) {
  Collected c;
  c.analyser.Feed(Tone(440, 0.5, kSampleRate));
  EXPECT_EQ(c.levels.size(), 96u);
  EXPECT_EQ(c.bands.size(), 32u);
}

TEST(CaptureAnalyser, LevelsFollowTheWaveformScaledToTheWindowsRange) {
  Collected c;
  const std::vector<float> full{1.0f, -1.0f, 0.5f, 2.0f, -7.0f, std::nanf("")};
  c.analyser.Feed(full);
  c.analyser.Feed(std::vector<float>(kLevelsPerMessage - full.size(), 0.0f));
  ASSERT_EQ(c.levels.size(), 1u);
  EXPECT_EQ(c.levels[0][0], 6000);
  EXPECT_EQ(c.levels[0][1], -6000);
  EXPECT_EQ(c.levels[0][2], 3000);
  EXPECT_EQ(c.levels[0][3], 6000) << "beyond full scale is clipped";
  EXPECT_EQ(c.levels[0][4], -6000);
  EXPECT_EQ(c.levels[0][5], 0) << "not a number is silence";

  // Loud music (noise-like, at a third of full scale) changes the values by about 2000 on average; silence
  // by nothing.
  Collected loud;
  std::vector<float> noise(kLevelsPerMessage * 2);
  std::uint32_t seed = 12345;
  for (float& sample : noise) {
    seed = seed * 1664525u + 1013904223u;
    sample = float((double(seed >> 8) / double(1u << 24) * 2 - 1) * 0.6);
  }
  loud.analyser.Feed(noise);
  ASSERT_EQ(loud.levels.size(), 2u);
  const double change = MeanGroupChange(loud.levels[0], loud.levels[1]);
  EXPECT_GT(change, 1200);
  EXPECT_LT(change, 3000);
  Collected quiet;
  quiet.analyser.Feed(std::vector<float>(kLevelsPerMessage * 2, 0.0f));
  EXPECT_EQ(MeanGroupChange(quiet.levels[0], quiet.levels[1]), 0);
}

TEST(CaptureAnalyser, BandsShowWhereTheSoundIs) {
  Collected bass;
  bass.analyser.Feed(Tone(80, 0.5, kSampleRate / 2));
  ASSERT_FALSE(bass.bands.empty());
  const BandMessage low = bass.bands.back();
  EXPECT_EQ(low[0], 255) << "the bass band at its own peak";
  EXPECT_LT(low[5], 40) << "nothing in the treble";

  Collected treble;
  treble.analyser.Feed(Tone(8000, 0.5, kSampleRate / 2));
  EXPECT_EQ(treble.bands.back()[5], 255);
  EXPECT_LT(treble.bands.back()[0], 40);

  Collected silence;
  silence.analyser.Feed(std::vector<float>(kSampleRate / 4, 0.0f));
  for (std::int32_t band : silence.bands.back()) EXPECT_EQ(band, 0) << "silence stays dark";
}

TEST(CaptureAnalyser, StereoIsMixedToMono) {
  Collected c;
  std::vector<float> frames;
  for (std::size_t i = 0; i < kLevelsPerMessage; ++i) {
    frames.push_back(0.5f);
    frames.push_back(-0.5f);
  }
  c.analyser.FeedInterleaved(frames, 2);
  ASSERT_EQ(c.levels.size(), 1u);
  EXPECT_EQ(c.levels[0][0], 0);
}

}  // namespace
}  // namespace norvane::audio
