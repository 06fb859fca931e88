#pragma once
// Command codes, reply statuses and result codes of the device protocol.

#include <cstdint>
#include <string_view>

namespace norvane::protocol {

enum class CommandCode : uint8_t {
  kBegin = 0x01,
  kEnd = 0x02,
  kReadDeviceInfo = 0x03,
  kReadSettings = 0x05,
  kWriteSettings = 0x06,
  kReadKeyTable = 0x07,
  kWriteKeyTable = 0x09,
  kWriteKeyLight = 0x0B,
  kStreamLight = 0x12,
  kWriteMacros = 0x15,
  kWriteShootData = 0x17,
  kReadStatus = 0x1A,
  kReadKeyTableExtra = 0x1B,
  kTakeLightControl = 0x1C,
  kWriteKeyTableExtra = 0x27,
  kQueryWirelessLink = 0xAA,
};

constexpr uint8_t ToByte(CommandCode code) {
  return static_cast<uint8_t>(code);
}

// Reply status bytes that mean the device refused the frame; every other value means accepted.
inline constexpr uint8_t kStatusRefused = 0xFF;
inline constexpr uint8_t kStatusRefusedOther = 0xFE;

// The receiver answers any command with this command code while its wireless link is down.
inline constexpr uint8_t kReceiverLinkDownCode = ToByte(CommandCode::kQueryWirelessLink);

// Results of Exchange and of every command: 1 is success, everything else a failure.
inline constexpr int kResultOk = 1;
inline constexpr int kResultNoReply = 0;          // channel not open, or no reply to this command was read
inline constexpr int kResultNotWritten = -1;      // the request was not written (or refused before sending)
inline constexpr int kResultLinkDown = -101;      // the receiver answered 0xAA: its wireless link is down
inline constexpr int kResultRefused = -102;       // the device answered status 0xFF
inline constexpr int kResultRefusedOther = -103;  // the device answered status 0xFE
inline constexpr int kResultBadPage = -201;       // a key-table page other than 0 was asked for

// A short English description of a result code, for logs and the command-line tool.
std::string_view DescribeResult(int result);

}  // namespace norvane::protocol
