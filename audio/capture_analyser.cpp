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

// e^(-2πik/kFftSize) for k < kFftSize / 2: every stage of every transform up to kFftSize takes its
// factors from here (a stage of length L uses every (kFftSize / L)-th), computed once.
const std::array<std::complex<double>, kFftSize / 2>& Twiddles() {
  static const auto table = [] {
    std::array<std::complex<double>, kFftSize / 2> factors{};
    for (std::size_t k = 0; k < factors.size(); ++k)
      factors[k] = std::polar(1.0, -2 * std::numbers::pi * double(k) / double(kFftSize));
    return factors;
  }();
  return table;
}

}  // namespace

void Fft(std::span<std::complex<double>> values) {
  const std::size_t n = values.size();
  if (n < 2 || n > kFftSize || (n & (n - 1)) != 0) return;
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(values[i], values[j]);
  }
  // Plain doubles (a complex number is two of them, real first, as the language guarantees): built as
  // complex values, the butterflies went through the stack and stalled on every one.
  double* data = reinterpret_cast<double*>(values.data());
  const double* factors = reinterpret_cast<const double*>(Twiddles().data());
  for (std::size_t length = 2; length <= n; length <<= 1) {
    const std::size_t half = length / 2;
    const std::size_t stride = kFftSize / length;
    for (std::size_t start = 0; start < n; start += length) {
      for (std::size_t k = 0; k < half; ++k) {
        const double wr = factors[2 * k * stride];
        const double wi = factors[2 * k * stride + 1];
        double* even = data + 2 * (start + k);
        double* odd = data + 2 * (start + k + half);
        const double tr = odd[0] * wr - odd[1] * wi;
        const double ti = odd[0] * wi + odd[1] * wr;
        odd[0] = even[0] - tr;
        odd[1] = even[1] - ti;
        even[0] += tr;
        even[1] += ti;
      }
    }
  }
}

void RealSpectrum(std::span<const double, kFftSize> samples,
                  std::span<std::complex<double>, kFftSize / 2 + 1> spectrum) {
  // The even samples as real parts and the odd ones as imaginary parts: one transform of half the size,
  // then each bin is recombined from the two interleaved halves' spectra.
  constexpr std::size_t half = kFftSize / 2;
  std::array<std::complex<double>, half> packed{};
  std::copy(samples.begin(), samples.end(), reinterpret_cast<double*>(packed.data()));
  Fft(packed);
  const auto& twiddles = Twiddles();
  for (std::size_t k = 0; k <= half; ++k) {
    // Bin k of the even samples' spectrum is (Z[k] + conj Z[-k]) / 2, of the odd samples' (Z[k] - conj Z[-k])
    // / 2i; the odd ones are turned by e^(-2πik/N) and added.
    const double* z = reinterpret_cast<const double*>(&packed[k % half]);
    const double* m = reinterpret_cast<const double*>(&packed[(half - k) % half]);
    const double evenRe = 0.5 * (z[0] + m[0]);
    const double evenIm = 0.5 * (z[1] - m[1]);
    const double oddRe = 0.5 * (z[1] + m[1]);
    const double oddIm = -0.5 * (z[0] - m[0]);
    const double wr = k < half ? twiddles[k].real() : -1.0;
    const double wi = k < half ? twiddles[k].imag() : 0.0;
    double* bin = reinterpret_cast<double*>(&spectrum[k]);
    bin[0] = evenRe + wr * oddRe - wi * oddIm;
    bin[1] = evenIm + wr * oddIm + wi * oddRe;
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

BandMessage CaptureAnalyser::Bands(std::span<const float, kFftSize> window,
                                   std::array<double, kBands>& peaks) {
  // A Hann window keeps a loud bass from leaking into the treble; computed once.
  static const std::array<double, kFftSize> hann = [] {
    std::array<double, kFftSize> weights{};
    for (std::size_t i = 0; i < kFftSize; ++i)
      weights[i] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(kFftSize - 1));
    return weights;
  }();
  std::array<double, kFftSize> weighted{};
  for (std::size_t i = 0; i < kFftSize; ++i) weighted[i] = window[i] * hann[i];
  std::array<std::complex<double>, kFftSize / 2 + 1> spectrum{};
  RealSpectrum(weighted, spectrum);
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
