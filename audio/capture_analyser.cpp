#include "audio/capture_analyser.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace norvane::audio {

namespace {

// A peak falls to half in about two seconds of band messages (32 a second), and never below this floor, so
// silence stays dark instead of showing amplified noise.
constexpr double kPeakFall = 0.989;
constexpr double kPeakFloor = 1e-3;

}  // namespace

void Fft(std::span<std::complex<double>> values) {
  const std::size_t n = values.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(values[i], values[j]);
  }
  for (std::size_t length = 2; length <= n; length <<= 1) {
    const double angle = -2 * std::numbers::pi / double(length);
    const std::complex<double> step(std::cos(angle), std::sin(angle));
    for (std::size_t start = 0; start < n; start += length) {
      std::complex<double> w(1);
      for (std::size_t k = 0; k < length / 2; ++k) {
        const std::complex<double> even = values[start + k];
        const std::complex<double> odd = values[start + k + length / 2] * w;
        values[start + k] = even + odd;
        values[start + k + length / 2] = even - odd;
        w *= step;
      }
    }
  }
}

CaptureAnalyser::CaptureAnalyser(LevelSink levels, BandSink bands)
    : levelSink_(std::move(levels)), bandSink_(std::move(bands)), history_(kFftSize, 0.0f) {
  peaks_.fill(kPeakFloor);
}

void CaptureAnalyser::Feed(std::span<const float> samples) {
  for (float sample : samples) {
    const float clipped = std::isfinite(sample) ? std::clamp(sample, -1.0f, 1.0f) : 0.0f;
    message_[filled_++] = static_cast<std::int32_t>(std::lround(clipped * kLevelScale));
    history_[historyAt_] = clipped;
    historyAt_ = (historyAt_ + 1) % kFftSize;
    if (filled_ == kLevelsPerMessage) Emit();
  }
}

void CaptureAnalyser::FeedInterleaved(std::span<const float> frames, int channels) {
  if (channels <= 0) return;
  std::vector<float> mono(frames.size() / std::size_t(channels));
  for (std::size_t f = 0; f < mono.size(); ++f) {
    float sum = 0;
    for (int c = 0; c < channels; ++c) sum += frames[f * std::size_t(channels) + std::size_t(c)];
    mono[f] = sum / float(channels);
  }
  Feed(mono);
}

void CaptureAnalyser::Emit() {
  filled_ = 0;
  if (levelSink_) levelSink_(message_);
  if (++sinceBands_ < kBandEvery) return;
  sinceBands_ = 0;
  if (!bandSink_) return;
  // Oldest sample first.
  std::array<float, kFftSize> window{};
  for (std::size_t i = 0; i < kFftSize; ++i) window[i] = history_[(historyAt_ + i) % kFftSize];
  bandSink_(Bands(window, peaks_));
}

BandMessage CaptureAnalyser::Bands(std::span<const float, kFftSize> window, std::array<double, kBands>& peaks) {
  // A Hann window keeps a loud bass from leaking into the treble; computed once.
  static const std::array<double, kFftSize> hann = [] {
    std::array<double, kFftSize> weights{};
    for (std::size_t i = 0; i < kFftSize; ++i)
      weights[i] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(kFftSize - 1));
    return weights;
  }();
  std::array<std::complex<double>, kFftSize> spectrum{};
  for (std::size_t i = 0; i < kFftSize; ++i) spectrum[i] = window[i] * hann[i];
  Fft(spectrum);
  BandMessage bands{};
  const double binWidth = double(kSampleRate) / double(kFftSize);
  for (std::size_t b = 0; b < kBands; ++b) {
    const auto first = std::max<std::size_t>(1, std::size_t(kBandEdges[b] / binWidth));
    const auto last = std::min<std::size_t>(kFftSize / 2, std::size_t(kBandEdges[b + 1] / binWidth));
    double energy = 0;
    for (std::size_t k = first; k < last; ++k) energy += std::norm(spectrum[k]);
    const double magnitude = std::sqrt(energy / double(std::max<std::size_t>(1, last - first)));
    peaks[b] = std::max({magnitude, peaks[b] * kPeakFall, kPeakFloor});
    bands[b] = static_cast<std::int32_t>(std::lround(255.0 * magnitude / peaks[b]));
  }
  return bands;
}

}  // namespace norvane::audio
