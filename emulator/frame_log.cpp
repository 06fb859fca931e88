#include "emulator/frame_log.h"

#include <utility>

namespace norvane::emulator {

void FrameLog::Append(LoggedFrame frame) {
  // The demo mode runs for hours: keep the newest frames only.
  if (frames_.size() == kCapacity) frames_.pop_front();
  frames_.push_back(std::move(frame));
}

std::vector<LoggedFrame> FrameLog::Snapshot() const {
  return {frames_.begin(), frames_.end()};
}

void FrameLog::Clear() {
  frames_.clear();
}

}  // namespace norvane::emulator
