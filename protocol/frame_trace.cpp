#include "protocol/frame_trace.h"

#include "platform/trace.h"

namespace norvane::protocol {

std::string FormatFrameLine(FrameDirection direction, std::span<const uint8_t, CommandFrame::kSize> frame) {
  std::string line;
  line.reserve(2 + CommandFrame::kSize * 3);
  line.push_back(static_cast<char>(direction));
  line.push_back(' ');
  line += HexBytes(frame);
  return line;
}

void TraceFrame(FrameDirection direction, std::span<const uint8_t, CommandFrame::kSize> frame) {
  if (!TraceEnabled()) return;
  Trace(FormatFrameLine(direction, frame));
}

}  // namespace norvane::protocol
