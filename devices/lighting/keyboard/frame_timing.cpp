#include "devices/lighting/keyboard/frame_timing.h"

#include <array>

#include "devices/lighting/light_tables.h"

namespace norvane::lighting::keyboard {
namespace {

using Row = std::array<std::uint8_t, kLevelCount>;

constexpr Row kColumnRainbowRow = {12, 8, 5, 0, 0};
constexpr Row kSteadyRow = {3, 3, 3, 3, 0};
constexpr Row kCommonRow = {8, 5, 3, 1, 0};
// The audio visualisations render on every second tick whatever the speed.
constexpr Row kAudioRow = {2, 2, 2, 2, 2};

const Row& RowOf(std::uint8_t mode) {
  switch (mode) {
    case 2:
      return kColumnRainbowRow;
    case 17:
    case 19:
      return kSteadyRow;
    case 29:
      return kAudioRow;
    // Every other mode, including the late additions 40 to 45, runs on the common pace.
    default:
      return kCommonRow;
  }
}

}  // namespace

std::uint8_t FrameInterval(std::uint8_t mode, std::uint8_t speed) {
  return RowOf(mode)[ClampLevel(speed)];
}

}  // namespace norvane::lighting::keyboard
