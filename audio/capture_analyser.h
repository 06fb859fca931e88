#pragma once
// What the audio companion makes of the sound the desktop plays: level messages and band messages for the
// window's music lighting.
//
// Levels: every kLevelsPerMessage samples (mono, at kSampleRate: 96 messages a second) one message of as
// many sample-like values, each the sample scaled by kLevelScale. The window works on the change of each
// value from one message to the next, so the values must follow the waveform, not a smoothed loudness:
// loud music then gives changes near 2000 on average (a full bar), and a full-scale sample is 6000 of the
// 8192 that fill the level graph.
//
// Bands: with every third level message, the loudness of six frequency bands (bass to treble) as 0 to 255,
// each against its own slowly falling peak, so quiet and loud music both use the whole range. The first
// three are shown as red, green and blue by the keyboard's band-colour effect.
//
// Pure: no audio system, no bus; the companion feeds it and sends what it returns.

#include <array>
#include <complex>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace norvane::audio {

inline constexpr int kSampleRate = 48000;
inline constexpr std::size_t kLevelsPerMessage = 500;
inline constexpr std::size_t kBands = 6;
inline constexpr int kLevelScale = 6000;
inline constexpr int kBandEvery = 3;  // level messages per band message
inline constexpr std::size_t kFftSize = 1024;

using LevelMessage = std::array<std::int32_t, kLevelsPerMessage>;
using BandMessage = std::array<std::int32_t, kBands>;

// The band edges in Hz: kBands + 1 values.
inline constexpr std::array<double, kBands + 1> kBandEdges = {20, 150, 400, 1000, 2500, 6000, 16000};

class CaptureAnalyser {
 public:
  using LevelSink = std::function<void(const LevelMessage&)>;
  using BandSink = std::function<void(const BandMessage&)>;

  CaptureAnalyser(LevelSink levels, BandSink bands);

  // Mono samples in -1 .. 1 (values beyond are clipped).
  void Feed(std::span<const float> samples);
  // Mixes interleaved frames of `channels` channels down to mono and feeds them.
  void FeedInterleaved(std::span<const float> frames, int channels);

  // The band values of a window of kFftSize samples against the given peaks (which it updates).
  static BandMessage Bands(std::span<const float, kFftSize> window, std::array<double, kBands>& peaks);

 private:
  void Emit();

  LevelSink levelSink_;
  BandSink bandSink_;
  LevelMessage message_{};
  std::size_t filled_ = 0;
  int sinceBands_ = 0;
  std::vector<float> history_;  // the last kFftSize samples, a ring
  std::size_t historyAt_ = 0;   // where the next sample goes
  std::array<double, kBands> peaks_{};
};

// In-place radix-2 FFT; the size must be a power of two no larger than kFftSize (others are left alone).
void Fft(std::span<std::complex<double>> values);
// The spectrum of kFftSize real samples, bins 0 to kFftSize / 2 (the rest mirror them), through a transform
// of half the size.
void RealSpectrum(std::span<const double, kFftSize> samples,
                  std::span<std::complex<double>, kFftSize / 2 + 1> spectrum);

}  // namespace norvane::audio
