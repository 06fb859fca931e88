#include "devices/paired_link.h"

#include <condition_variable>
#include <mutex>

#include "platform/trace.h"
#include "protocol/command_codes.h"
#include "protocol/commands.h"

namespace norvane::devices {

namespace {

// False when stop was requested.
bool WaitFor(std::chrono::milliseconds interval, std::stop_token stop) {
  std::mutex mutex;
  std::condition_variable_any never;
  std::unique_lock lock(mutex);
  never.wait_for(lock, stop, interval, [] { return false; });
  return !stop.stop_requested();
}

}  // namespace

WirelessLinkAnswer QueryWirelessLink(protocol::CommandChannel& channel) {
  if (!channel.IsWireless()) return WirelessLinkAnswer::kUp;
  const protocol::WirelessLinkReply reply = protocol::ExchangeWirelessLinkQuery(channel);
  switch (reply.result) {
    case protocol::kResultOk:
      return reply.reachable ? WirelessLinkAnswer::kUp : WirelessLinkAnswer::kOffline;
    // The receiver answered, just not "reachable": its own link-down code, or a refusal (whatever its
    // payload holds). Asking again may find the device.
    case protocol::kResultLinkDown:
    case protocol::kResultRefused:
    case protocol::kResultRefusedOther:
      return WirelessLinkAnswer::kOffline;
    default:
      return WirelessLinkAnswer::kNoAnswer;
  }
}

WirelessLinkAnswer WaitForWirelessLink(protocol::CommandChannel& channel, std::stop_token stop,
                                       LinkWaitOptions options) {
  WirelessLinkAnswer answer = QueryWirelessLink(channel);
  for (int retry = 0; retry < options.extra_tries && answer == WirelessLinkAnswer::kOffline; ++retry) {
    Trace("paired link: the device behind the receiver is not reachable yet");
    if (!WaitFor(options.interval, stop)) break;
    answer = QueryWirelessLink(channel);
  }
  if (answer == WirelessLinkAnswer::kNoAnswer) Trace("paired link: the receiver does not answer");
  return answer;
}

LinkSwitchOutcome SwitchPairedLink(CNorvaneUSBDevice& page, const std::string& path, std::stop_token stop,
                                   LinkWaitOptions options) {
  protocol::CommandChannel& channel = page.CommandChannel();
  LinkSwitchOutcome outcome;
  const bool to_receiver = !channel.IsWireless();
  {
    std::lock_guard lock(channel.TransferLock());
    channel.SetOpen(false);
    channel.Wired().Close();
    channel.Receiver().Close();
    hid::HidDevice& target = to_receiver ? channel.Receiver() : channel.Wired();
    outcome.opened = target.Open(path, true, true, true, false) != 0;
    if (outcome.opened) {
      channel.SetOpen(true);
      channel.SetLinkType(to_receiver ? protocol::LinkType::kReceiver : protocol::LinkType::kWired);
    }
  }
  outcome.on_receiver = channel.IsWireless();
  if (!outcome.opened) {
    Trace("paired link: " + path + " could not be opened");
    return outcome;
  }
  if (to_receiver && page.IsWirelessCapable()) {
    outcome.link = WaitForWirelessLink(channel, stop, options);
  } else {
    outcome.link = WirelessLinkAnswer::kUp;
  }
  return outcome;
}

}  // namespace norvane::devices
