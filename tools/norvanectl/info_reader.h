#pragma once
// Reads the device information block of one command interface: CmdBegin, CmdReadDeviceInfo, CmdEnd.

#include <array>
#include <cstdint>
#include <string>

#include "hid/interface_table.h"
#include "protocol/command_channel.h"
#include "protocol/commands.h"
#include "tools/norvanectl/interface_scan.h"

namespace norvane::cli {

struct InfoOutcome {
  std::string path;
  size_t table_row = 0;
  hid::DeviceKind kind = hid::DeviceKind::kKeyboard;
  protocol::LinkType link = protocol::LinkType::kWired;
  bool ok = false;
  std::array<uint8_t, protocol::kDeviceInfoSize> block{};
  std::string error;  // one line for the user when not ok
};

// `interface` must match a command row of the interface table.
InfoOutcome ReadDeviceInfo(const SeenInterface& interface);

// One line on a failed command result: "timed out: no reply within 250 ms" and the like.
std::string DescribeFailure(int result, const protocol::CommandChannel& channel);

// "permission denied" and the like.
std::string DescribeOpenError(hid::OpenError error);

}  // namespace norvane::cli
