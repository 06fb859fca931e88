#pragma once
// Building blocks shared by the commands: one frame exchanged under a lock with its status mapped, and the
// cutting of a data block into frames. Internal to protocol/.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "protocol/command_channel.h"
#include "protocol/command_frame.h"

namespace norvane::protocol::detail {

// kResultRefused for status 0xFF, kResultRefusedOther for 0xFE, else kResultOk.
int StatusResult(const CommandFrame& reply);

// Exchange under the command lock, then the status mapping.
int ExchangeCommandFrame(CommandChannel& channel, const CommandFrame& request, CommandFrame& reply);

// A request frame without payload.
CommandFrame EmptyRequest(uint8_t command);

// Calls `frame(position, count)` for consecutive pieces of `total` bytes, `chunk` bytes each except a
// shorter last one, and stops at the first result other than 1.
int ForEachChunk(size_t total, size_t chunk, const std::function<int(size_t position, size_t count)>& frame);

// True when a block of `total` bytes starting at `base` fits the 16-bit offset field.
bool FitsOffsetRange(size_t base, size_t total);

}  // namespace norvane::protocol::detail
