#pragma once
// How many lighting ticks pass between two frames of a keyboard mode at a speed level.

#include <cstdint>

namespace norvane::lighting::keyboard {

// Speed levels above 4 count as 4. A result of 0 renders on every tick.
std::uint8_t FrameInterval(std::uint8_t mode, std::uint8_t speed);

}  // namespace norvane::lighting::keyboard
