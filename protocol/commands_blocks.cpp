// The commands that move a data block in as many frames as it takes.
#include <algorithm>
#include <array>
#include <mutex>

#include "platform/trace.h"
#include "protocol/command_codes.h"
#include "protocol/commands.h"
#include "protocol/frame_exchange.h"

namespace norvane::protocol {
namespace {

using detail::ExchangeCommandFrame;
using detail::FitsOffsetRange;
using detail::ForEachChunk;

// Reads `destination.size()` bytes from base + 0 onwards, copying each frame's payload to its position as
// it arrives.
int ReadBlock(CommandChannel& channel, CommandCode code, std::span<uint8_t> destination, uint16_t base) {
  if (!FitsOffsetRange(base, destination.size())) return kResultNotWritten;
  return ForEachChunk(destination.size(), channel.PayloadSize(), [&](size_t position, size_t count) {
    const CommandFrame request = CommandFrame::Request(ToByte(code), static_cast<uint8_t>(count),
                                                       static_cast<uint16_t>(base + position));
    CommandFrame reply;
    const int result = ExchangeCommandFrame(channel, request, reply);
    if (result != kResultOk) return result;
    std::copy_n(reply.Payload().begin(), count, destination.begin() + static_cast<std::ptrdiff_t>(position));
    return kResultOk;
  });
}

// Writes `source` from base + 0 onwards in frames of `chunk` bytes.
int WriteBlock(CommandChannel& channel, CommandCode code, std::span<const uint8_t> source, uint16_t base,
               size_t chunk) {
  if (!FitsOffsetRange(base, source.size())) return kResultNotWritten;
  return ForEachChunk(source.size(), chunk, [&](size_t position, size_t count) {
    const CommandFrame request =
        CommandFrame::Request(ToByte(code), static_cast<uint8_t>(count),
                              static_cast<uint16_t>(base + position), source.subspan(position, count));
    CommandFrame reply;
    return ExchangeCommandFrame(channel, request, reply);
  });
}

// The key tables: only page 0 exists. The offset carries the position in its low byte and
// (page * 512 + position) >> 8 in its high byte, which for page 0 is the position itself.
int WriteKeyTablePage(CommandChannel& channel, CommandCode code, std::span<const uint8_t> source, int page) {
  if (page != 0) return kResultBadPage;
  const size_t block = channel.BlockSize();
  if (source.size() < block) return kResultNotWritten;
  return ForEachChunk(block, channel.PayloadSize(), [&](size_t position, size_t count) {
    const size_t paged = static_cast<size_t>(page) * 512 + position;
    const auto offset = static_cast<uint16_t>((position & 0xFF) | ((paged >> 8) & 0xFF) << 8);
    const CommandFrame request = CommandFrame::Request(ToByte(code), static_cast<uint8_t>(count), offset,
                                                       source.subspan(position, count));
    CommandFrame reply;
    return ExchangeCommandFrame(channel, request, reply);
  });
}

}  // namespace

int CmdReadDeviceInfo(CommandChannel& channel, std::span<uint8_t, kDeviceInfoSize> destination) {
  std::array<uint8_t, kDeviceInfoSize> block{};
  const int result = ReadBlock(channel, CommandCode::kReadDeviceInfo, block, 0);
  if (result == kResultOk) std::copy(block.begin(), block.end(), destination.begin());
  return result;
}

int CmdReadSettings(CommandChannel& channel, std::span<uint8_t> destination, uint16_t base_address) {
  return ReadBlock(channel, CommandCode::kReadSettings, destination, base_address);
}

int CmdWriteSettings(CommandChannel& channel, std::span<const uint8_t> source, uint16_t base_address) {
  return WriteBlock(channel, CommandCode::kWriteSettings, source, base_address, channel.PayloadSize());
}

int CmdReadKeyTable(CommandChannel& channel, std::span<uint8_t> destination) {
  const size_t block = channel.BlockSize();
  if (destination.size() < block) return kResultNotWritten;
  return ReadBlock(channel, CommandCode::kReadKeyTable, destination.first(block), 0);
}

int CmdReadKeyTableExtra(CommandChannel& channel, std::span<uint8_t> destination) {
  const size_t block = channel.BlockSize() / 3;
  if (destination.size() < block) return kResultNotWritten;
  return ReadBlock(channel, CommandCode::kReadKeyTableExtra, destination.first(block), 0);
}

int CmdWriteKeyTable(CommandChannel& channel, std::span<const uint8_t> source, int page) {
  return WriteKeyTablePage(channel, CommandCode::kWriteKeyTable, source, page);
}

int CmdWriteKeyTableExtra(CommandChannel& channel, std::span<const uint8_t> source, int page) {
  return WriteKeyTablePage(channel, CommandCode::kWriteKeyTableExtra, source, page);
}

int CmdWriteMacros(CommandChannel& channel, std::span<const uint8_t> source) {
  return WriteBlock(channel, CommandCode::kWriteMacros, source, 0, channel.PayloadSize());
}

int CmdWriteShootData(CommandChannel& channel, std::span<const uint8_t> source) {
  return WriteBlock(channel, CommandCode::kWriteShootData, source, 0, kShootChunkSize);
}

int CmdStreamLight(CommandChannel& channel, std::span<const uint8_t> source) {
  if (!FitsOffsetRange(0, source.size())) return kResultNotWritten;
  return ForEachChunk(source.size(), channel.PayloadSize(), [&](size_t position, size_t count) {
    if (channel.IsBusy()) {
      Trace("lighting stream frame dropped: a command is exchanging");
      return kResultOk;
    }
    const CommandFrame request =
        CommandFrame::Request(ToByte(CommandCode::kStreamLight), static_cast<uint8_t>(count),
                              static_cast<uint16_t>(position), source.subspan(position, count));
    CommandFrame reply;
    std::lock_guard stream(channel.StreamLock());
    const int result = channel.ExchangeQuick(request.Bytes(), reply.MutableBytes());
    if (result != kResultOk) return result;
    return detail::StatusResult(reply);
  });
}

}  // namespace norvane::protocol
