#include "protocol/channel_opener.h"

#include <mutex>
#include <optional>

namespace norvane::protocol {
namespace {

// Under the transfer lock: reopens `device` at `path`; on success the link type (when one is given) and then
// the open flag.
hid::OpenError Reopen(CommandChannel& channel, hid::HidDevice& device, std::string_view path,
                      std::optional<LinkType> link) {
  std::lock_guard transfer(channel.TransferLock());
  channel.SetOpen(false);
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
  if (link) channel.SetLinkType(*link);
  channel.SetOpen(true);
  return hid::OpenError::kNone;
}

}  // namespace

hid::OpenError OpenCommandInterface(CommandChannel& channel, std::string_view path, LinkType link) {
  hid::HidDevice& device = link == LinkType::kReceiver ? channel.Receiver() : channel.Wired();
  return Reopen(channel, device, path, link);
}

hid::OpenError OpenWiredKeepingLink(CommandChannel& channel, std::string_view path) {
  return Reopen(channel, channel.Wired(), path, std::nullopt);
}

hid::OpenError OpenCommandInterfaceOfKind(CommandChannel& channel, std::string_view path,
                                          hid::DeviceKind kind) {
  switch (kind) {
    case hid::DeviceKind::kMousePad:
    case hid::DeviceKind::kHeadset:
      return OpenWiredKeepingLink(channel, path);
    default:
      return OpenCommandInterface(channel, path,
                                  hid::IsReceiverKind(kind) ? LinkType::kReceiver : LinkType::kWired);
  }
}

void CloseCommandInterfaces(CommandChannel& channel) {
  std::lock_guard transfer(channel.TransferLock());
  channel.SetOpen(false);
  channel.Wired().Close();
  channel.Receiver().Close();
}

}  // namespace norvane::protocol
