// The companion's analysis on sample buffers, without a sound server: level messages that follow the
// waveform at 96 a second, scaled for the window's groups and graph; band values for the band colours.
#include "audio/capture_analyser.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
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

TEST(CaptureAnalyser, OnceMusicReachedEveryBandAToneLightsTheBandBetweenWhoseEdgesItLies) {
  // Bass 20-150 Hz, 150-400, 400-1000, 1-2.5 kHz, 2.5-6 kHz, treble 6-16 kHz. Each band is shown against
  // its own recent peak, so the tones first play in turn (an eighth of a second each) as music would.
  const std::array<double, kBands> inside = {60, 250, 630, 1600, 4000, 10000};
  for (std::size_t band = 0; band < kBands; ++band) {
    Collected c;
    for (double hertz : inside) c.analyser.Feed(Tone(hertz, 0.5, kSampleRate / 8));
    c.analyser.Feed(Tone(inside[band], 0.5, kSampleRate / 4));
    const BandMessage& shown = c.bands.back();
    for (std::size_t other = 0; other < kBands; ++other) {
      if (other == band) {
        EXPECT_GE(shown[other], 250) << inside[band] << " Hz";
      } else {
        EXPECT_LT(shown[other], 40) << inside[band] << " Hz in band " << other;
      }
    }
  }
}

TEST(Fft, TransformsOfShortSequencesAsWorkedByHand) {
  using C = std::complex<double>;
  auto expectNear = [](const std::vector<C>& got, const std::vector<C>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < got.size(); ++k) {
      EXPECT_NEAR(got[k].real(), want[k].real(), 1e-9) << "bin " << k;
      EXPECT_NEAR(got[k].imag(), want[k].imag(), 1e-9) << "bin " << k;
    }
  };
  std::vector<C> impulse = {1, 0, 0, 0, 0, 0, 0, 0};
  Fft(impulse);
  expectNear(impulse, {1, 1, 1, 1, 1, 1, 1, 1});

  std::vector<C> constant(8, C(1));
  Fft(constant);
  expectNear(constant, {8, 0, 0, 0, 0, 0, 0, 0});

  // cos(2π·2n/8) and sin(2π·2n/8): two turns in eight samples.
  std::vector<C> cosine = {1, 0, -1, 0, 1, 0, -1, 0};
  Fft(cosine);
  expectNear(cosine, {0, 0, 4, 0, 0, 0, 4, 0});
  std::vector<C> sine = {0, 1, 0, -1, 0, 1, 0, -1};
  Fft(sine);
  expectNear(sine, {0, 0, C(0, -4), 0, 0, 0, C(0, 4), 0});

  // A size it does not handle is left as it was.
  std::vector<C> six = {1, 2, 3, 4, 5, 6};
  Fft(six);
  expectNear(six, {1, 2, 3, 4, 5, 6});
}

TEST(Fft, RealSpectrumOfAWholeWindow) {
  using C = std::complex<double>;
  std::array<double, kFftSize> samples{};
  std::array<C, kFftSize / 2 + 1> spectrum{};
  auto expectBins = [&](std::initializer_list<std::pair<std::size_t, C>> peaks) {
    for (std::size_t k = 0; k < spectrum.size(); ++k) {
      C want = 0;
      for (const auto& [bin, value] : peaks)
        if (bin == k) want = value;
      EXPECT_NEAR(spectrum[k].real(), want.real(), 1e-6) << "bin " << k;
      EXPECT_NEAR(spectrum[k].imag(), want.imag(), 1e-6) << "bin " << k;
    }
  };
  // Five turns of a cosine: half the window's length in bin 5.
  for (std::size_t n = 0; n < kFftSize; ++n)
    samples[n] = std::cos(2 * std::numbers::pi * 5 * double(n) / kFftSize);
  RealSpectrum(samples, spectrum);
  expectBins({{5, C(512, 0)}});
  // A hundred turns of a sine: bin 100, a quarter turn behind.
  for (std::size_t n = 0; n < kFftSize; ++n)
    samples[n] = std::sin(2 * std::numbers::pi * 100 * double(n) / kFftSize);
  RealSpectrum(samples, spectrum);
  expectBins({{100, C(0, -512)}});
  // A constant is all in bin 0; +1, -1, +1, ... all in the last bin (half the sample rate).
  samples.fill(1.0);
  RealSpectrum(samples, spectrum);
  expectBins({{0, C(1024, 0)}});
  for (std::size_t n = 0; n < kFftSize; ++n) samples[n] = n % 2 ? -1.0 : 1.0;
  RealSpectrum(samples, spectrum);
  expectBins({{kFftSize / 2, C(1024, 0)}});
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
