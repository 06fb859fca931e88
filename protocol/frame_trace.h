#pragma once
// One trace line per frame: ">" for host to device, "<" for device to host, a space, then the 64 bytes as
// lower-case hex separated by single spaces.

#include <cstdint>
#include <span>
#include <string>

#include "protocol/command_frame.h"

namespace norvane::protocol {

enum class FrameDirection : char {
  kToDevice = '>',
  kFromDevice = '<',
};

std::string FormatFrameLine(FrameDirection direction, std::span<const uint8_t, CommandFrame::kSize> frame);

// Writes the line through the process trace when tracing is on; costs nothing otherwise.
void TraceFrame(FrameDirection direction, std::span<const uint8_t, CommandFrame::kSize> frame);

}  // namespace norvane::protocol
