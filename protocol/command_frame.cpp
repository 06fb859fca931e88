#include "protocol/command_frame.h"

#include <algorithm>
#include <numeric>

namespace norvane::protocol {

CommandFrame::CommandFrame() {
  bytes_[kReportIdByte] = kReportId;
}

CommandFrame CommandFrame::Request(uint8_t command, uint8_t data_length, uint16_t offset,
                                   std::span<const uint8_t> payload) {
  CommandFrame frame;
  frame.SetCommand(command);
  frame.SetDataLength(data_length);
  frame.SetOffset(offset);
  const size_t copied = std::min(payload.size(), kPayloadCapacity);
  std::copy_n(payload.begin(), copied, frame.MutablePayload().begin());
  frame.UpdateChecksum();
  return frame;
}

CommandFrame CommandFrame::FromBytes(std::span<const uint8_t> bytes) {
  CommandFrame frame;
  frame.bytes_.fill(0);
  std::copy_n(bytes.begin(), std::min(bytes.size(), kSize), frame.bytes_.begin());
  return frame;
}

std::span<const uint8_t, CommandFrame::kPayloadCapacity> CommandFrame::Payload() const {
  return std::span<const uint8_t, kSize>(bytes_).subspan<kHeaderSize>();
}

std::span<uint8_t, CommandFrame::kPayloadCapacity> CommandFrame::MutablePayload() {
  return std::span<uint8_t, kSize>(bytes_).subspan<kHeaderSize>();
}

void CommandFrame::UpdateChecksum() {
  WriteLe16(kChecksumByte, ComputeChecksum());
}

uint16_t CommandFrame::ComputeChecksum() const {
  return FrameChecksum(bytes_);
}

uint16_t CommandFrame::ReadLe16(size_t at) const {
  return static_cast<uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
}

void CommandFrame::WriteLe16(size_t at, uint16_t value) {
  bytes_[at] = static_cast<uint8_t>(value & 0xFF);
  bytes_[at + 1] = static_cast<uint8_t>(value >> 8);
}

uint16_t FrameChecksum(std::span<const uint8_t, CommandFrame::kSize> frame) {
  const uint32_t sum = std::accumulate(frame.begin() + CommandFrame::kCommandByte, frame.end(), uint32_t{0});
  return static_cast<uint16_t>(sum & 0xFFFF);
}

}  // namespace norvane::protocol
