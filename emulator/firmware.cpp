// The device side of the command set. Every command reads or writes `length` bytes (byte 4, at most 56; at
// most 24 through a receiver) at `offset` (bytes 5 and 6) of one memory area; a range that does not fit the
// area is refused, so a host that gets an address, a page number or a frame size wrong finds out at once.

#include "emulator/firmware.h"

#include <algorithm>
#include <optional>

namespace norvane::emulator {
namespace {

enum class Transfer { kRead, kWrite };

struct AreaCommand {
  MemoryArea area;
  Transfer transfer;
};

// Which memory area a data command moves bytes of, for the device family at hand.
std::optional<AreaCommand> AreaCommandOf(uint8_t code, DeviceFamily family) {
  const bool keyboard = family == DeviceFamily::kKeyboard;
  switch (code) {
    case command::kReadInfo:
      return AreaCommand{MemoryArea::kInfo, Transfer::kRead};
    case command::kReadSettings:
      return AreaCommand{MemoryArea::kSettings, Transfer::kRead};
    case command::kWriteSettings:
      return AreaCommand{MemoryArea::kSettings, Transfer::kWrite};
    case command::kReadKeyTable:
      return AreaCommand{MemoryArea::kKeyTable, Transfer::kRead};
    // The key-table writes put the page number into the offset (page x 512 + position); the only page is 0,
    // so an offset at or beyond 512 falls outside the 512-byte table and is refused like any bad range.
    case command::kWriteKeyTable:
      return AreaCommand{MemoryArea::kKeyTable, Transfer::kWrite};
    case command::kReadKeyTableExtra:
      return AreaCommand{MemoryArea::kKeyTableExtra, Transfer::kRead};
    case command::kWriteKeyTableExtra:
      return AreaCommand{MemoryArea::kKeyTableExtra, Transfer::kWrite};
    case command::kWriteLightMask:
      return AreaCommand{MemoryArea::kLightMask, Transfer::kWrite};
    case command::kWriteMacros:
      return AreaCommand{MemoryArea::kMacros, Transfer::kWrite};
    case command::kWriteRecoil:
      return AreaCommand{MemoryArea::kRecoil, Transfer::kWrite};
    case command::kReadStatus:
      return AreaCommand{MemoryArea::kStatus, Transfer::kRead};
    // Only the keyboard takes streamed lighting frames (the headset's light area holds its output reports).
    case command::kStreamLight:
      if (keyboard) return AreaCommand{MemoryArea::kLightStream, Transfer::kWrite};
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

// The headset's firmware knows only the series around its writes, its settings records and its status: it
// has no information block, no key, light-mask, macro or recoil memory, takes no streamed lighting (its
// lights come as output reports) and never hands its lighting over. The other families' firmware knows the
// whole set and refuses what its memory lacks.
bool FirmwareKnows(DeviceFamily family, uint8_t code) {
  if (family != DeviceFamily::kHeadset) return true;
  switch (code) {
    case command::kBegin:
    case command::kEnd:
    case command::kReadSettings:
    case command::kWriteSettings:
    case command::kReadStatus:
      return true;
    default:
      return false;
  }
}

// A receiver carries at most 24 payload bytes per frame over the air; only the recoil block travels in
// frames of 56 on either link.
bool FitsTheLink(const Frame& request, bool via_receiver) {
  if (!via_receiver || request[frame_byte::kCommand] == command::kWriteRecoil) return true;
  return request[frame_byte::kLength] <= kReceiverMaxPayload;
}

Frame Reply(const Frame& request, uint8_t status) {
  Frame reply = request;
  reply[frame_byte::kStatus] = status;
  StoreChecksum(reply);
  return reply;
}

// Status byte 3 is the link flag: 1 while the device is reached through its receiver.
void MarkLink(Frame& reply, uint16_t offset, size_t length, bool via_receiver) {
  constexpr size_t kLinkFlag = 3;
  if (offset <= kLinkFlag && kLinkFlag < offset + length) {
    reply[kPayloadOffset + kLinkFlag - offset] = via_receiver ? 1 : 0;
  }
}

Frame AnswerAreaCommand(DeviceMemory& memory, const Frame& request, const AreaCommand& what,
                        bool via_receiver) {
  const size_t length = request[frame_byte::kLength];
  const uint16_t offset = FrameOffset(request);
  const std::span<uint8_t> area = memory.Area(what.area);
  if (area.empty() || length > kMaxPayload || offset + length > area.size()) {
    return RefusalAnswer(request, kStatusRefused);
  }
  Frame reply = request;
  if (what.transfer == Transfer::kRead) {
    std::fill(reply.begin() + kPayloadOffset, reply.end(), 0);
    std::copy_n(area.begin() + offset, length, reply.begin() + kPayloadOffset);
    if (what.area == MemoryArea::kStatus) MarkLink(reply, offset, length, via_receiver);
  } else {
    std::copy_n(request.begin() + kPayloadOffset, length, area.begin() + offset);
    if (request[frame_byte::kCommand] == command::kStreamLight) ++memory.counters.stream_frames;
  }
  reply[frame_byte::kStatus] = kStatusDone;
  StoreChecksum(reply);
  return reply;
}

}  // namespace

std::optional<MemoryArea> AreaWrittenBy(const Frame& request, DeviceFamily family) {
  const std::optional<AreaCommand> what = AreaCommandOf(request[frame_byte::kCommand], family);
  if (!what || what->transfer != Transfer::kWrite) return std::nullopt;
  return what->area;
}

Frame RefusalAnswer(const Frame& request, uint8_t status) {
  return Reply(request, status);
}

Frame LinkDownAnswer(const Frame& request) {
  Frame reply = request;
  reply[frame_byte::kCommand] = command::kLinkQuery;
  std::fill(reply.begin() + kPayloadOffset, reply.end(), 0);
  reply[frame_byte::kStatus] = kStatusDone;
  StoreChecksum(reply);
  return reply;
}

Frame AnswerCommand(DeviceMemory& memory, const Frame& request, bool via_receiver) {
  if (StoredChecksum(request) != FrameChecksum(request)) return RefusalAnswer(request, kStatusBadChecksum);
  // A host sends its requests with status 0; anything else is not a request this firmware takes.
  if (request[frame_byte::kStatus] != 0) return RefusalAnswer(request, kStatusRefused);
  const uint8_t code = request[frame_byte::kCommand];
  if (!FirmwareKnows(memory.family(), code) || !FitsTheLink(request, via_receiver)) {
    return RefusalAnswer(request, kStatusRefused);
  }
  FirmwareCounters& counters = memory.counters;
  switch (code) {
    case command::kBegin:
      ++counters.begin_count;
      counters.session_open = true;
      return Reply(request, kStatusDone);
    case command::kEnd:
      ++counters.end_count;
      counters.session_open = false;
      return Reply(request, kStatusDone);
    case command::kTakeLightControl:
      if (memory.family() != DeviceFamily::kKeyboard) return RefusalAnswer(request, kStatusRefused);
      counters.light_control_taken = true;
      return Reply(request, kStatusDone);
    case command::kLinkQuery: {
      // Only a receiver has a wireless link to tell about; a device asked on its own cable refuses.
      if (!via_receiver) return RefusalAnswer(request, kStatusRefused);
      // Whoever answers this is linked: the receiver itself answers with 0x00 while the link is down.
      Frame reply = request;
      std::fill(reply.begin() + kPayloadOffset, reply.end(), 0);
      reply[kPayloadOffset] = 0xFF;
      return Reply(reply, kStatusDone);
    }
    default:
      break;
  }
  const std::optional<AreaCommand> what = AreaCommandOf(code, memory.family());
  if (!what) return RefusalAnswer(request, kStatusRefused);
  return AnswerAreaCommand(memory, request, *what, via_receiver);
}

bool StoreHeadsetLighting(DeviceMemory& memory, std::span<const uint8_t> report) {
  constexpr size_t kValuesPerHalf = 7;
  constexpr size_t kHalves = 6;
  if (memory.family() != DeviceFamily::kHeadset || report.size() != kHeadsetLightReportSize ||
      report[0] != kHeadsetLightReportId) {
    return false;
  }
  const uint8_t zone = report[1];
  const uint8_t half = report[2];
  if ((zone != 0x22 && zone != 0x44) || half < 0xAA || half > 0xAF) return false;
  const size_t zone_index = zone == 0x22 ? 0 : 1;
  const size_t at = (zone_index * kHalves + (half - 0xAA)) * kValuesPerHalf;
  const std::span<uint8_t> area = memory.Area(MemoryArea::kLightStream);
  std::copy_n(report.begin() + 4, kValuesPerHalf, area.begin() + at);
  return true;
}

}  // namespace norvane::emulator
