#pragma once
// One device series: CmdBegin, the commands, CmdEnd. The series holds the channel's command lock throughout
// so no other command lands between its frames, and once CmdBegin has gone out, CmdEnd always follows, also
// when a command in between failed: a device left inside a series ignores the settings written to it.

#include <mutex>
#include <utility>

#include "protocol/command_channel.h"
#include "protocol/command_codes.h"
#include "protocol/commands.h"

namespace norvane::protocol {

class CommandSeries {
 public:
  // Sends CmdBegin; Result() tells how it went.
  explicit CommandSeries(CommandChannel& channel)
      : channel_(channel), lock_(channel.CommandLock()), result_(CmdBegin(channel)) {}
  // Sends CmdEnd unless End() did.
  ~CommandSeries() {
    if (!ended_) static_cast<void>(CmdEnd(channel_));
  }
  CommandSeries(const CommandSeries&) = delete;
  CommandSeries& operator=(const CommandSeries&) = delete;

  // Runs `command` (called with the channel) when everything so far succeeded; the first failure is kept
  // and ends the series.
  template <typename Command>
  int Run(Command&& command) {
    if (result_ == kResultOk) result_ = std::forward<Command>(command)(channel_);
    return result_;
  }

  // 1 while CmdBegin and every command succeeded, else the first failing one's result.
  int Result() const { return result_; }

  // Sends CmdEnd now (once; later calls send nothing and give 1) and returns its own result, for callers
  // that report a failed end. The lock is held until the series object goes.
  [[nodiscard]] int End() {
    if (ended_) return kResultOk;
    ended_ = true;
    return CmdEnd(channel_);
  }

 private:
  CommandChannel& channel_;
  std::lock_guard<std::recursive_mutex> lock_;
  int result_;
  bool ended_ = false;
};

}  // namespace norvane::protocol
