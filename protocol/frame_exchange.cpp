#include "protocol/frame_exchange.h"

#include <algorithm>
#include <mutex>

#include "protocol/command_codes.h"

namespace norvane::protocol::detail {

int StatusResult(const CommandFrame& reply) {
  switch (reply.Status()) {
    case kStatusRefused:
      return kResultRefused;
    case kStatusRefusedOther:
      return kResultRefusedOther;
    default:
      return kResultOk;
  }
}

int ExchangeCommandFrame(CommandChannel& channel, const CommandFrame& request, CommandFrame& reply) {
  std::lock_guard command(channel.CommandLock());
  const int result = channel.Exchange(request.Bytes(), reply.MutableBytes());
  if (result != kResultOk) return result;
  return StatusResult(reply);
}

CommandFrame EmptyRequest(uint8_t command) {
  return CommandFrame::Request(command, 0, 0);
}

int ForEachChunk(size_t total, size_t chunk, const std::function<int(size_t position, size_t count)>& frame) {
  if (chunk == 0) return total == 0 ? kResultOk : kResultNotWritten;
  for (size_t position = 0; position < total; position += chunk) {
    const int result = frame(position, std::min(chunk, total - position));
    if (result != kResultOk) return result;
  }
  return kResultOk;
}

bool FitsOffsetRange(size_t base, size_t total) {
  return base + total <= size_t{0x10000};
}

}  // namespace norvane::protocol::detail
