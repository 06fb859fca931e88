#pragma once
// The device part of switching a keyboard or mouse page between its wired interface and its 2.4 GHz
// receiver when one of the pair comes or goes, keeping one page for both.

#include <chrono>
#include <stop_token>
#include <string>

#include "devices/usb_device.h"
#include "protocol/command_channel.h"

namespace norvane::devices {

enum class WirelessLinkAnswer {
  kUp,        // the receiver reports the device behind it reachable
  kOffline,   // the receiver answered: the device is not reachable (yet)
  kNoAnswer,  // no reply, or the request could not be written: asking again will not help
};

// One wireless-link query over the channel's receiver link (wired channels are always up).
WirelessLinkAnswer QueryWirelessLink(protocol::CommandChannel& channel);

struct LinkWaitOptions {
  int extra_tries = 25;
  std::chrono::milliseconds interval{50};
};

// Asks until the device is reachable: an "offline" answer is asked again up to extra_tries more times,
// `interval` apart; a query that gets no answer ends the wait at once. Woken by `stop`.
WirelessLinkAnswer WaitForWirelessLink(protocol::CommandChannel& channel, std::stop_token stop = {},
                                       LinkWaitOptions options = {});

struct LinkSwitchOutcome {
  bool opened = false;       // the new interface is open
  bool on_receiver = false;  // the page now talks through the receiver
  // On the receiver of a wireless-capable page: the link query's final answer.
  WirelessLinkAnswer link = WirelessLinkAnswer::kNoAnswer;
};

// Switches the page's command channel to `path`: onto the wired interface when it is on the receiver now,
// else onto the receiver. Under the transfer lock the open flag is cleared, both interfaces are closed
// (the one switched away from must not stay open and keep its node busy) and `path` is opened into the
// new one. On success the open flag is set, the link type follows, and on the receiver of a
// wireless-capable page the link is queried (WaitForWirelessLink). What the tab does next (timers,
// InitialSync, status reads) belongs to the caller.
LinkSwitchOutcome SwitchPairedLink(CNorvaneUSBDevice& page, const std::string& path,
                                   std::stop_token stop = {}, LinkWaitOptions options = {});

}  // namespace norvane::devices
