#include "devices/keyboard/frame_streamer.h"

#include <algorithm>

#include "protocol/command_codes.h"
#include "protocol/commands.h"

namespace norvane::devices::keyboard {

StreamOutcome FrameStreamer::Stream(protocol::CommandChannel& channel, const lighting::DeviceFrame& frame,
                                    std::size_t bytes) {
  const Clock::TimePoint now = clock_.Now();
  if (paused_ && now < resume_at_) return StreamOutcome::kPaused;
  paused_ = false;
  last_result_ = protocol::CmdStreamLight(channel, std::span(frame).first(std::min(bytes, frame.size())));
  if (last_result_ == protocol::kResultOk) return StreamOutcome::kSent;
  paused_ = true;
  resume_at_ = now + kPauseAfterFailure;
  return StreamOutcome::kFailed;
}

}  // namespace norvane::devices::keyboard
