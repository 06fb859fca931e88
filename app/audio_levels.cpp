#include "app/audio_levels.h"

#include <algorithm>
#include <cmath>

namespace norvane::app {

namespace {

// A change larger than this is as large as it gets: its square, summed four times, still fits.
constexpr std::int64_t kLargestChange = std::int64_t{1} << 30;

std::uint64_t IntegerSquareRoot(std::uint64_t value) {
  auto root = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(value)));
  while (root * root > value) --root;
  while ((root + 1) * (root + 1) <= value) ++root;
  return root;
}

}  // namespace

AudioLevelProcessor::Group AudioLevelProcessor::GroupOf(std::span<const std::int64_t, 4> changes) {
  std::int64_t sum = 0;
  for (const std::int64_t change : changes) sum += change;
  const std::int64_t mean = sum / 4;
  std::uint64_t squares = 0;
  for (const std::int64_t change : changes) {
    const std::int64_t off = change - mean;
    squares += static_cast<std::uint64_t>(off * off);
  }
  return {static_cast<std::int32_t>(mean), static_cast<std::int32_t>(IntegerSquareRoot(squares / 3))};
}

AudioLevelProcessor::Feeds AudioLevelProcessor::Process(std::span<const std::int32_t, kLevels> levels,
                                                        bool keyboard, bool mouse) {
  // Counted whether or not such a page is there (bounded: only "above 2" matters).
  keyboardCounter_ = std::min(keyboardCounter_ + 1, 3);
  mouseCounter_ = std::min(mouseCounter_ + 1, 3);
  std::array<std::int64_t, kLevels> changes{};
  for (std::size_t i = 0; i < kLevels; ++i) {
    const std::int64_t change = std::int64_t{levels[i]} - std::int64_t{previous_[i]};
    changes[i] = std::min(change < 0 ? -change : change, kLargestChange);
  }
  std::copy(levels.begin(), levels.end(), previous_.begin());

  Feeds feeds;
  Buffer feed{};
  auto groups = [&](std::span<std::int32_t> means, std::span<std::int32_t> deviations) {
    for (std::size_t g = 0; g < means.size(); ++g) {
      const Group group = GroupOf(std::span<const std::int64_t, 4>(changes.data() + 5 * g, 4));
      means[g] = group.mean;
      deviations[g] = group.deviation;
    }
    std::copy(means.begin(), means.end(), feed.begin());
  };
  if (keyboard) {
    groups(keyboardMean_, keyboardDeviation_);
    if (keyboardCounter_ > 2) {
      feeds.keyboard = feed;
      keyboardCounter_ = 0;
    }
  }
  if (mouse) {
    // What the keyboard's groups left beyond the mouse's ten stays in the buffer.
    groups(mouseMean_, mouseDeviation_);
    if (mouseCounter_ > 2) {
      feeds.mouse = feed;
      mouseCounter_ = 0;
    }
  }
  return feeds;
}

}  // namespace norvane::app
