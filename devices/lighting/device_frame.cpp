#include "devices/lighting/device_frame.h"

#include <algorithm>

namespace norvane::lighting {
namespace {

void WriteScaled(DeviceFrame& frame, std::size_t offset, const LedRecord& led) {
  if (offset + 3 > frame.size()) return;
  frame[offset] = Scale(led.red, led.level);
  frame[offset + 1] = Scale(led.green, led.level);
  frame[offset + 2] = Scale(led.blue, led.level);
}

}  // namespace

DeviceFrame BuildDeviceFrame(std::span<const LedRecord> leds) {
  DeviceFrame frame{};
  constexpr std::size_t kNoFramePlace = 170;
  for (std::size_t n = 0; n < leds.size(); ++n) {
    if (n == kNoFramePlace) continue;
    WriteScaled(frame, 3 * n, leds[n]);
  }
  return frame;
}

DeviceFrame BuildKeyboardDeviceFrame(std::span<const LedRecord> leds,
                                     std::span<const std::uint8_t> positions) {
  DeviceFrame frame{};
  const std::size_t count = std::min(leds.size(), positions.size());
  for (std::size_t n = 0; n < count; ++n) {
    if (positions[n] == kNoDevicePosition) continue;
    WriteScaled(frame, 3 * std::size_t{positions[n]}, leds[n]);
  }
  return frame;
}

}  // namespace norvane::lighting
