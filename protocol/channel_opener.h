#pragma once
// Opening and closing the command interface of a CommandChannel.

#include <string_view>

#include "hid/hid_backend.h"
#include "hid/interface_table.h"
#include "protocol/command_channel.h"

namespace norvane::protocol {

// Under the transfer lock: clears the open flag, closes and reopens the wired interface (LinkType::kWired)
// or the receiver interface (LinkType::kReceiver) at `path` with read and write access, overlapped and
// shared. On success sets the open flag and the link type. Returns why the open failed, kNone on success.
[[nodiscard]] hid::OpenError OpenCommandInterface(CommandChannel& channel, std::string_view path,
                                                  LinkType link);

// The same on the wired interface without setting a link type: the channel keeps the link settings it has
// (a new channel's: 24-byte payloads, wireless flag clear).
[[nodiscard]] hid::OpenError OpenWiredKeepingLink(CommandChannel& channel, std::string_view path);

// The opening the catalogue gives a command interface of that kind: a receiver kind through the receiver
// link, a wired keyboard or mouse with the wired link type, and the mouse pad and the headset on their wired
// interface with no link type set (their firmware takes the 24-byte frames of a new channel).
[[nodiscard]] hid::OpenError OpenCommandInterfaceOfKind(CommandChannel& channel, std::string_view path,
                                                        hid::DeviceKind kind);

// Under the transfer lock: clears the open flag and closes both interfaces.
void CloseCommandInterfaces(CommandChannel& channel);

}  // namespace norvane::protocol
