#pragma once
// Opening and closing the command interface of a CommandChannel.

#include <string_view>

#include "hid/hid_backend.h"
#include "protocol/command_channel.h"

namespace norvane::protocol {

// Under the transfer lock: clears the open flag, closes and reopens the wired interface (LinkType::kWired)
// or the receiver interface (LinkType::kReceiver) at `path` with read and write access, overlapped and
// shared. On success sets the open flag and the link type. Returns why the open failed, kNone on success.
hid::OpenError OpenCommandInterface(CommandChannel& channel, std::string_view path, LinkType link);

// Under the transfer lock: clears the open flag and closes both interfaces.
void CloseCommandInterfaces(CommandChannel& channel);

}  // namespace norvane::protocol
