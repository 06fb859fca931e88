#pragma once
// One device series: CmdBegin, the commands, CmdEnd. The series holds the channel's command lock throughout
// so no other command lands between its frames, and once CmdBegin has gone out, CmdEnd always follows, also
// when a command in between failed: a keyboard left inside a series ignores its keys' new settings.

#include <mutex>
#include <utility>

#include "protocol/command_channel.h"
#include "protocol/command_codes.h"
#include "protocol/commands.h"

namespace norvane::devices::keyboard {

class CommandSeries {
 public:
  explicit CommandSeries(protocol::CommandChannel& channel)
      : channel_(channel), lock_(channel.CommandLock()), result_(protocol::CmdBegin(channel)) {}
  ~CommandSeries() { protocol::CmdEnd(channel_); }
  CommandSeries(const CommandSeries&) = delete;
  CommandSeries& operator=(const CommandSeries&) = delete;

  // Runs `command` when everything so far succeeded; the first failure is kept and ends the series.
  template <typename Command>
  int Run(Command&& command) {
    if (result_ == protocol::kResultOk) result_ = std::forward<Command>(command)(channel_);
    return result_;
  }

  // 1 while every command succeeded, else the first failing command's result.
  int Result() const { return result_; }

 private:
  protocol::CommandChannel& channel_;
  std::lock_guard<std::recursive_mutex> lock_;
  int result_;
};

}  // namespace norvane::devices::keyboard
