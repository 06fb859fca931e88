#include "macro/event_block.h"

#include <algorithm>

namespace norvane::macro {
namespace {

void Put16(std::vector<std::uint8_t>& block, std::size_t at, std::size_t value) {
  block[at] = static_cast<std::uint8_t>(value & 0xFF);
  block[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

std::size_t EventBlockSize(std::span<const EventRecord> records) {
  std::size_t total = kEventBlockHeaderSize;
  for (const EventRecord& record : records) {
    total += kEventOffsetSize + kEventRecordHeadSize + kEventSize * record.size();
  }
  return total;
}

std::vector<std::uint8_t> BuildEventBlock(std::span<const EventRecord> records) {
  const std::size_t total = EventBlockSize(records);
  std::vector<std::uint8_t> block(total, 0);
  block[0] = 0xAA;
  block[1] = 0x55;
  Put16(block, 2, total);
  Put16(block, 4, records.size());
  std::size_t at = kEventBlockHeaderSize + kEventOffsetSize * records.size();
  for (std::size_t r = 0; r < records.size(); ++r) {
    Put16(block, kEventBlockHeaderSize + kEventOffsetSize * r, at);
    Put16(block, at, records[r].size());
    at += kEventRecordHeadSize;
    for (const EventCode& event : records[r]) {
      std::copy(event.begin(), event.end(), block.begin() + static_cast<std::ptrdiff_t>(at));
      at += kEventSize;
    }
  }
  return block;
}

}  // namespace norvane::macro
