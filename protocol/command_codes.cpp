#include "protocol/command_codes.h"

namespace norvane::protocol {

std::string_view DescribeResult(int result) {
  switch (result) {
    case kResultOk:
      return "accepted";
    case kResultNoReply:
      return "no reply (channel closed or the device did not answer in time)";
    case kResultNotWritten:
      return "request not written";
    case kResultLinkDown:
      return "wireless link down (the receiver answered 0xaa)";
    case kResultRefused:
      return "refused by the device (status 0xff)";
    case kResultRefusedOther:
      return "refused by the device (status 0xfe)";
    case kResultBadPage:
      return "key-table page other than 0";
    default:
      return "unknown result";
  }
}

}  // namespace norvane::protocol
