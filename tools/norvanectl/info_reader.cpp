#include "tools/norvanectl/info_reader.h"

#include "hid/hid_device.h"
#include "protocol/channel_opener.h"
#include "protocol/command_codes.h"
#include "protocol/command_series.h"

namespace norvane::cli {

std::string DescribeFailure(int result, const protocol::CommandChannel& channel) {
  switch (result) {
    case protocol::kResultNoReply: {
      const auto limit = channel.IsWireless() ? channel.ReceiverTimeLimit() : channel.WiredTimeLimit();
      return "timed out: no reply within " + std::to_string(limit.count()) + " ms";
    }
    case protocol::kResultNotWritten:
      return "the request could not be written to the device";
    case protocol::kResultLinkDown:
      return "the receiver answers 0xaa: its wireless link to the device is down";
    case protocol::kResultRefused:
      return "the device refused it (status 0xff)";
    case protocol::kResultRefusedOther:
      return "the device refused it (status 0xfe)";
    default:
      return std::string(protocol::DescribeResult(result));
  }
}

std::string DescribeOpenError(hid::OpenError error) {
  switch (error) {
    case hid::OpenError::kNone:
      return "no error";
    case hid::OpenError::kNotFound:
      return "the interface is gone";
    case hid::OpenError::kPermissionDenied:
      return "permission denied";
    case hid::OpenError::kIdentityMismatch:
      return "the path now belongs to another device";
    case hid::OpenError::kIoError:
      return "input/output error";
  }
  return "unknown error";
}

InfoOutcome ReadDeviceInfo(const SeenInterface& interface) {
  InfoOutcome outcome;
  outcome.path = interface.path;
  const hid::InterfaceEntry* row = interface.Row();
  if (row == nullptr) {
    outcome.error = interface.path + ": not a known command interface";
    return outcome;
  }
  outcome.table_row = *interface.table_row;
  outcome.kind = row->kind;
  outcome.link = hid::IsReceiverKind(row->kind) ? protocol::LinkType::kReceiver : protocol::LinkType::kWired;
  const std::string who = interface.path + " (" + std::string(hid::DeviceKindName(row->kind)) + ")";

  protocol::CommandChannel channel;
  const hid::OpenError open_error = protocol::OpenCommandInterfaceOfKind(channel, interface.path, row->kind);
  if (open_error != hid::OpenError::kNone) {
    outcome.error = "cannot open " + interface.path + ": " + DescribeOpenError(open_error);
    if (open_error == hid::OpenError::kPermissionDenied) outcome.error += " - " + hid::PermissionHint();
    return outcome;
  }

  // The series holds the command lock and is closed whatever happened inside it, so the device does not
  // stay in it.
  protocol::CommandSeries series(channel);
  const int begun = series.Result();
  if (begun != protocol::kResultOk) {
    outcome.error = who + ": begin: " + DescribeFailure(begun, channel);
    return outcome;
  }
  const int read = series.Run(
      [&](protocol::CommandChannel& ch) { return protocol::CmdReadDeviceInfo(ch, outcome.block); });
  const int ended = series.End();
  if (read != protocol::kResultOk) {
    outcome.error = who + ": information read: " + DescribeFailure(read, channel);
    return outcome;
  }
  if (ended != protocol::kResultOk) {
    outcome.error = who + ": end: " + DescribeFailure(ended, channel);
    return outcome;
  }
  outcome.ok = true;
  return outcome;
}

}  // namespace norvane::cli
