#include "devices/lighting/keyboard/audio_modes.h"

#include <algorithm>
#include <array>

#include "devices/lighting/keyboard/frame_painter.h"
#include "devices/lighting/reactive_fade.h"
#include "devices/lighting/step_counter.h"

namespace norvane::lighting::keyboard {
namespace {

constexpr unsigned kAudioFade = 29;
constexpr std::uint8_t kCentreLed = 51;
constexpr unsigned kRippleEnergyFull = 71;

// How a bar cell is drawn this frame.
struct BarCell {
  std::uint8_t led = kNoLed;
  bool lit = false;
  bool edge = false;                   // always fades
  std::uint8_t tipNeighbour = kNoLed;  // keeps the cell from fading while it is still bright
};

class AudioPainter {
 public:
  AudioPainter(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame)
      : state_(state),
        light_(state.audio.light),
        frame_(frame),
        level_(BrightnessValue(in.params.brightness)),
        multi_(state.audio.light.multiColour != 0) {}

  // Fades the cell unless its tip-side neighbour is still bright, lights it when the bar covers it, and
  // paints it. Returns true when the cell took a wheel colour.
  bool DrawBar(const BarCell& cell, Rgb foreground, std::uint8_t keepBright = 10) {
    if (cell.led == kNoLed) return false;
    std::uint8_t& fade = state_.fade[cell.led];
    const bool neighbourBright = cell.tipNeighbour != kNoLed && state_.fade[cell.tipNeighbour] >= keepBright;
    if (cell.edge || !neighbourBright) fade = FadeStep(fade, kAudioFade);
    if (cell.lit) fade = 255;
    return PaintByFade(cell.led, foreground);
  }

  // Foreground at level × fade while the fade is above 9, else the background at the level.
  bool PaintByFade(std::uint8_t led, Rgb foreground) {
    if (state_.fade[led] > 9) {
      PaintLed(frame_, led, foreground, Scale(level_, state_.fade[led]));
      return multi_;
    }
    PaintLed(frame_, led, light_.background, level_);
    return false;
  }

  Rgb Foreground(std::uint8_t colourIndex) const { return multi_ ? Wheel(colourIndex) : light_.foreground; }
  std::uint8_t Level() const { return level_; }
  bool Multi() const { return multi_; }

