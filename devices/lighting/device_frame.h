#pragma once
// The 512-byte lighting frame a page streams to its device, built from the LED frame buffer. Nothing is
// ever written past the 512 bytes, whatever the number of LEDs or the positions given.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/lighting/led_record.h"

namespace norvane::lighting {

inline constexpr std::size_t kDeviceFrameSize = 512;
inline constexpr std::uint8_t kNoDevicePosition = 255;
using DeviceFrame = std::array<std::uint8_t, kDeviceFrameSize>;

// Generic layout: LED n at bytes 3n..3n+2 (LED 170 has no place in the frame), each colour byte scaled
// by the LED's level.
DeviceFrame BuildDeviceFrame(std::span<const LedRecord> leds);

// Keyboard layout: LED n goes to the device position positions[n] (255: not on this keyboard) and writes
// its scaled colour at bytes 3p, 3p+1 and 3p+2, three bytes per key position like the key table. Positions
// whose three bytes do not fit the frame are left out.
DeviceFrame BuildKeyboardDeviceFrame(std::span<const LedRecord> leds,
                                     std::span<const std::uint8_t> positions);

}  // namespace norvane::lighting
