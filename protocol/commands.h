#pragma once
// The device command set. Every command takes the channel first and returns 1 when every frame it sent was
// answered and accepted, else the first failing frame's result (see command_codes.h); frames already sent
// stay sent and nothing is retried. Buffers are spans: a command moves exactly as many bytes as its span
// holds, unless stated otherwise. A command whose arguments cannot be sent as asked (a buffer too small for
// the channel's block size, a byte count over one frame, a block reaching past the 16-bit offset range)
// returns kResultNotWritten before sending anything.
//
// Multi-frame commands cut their data into frames of the channel's payload size (56 bytes wired, 24 through
// the receiver); each frame's data length is its byte count and its offset the frame's position (plus the
// command's base address). Each frame is exchanged under the command lock, so other commands may run
// between the frames of a long command; callers that need a Begin/writes/End series to stay together must
// be the only writer meanwhile.

#include <cstddef>
#include <cstdint>
#include <span>

#include "protocol/command_channel.h"

namespace norvane::protocol {

inline constexpr size_t kDeviceInfoSize = 34;
// The largest block a single-frame command moves.
inline constexpr size_t kSingleFrameMax = CommandFrame::kPayloadCapacity;
// The recoil ("shoot") block always travels in frames of this size, whatever the link.
inline constexpr size_t kShootChunkSize = 56;

// 0x01 and 0x02: open and close a series of reads or writes. CmdEnd waits 10 ms (the channel's
// PauseBeforeEnd) before its frame, so the device has finished with the last write. The integer of CmdEnd
// is not used.
int CmdBegin(CommandChannel& channel);
int CmdEnd(CommandChannel& channel, int unused = 0);

// 0x03: the device information block. `destination` is written only when every frame succeeded.
int CmdReadDeviceInfo(CommandChannel& channel, std::span<uint8_t, kDeviceInfoSize> destination);

// 0x05 and 0x06: the settings area, at base address + position. Frames received before a failure stay in
// `destination`.
int CmdReadSettings(CommandChannel& channel, std::span<uint8_t> destination, uint16_t base_address);
int CmdWriteSettings(CommandChannel& channel, std::span<const uint8_t> source, uint16_t base_address);

// 0x07: block-size bytes of the key table into the front of `destination` (which must hold at least that
// many).
int CmdReadKeyTable(CommandChannel& channel, std::span<uint8_t> destination);

// 0x09 and 0x27: the first block-size bytes of `source` into the key table or the second key table. Only
// page 0 exists: any other page gives kResultBadPage before anything is sent.
int CmdWriteKeyTable(CommandChannel& channel, std::span<const uint8_t> source, int page);
int CmdWriteKeyTableExtra(CommandChannel& channel, std::span<const uint8_t> source, int page);

// 0x1B: block size / 3 bytes (integer division) into the front of `destination`.
int CmdReadKeyTableExtra(CommandChannel& channel, std::span<uint8_t> destination);

// 0x0B: up to 56 bytes of the per-key light mask in one frame at offset record_index * 3.
int CmdWriteKeyLight(CommandChannel& channel, std::span<const uint8_t> source, int record_index);

// 0x12: a lighting frame, through ExchangeQuick under the stream lock. A frame that would meet a running
// command is dropped and counts as accepted: the next lighting frame follows soon. Never -101.
int CmdStreamLight(CommandChannel& channel, std::span<const uint8_t> source);

// 0x15: the macro block, from position 0.
int CmdWriteMacros(CommandChannel& channel, std::span<const uint8_t> source);

// 0x17: the recoil block, from position 0, in frames of 56 bytes on either link.
int CmdWriteShootData(CommandChannel& channel, std::span<const uint8_t> source);

// 0x1A: up to 56 bytes of device status at `offset`, in one frame.
int CmdReadStatus(CommandChannel& channel, std::span<uint8_t> destination, uint16_t offset);

// 0x1C: the host takes over the device's lighting.
int CmdTakeLightControl(CommandChannel& channel);

// 0xAA: whether the device behind the receiver is reachable. 1 at once on a wired channel (nothing sent);
// through the receiver 1 only when the reply was read, not refused, and its first payload byte is 0xFF;
// 0 in every other case.
int CmdQueryWirelessLink(CommandChannel& channel);

// The query behind CmdQueryWirelessLink for callers that must tell "the receiver answered: not reachable"
// from "nothing answered": the frame's result (status mapped) and, only when that is 1, whether the first
// payload byte says the device is reachable. Sent whatever the link type.
struct WirelessLinkReply {
  int result = 0;
  bool reachable = false;
};
[[nodiscard]] WirelessLinkReply ExchangeWirelessLinkQuery(CommandChannel& channel);

}  // namespace norvane::protocol