 private:
  KeyboardLightState& state_;
  const AudioLight& light_;
  std::span<LedRecord> frame_;
  std::uint8_t level_;
  bool multi_;
};

std::uint8_t AddHue(unsigned hue, unsigned step) {
  return static_cast<std::uint8_t>((hue + step) % kWheelSize);
}

int BarHeightRow(std::int32_t level) {
  return (Attenuation(level) + 100) * 6 / 600;
}

void VerticalBars(KeyboardLightState& state, AudioPainter& paint,
                  const std::array<std::int32_t, 25>& levels) {
  std::uint8_t colourIndex = state.animation.position;
  for (std::size_t k = 0; k < kColumns; ++k) {
    const int top = BarHeightRow(levels[k]);
    for (std::size_t r = 0; r < kRows; ++r) {
      paint.DrawBar({LedAt(k, r), static_cast<int>(r) >= top, r == 0, r ? LedAt(k, r - 1) : kNoLed},
                    paint.Foreground(colourIndex));
    }
    colourIndex = AddHue(colourIndex, 10);
  }
}

void StereoBars(KeyboardLightState& state, const FrameInputs& in, AudioPainter& paint,
                const std::array<std::int32_t, 25>& levels) {
  std::uint8_t& band = state.audio.bandCounter;
  band = StepCounter(in.params.direction != 0, kAudioLevels, band, 1);
  for (std::size_t r = 0; r < kRows; ++r) {
    const int left = (CappedAttenuation(levels[(band + 3 * (r + 1)) % kAudioLevels]) + 100) * 12 / 600;
    const int right = (CappedAttenuation(levels[2 * r + 1]) + 100) * 12 / 600;
    std::uint8_t colourIndex = state.animation.position;
    for (std::size_t k = 0; k < kColumns; ++k) {
      const int column = static_cast<int>(k);
      BarCell cell{LedAt(k, r)};
      if (k <= 8) {  // the left bar grows toward column 0
        cell.lit = column >= left;
        cell.edge = k == 0;
        cell.tipNeighbour = k ? LedAt(k - 1, r) : kNoLed;
      } else {  // the right bar grows toward column 22
        cell.lit = column <= 21 - right;
        cell.edge = k >= 21;
        cell.tipNeighbour = LedAt(k + 1, r);
      }
      paint.DrawBar(cell, paint.Foreground(colourIndex));
      colourIndex = AddHue(colourIndex, 7);
    }
  }
}

void AudioRipples(KeyboardLightState& state, const FrameInputs& in, AudioPainter& paint) {
  ApplyColumnMasks(state, in.params.multiColour != 0, in.params.direction != 0);
  state.masks.Spread();
  for (std::size_t led = 0; led < kLedSlots; ++led) {
    state.fade[led] = FadeStep(state.fade[led], kAudioFade);
    state.hue[led] = static_cast<std::uint8_t>(state.hue[led] + 9u >= kWheelSize ? 0 : state.hue[led] + 9u);
    paint.PaintByFade(static_cast<std::uint8_t>(led), paint.Foreground(state.hue[led]));
  }
}

void Rings(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame, AudioPainter& paint,
           const std::array<std::int32_t, 25>& levels) {
  int total = 0;
  for (std::int32_t level : levels) total += CappedAttenuation(level);
  const int spin = total / static_cast<int>(kAudioLevels) * 20 / 600;
  std::uint8_t& position = state.animation.position;
  position = StepCounter(in.params.direction != 0, kWheelSize, position, static_cast<unsigned>(spin));
  for (std::size_t r = 0; r < kRings; ++r) {
    const std::uint8_t colourIndex = AddHue(position, 9 * (r + 1));
    const bool lit = static_cast<int>(r) < 20 - spin;
    for (std::uint8_t led : kRingTable[r]) {
      if (led == kNoLed) continue;
      if (lit) {
        state.fade[led] = 255;
        PaintLed(frame, led, Wheel(colourIndex), Scale(paint.Level(), 255));
      } else {
        state.fade[led] = FadeStep(state.fade[led], 0);
        if (led < frame.size()) frame[led].level = Scale(paint.Level(), state.fade[led]);
      }
    }
  }
}

void FallingPeaks(KeyboardLightState& state, AudioPainter& paint,
                  const std::array<std::int32_t, 25>& levels) {
  const std::uint8_t band = state.audio.bandCounter;
  for (std::size_t k = 0; k < kColumns; ++k) {
    const int top =
        std::clamp(BarHeightRow(levels[(band + k + 1) % kAudioLevels]), 0, static_cast<int>(kRows));
    std::uint8_t& peakHeld = state.audio.peakHeld[k];
    const std::uint8_t base = LedAt(k, kRows - 1);
    for (std::size_t r = 0; r < kRows; ++r) {
      if (base != kNoLed && state.fade[base] < 10) peakHeld = 0;
      const std::uint8_t led = LedAt(k, r);
      if (led == kNoLed) continue;
      const Rgb foreground = paint.Multi() ? Wheel(state.hue[led]) : paint.Foreground(0);
      paint.DrawBar({led, false, r == 0, r ? LedAt(k, r - 1) : kNoLed}, foreground, 5);
    }
    if (peakHeld) continue;
    for (std::size_t r = static_cast<std::size_t>(top); r < kRows; ++r) {
      const std::uint8_t led = LedAt(k, r);
      if (led == kNoLed) continue;
      state.fade[led] = 255;  // shown from the next frame
      peakHeld = 1;
      break;
    }
  }
}

// Sums of consecutive levels, divided by 3 whatever the group's size.
template <std::size_t N>
std::array<std::int32_t, N> GroupLevels(const std::array<std::int32_t, 25>& levels,
                                        const std::array<std::size_t, N>& sizes) {
  std::array<std::int32_t, N> groups{};
  std::size_t next = 0;
  for (std::size_t g = 0; g < N; ++g) {
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < sizes[g]; ++i) sum += levels[next++];
    groups[g] = static_cast<std::int32_t>(std::clamp<std::int64_t>(sum / 3, INT32_MIN, INT32_MAX));
  }
  return groups;
}

void GroupBars(KeyboardLightState& state, AudioPainter& paint, const std::array<std::int32_t, 25>& levels) {
  const auto groups = GroupLevels(levels, std::array<std::size_t, 6>{2, 3, 3, 4, 5, 7});
  for (std::size_t r = 0; r < kRows; ++r) {
    const int end = 23 - (CappedAttenuation(groups[5 - r]) * 23 + 2300) / 600;
    std::uint8_t colourIndex = state.animation.position;
    for (std::size_t k = 0; k < kColumns; ++k) {
      paint.DrawBar({LedAt(k, r), static_cast<int>(k) <= end, k >= 21, LedAt(k + 1, r)},
                    paint.Foreground(colourIndex));
      colourIndex = AddHue(colourIndex, 3);
    }
  }
}

void AlternatingBars(KeyboardLightState& state, AudioPainter& paint,
                     const std::array<std::int32_t, 25>& levels) {
  const auto groups = GroupLevels(levels, std::array<std::size_t, 6>{2, 2, 3, 4, 5, 5});
  for (std::size_t r = 0; r < kRows; ++r) {
    const int gap = CappedAttenuation(groups[r]) * 23 / 600;
    std::uint8_t colourIndex = state.animation.position;
    for (std::size_t k = 0; k < kColumns; ++k) {
      const int column = static_cast<int>(k);
      BarCell cell{LedAt(k, r)};
      if (r % 2 == 0) {  // grows from the right edge toward column 0
        cell.lit = column >= gap;
        cell.edge = k <= 1;
        cell.tipNeighbour = k ? LedAt(k - 1, r) : kNoLed;
      } else {  // grows from the left edge; silence (gap 23) lights nothing, as on the even rows
        cell.lit = column <= 22 - gap;
        cell.edge = k >= 21;
        cell.tipNeighbour = LedAt(k + 1, r);
      }
      if (paint.DrawBar(cell, paint.Foreground(colourIndex))) colourIndex = AddHue(colourIndex, 2);
    }
  }
}

}  // namespace

