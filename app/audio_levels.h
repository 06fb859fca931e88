#pragma once
// Sound levels from the audio capture program, turned into what the keyboard and mouse pages take.
//
// Each message carries up to 500 levels (what the companion measured since its previous message). For
// every level the change since the previous message counts, |level − previous|. The changes are taken in
// groups of five, of which the first four count: their mean (integer division by 4) and their deviation
// (the square root of the summed squared differences from the mean, divided by 3, in integers). A keyboard
// gets the means of 25 groups, a mouse those of 10, at the start of a 500-value buffer; each gets it on
// every third message, which keeps its frames (32 a second) fed by a companion that sends about 96.
//
// Levels come from another program: every value is taken, none can overflow the arithmetic.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace norvane::app {

class AudioLevelProcessor {
 public:
  static constexpr std::size_t kLevels = 500;
  static constexpr std::size_t kKeyboardGroups = 25;
  static constexpr std::size_t kMouseGroups = 10;
  using Buffer = std::array<std::int32_t, kLevels>;

  struct Feeds {
    std::optional<Buffer> keyboard;
    std::optional<Buffer> mouse;
  };

  // One message's levels (the whole 500-value buffer, as the window keeps it). `keyboard` and `mouse`: a
  // page of that kind is connected, so its groups are computed (the keyboard's first, as the devices are
  // listed). A buffer comes back for a kind on every third message.
  Feeds Process(std::span<const std::int32_t, kLevels> levels, bool keyboard, bool mouse);

  std::span<const std::int32_t, kKeyboardGroups> KeyboardMeans() const { return keyboardMean_; }
  std::span<const std::int32_t, kKeyboardGroups> KeyboardDeviations() const { return keyboardDeviation_; }
  std::span<const std::int32_t, kMouseGroups> MouseMeans() const { return mouseMean_; }
  std::span<const std::int32_t, kMouseGroups> MouseDeviations() const { return mouseDeviation_; }

  struct Group {
    std::int32_t mean = 0;
    std::int32_t deviation = 0;
  };
  // The mean and the deviation of four changes.
  static Group GroupOf(std::span<const std::int64_t, 4> changes);

 private:
  Buffer previous_{};
  int keyboardCounter_ = 0;
  int mouseCounter_ = 0;
  std::array<std::int32_t, kKeyboardGroups> keyboardMean_{};
  std::array<std::int32_t, kKeyboardGroups> keyboardDeviation_{};
  std::array<std::int32_t, kMouseGroups> mouseMean_{};
  std::array<std::int32_t, kMouseGroups> mouseDeviation_{};
};

}  // namespace norvane::app
