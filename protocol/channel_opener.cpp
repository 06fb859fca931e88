#include "protocol/channel_opener.h"

#include <mutex>

namespace norvane::protocol {

hid::OpenError OpenCommandInterface(CommandChannel& channel, std::string_view path, LinkType link) {
  std::lock_guard transfer(channel.TransferLock());
  channel.SetOpen(false);
  hid::HidDevice& device = link == LinkType::kReceiver ? channel.Receiver() : channel.Wired();
  device.Close();
  constexpr bool kRead = true;
  constexpr bool kWrite = true;
  constexpr bool kOverlapped = true;
  constexpr bool kExclusive = false;
  if (device.Open(path, kRead, kWrite, kOverlapped, kExclusive) != 1) {
    const hid::OpenError error = device.LastOpenError();
    // A failure without a stated reason is still a failure.
    return error == hid::OpenError::kNone ? hid::OpenError::kIoError : error;
  }
  // The link type goes first, so that no exchange can see the channel open with the previous link's
  // interface and limits.
  channel.SetLinkType(link);
  channel.SetOpen(true);
  return hid::OpenError::kNone;
}

void CloseCommandInterfaces(CommandChannel& channel) {
  std::lock_guard transfer(channel.TransferLock());
  channel.SetOpen(false);
  channel.Wired().Close();
  channel.Receiver().Close();
}

}  // namespace norvane::protocol