int Attenuation(std::int32_t level) {
  const std::int64_t scaled = std::int64_t{level} * kSilentAttenuation / kFullScaleLevel;
  return static_cast<int>(
      std::clamp<std::int64_t>(kSilentAttenuation - scaled, -kSilentAttenuation * 4, kSilentAttenuation * 4));
}

int CappedAttenuation(std::int32_t level) {
  return std::clamp(Attenuation(level), 0, kSilentAttenuation);
}

void FeedAudioLevels(KeyboardLightState& state, std::uint8_t liveMode, std::span<const std::int32_t> levels) {
  AudioState& audio = state.audio;
  audio.levels.fill(0);
  std::copy_n(levels.begin(), std::min(levels.size(), audio.levels.size()), audio.levels.begin());
  if (liveMode != 29 || audio.light.mode != 2) return;
  int total = 0;
  for (std::int32_t level : audio.levels) total += CappedAttenuation(level);
  const int average = total / static_cast<int>(kAudioLevels);
  audio.rippleEnergy += static_cast<unsigned>(25 - average * 25 / kSilentAttenuation);
  if (audio.rippleEnergy >= kRippleEnergyFull) {
    audio.rippleEnergy = 0;
    RippleFromLed(state, kCentreLed, 1);
  }
}

void FrameAudioVisualisation(KeyboardLightState& state, const FrameInputs& in, std::span<LedRecord> frame) {
  const std::array<std::int32_t, 25> levels = state.audio.levels;
  state.audio.levels.fill(0);
  AudioPainter paint(state, in, frame);
  const std::uint8_t visualisation = state.audio.light.mode;
  if (visualisation != 3) {
    state.animation.position = StepCounter(in.params.direction != 0, kWheelSize, state.animation.position, 1);
  }
  switch (visualisation) {
    case 0:
      return VerticalBars(state, paint, levels);
    case 1:
      return StereoBars(state, in, paint, levels);
    case 2:
      return AudioRipples(state, in, paint);
    case 3:
      return Rings(state, in, frame, paint, levels);
    case 4:
      return FallingPeaks(state, paint, levels);
    case 5:
      return GroupBars(state, paint, levels);
    case 6:
      return AlternatingBars(state, paint, levels);
    default:
      return FrameOff(frame);
  }
}

}  // namespace norvane::lighting::keyboard
