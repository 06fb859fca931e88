#pragma once
// Streaming the presented lighting frames to the keyboard in the host-driven modes. A frame the keyboard
// does not take pauses the stream for 200 ms on the page's clock, so a keyboard that has gone quiet costs one
// failed frame per pause instead of one per presentation; nothing ever sleeps on the UI thread.

#include <chrono>
#include <cstddef>
#include <span>

#include "devices/lighting/device_frame.h"
#include "platform/clock.h"
#include "protocol/command_channel.h"

namespace norvane::devices::keyboard {

enum class StreamOutcome { kSent, kFailed, kPaused };

class FrameStreamer {
 public:
  static constexpr std::chrono::milliseconds kPauseAfterFailure{200};

  explicit FrameStreamer(const Clock& clock) : clock_(clock) {}

  // Sends the first `bytes` bytes of the frame (at most the whole frame) unless the stream is paused.
  StreamOutcome Stream(protocol::CommandChannel& channel, const lighting::DeviceFrame& frame,
                       std::size_t bytes);

  int LastResult() const { return last_result_; }

 private:
  const Clock& clock_;
  bool paused_ = false;
  Clock::TimePoint resume_at_{};
  int last_result_ = 1;
};

}  // namespace norvane::devices::keyboard
