#pragma once
// CommandFrame: the 64-byte report that carries every command and every reply of the device protocol.
//
//   byte 0      report id, always 0x04
//   bytes 1-2   checksum, little-endian: the low 16 bits of the sum of bytes 3..63 (requests only; devices
//               leave it as they like in replies, so it is never checked on receipt)
//   byte 3      command code (replies echo it)
//   byte 4      data length: payload bytes in this frame, or a record count for some commands
//   bytes 5-6   offset, little-endian: where this frame's payload sits in the command's data block
//   byte 7      status: 0x00 in requests; 0xFF or 0xFE when the device refuses, anything else accepted
//   bytes 8-63  payload

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace norvane::protocol {

class CommandFrame {
 public:
  static constexpr size_t kSize = 64;
  static constexpr size_t kHeaderSize = 8;
  static constexpr size_t kPayloadCapacity = kSize - kHeaderSize;  // 56
  static constexpr uint8_t kReportId = 0x04;

  static constexpr size_t kReportIdByte = 0;
  static constexpr size_t kChecksumByte = 1;
  static constexpr size_t kCommandByte = 3;
  static constexpr size_t kDataLengthByte = 4;
  static constexpr size_t kOffsetByte = 5;
  static constexpr size_t kStatusByte = 7;

  // An all-zero frame with the report id in place.
  CommandFrame();

  // A complete request: header fields, up to 56 payload bytes (anything longer is cut), zero elsewhere, and
  // the checksum.
  static CommandFrame Request(uint8_t command, uint8_t data_length, uint16_t offset,
                              std::span<const uint8_t> payload = {});

  // The first 64 bytes of `bytes`, zero-filled when shorter. Nothing is checked: replies are taken as the
  // device sent them.
  static CommandFrame FromBytes(std::span<const uint8_t> bytes);

  uint8_t ReportId() const { return bytes_[kReportIdByte]; }
  uint16_t Checksum() const { return ReadLe16(kChecksumByte); }
  uint8_t Command() const { return bytes_[kCommandByte]; }
  uint8_t DataLength() const { return bytes_[kDataLengthByte]; }
  uint16_t Offset() const { return ReadLe16(kOffsetByte); }
  uint8_t Status() const { return bytes_[kStatusByte]; }
  std::span<const uint8_t, kPayloadCapacity> Payload() const;

  void SetCommand(uint8_t command) { bytes_[kCommandByte] = command; }
  void SetDataLength(uint8_t length) { bytes_[kDataLengthByte] = length; }
  void SetOffset(uint16_t offset) { WriteLe16(kOffsetByte, offset); }
  void SetStatus(uint8_t status) { bytes_[kStatusByte] = status; }
  std::span<uint8_t, kPayloadCapacity> MutablePayload();

  // Stores ComputeChecksum() into bytes 1 and 2. Call after the header and payload are final.
  void UpdateChecksum();
  uint16_t ComputeChecksum() const;

  std::span<const uint8_t, kSize> Bytes() const { return bytes_; }
  std::span<uint8_t, kSize> MutableBytes() { return bytes_; }

  friend bool operator==(const CommandFrame&, const CommandFrame&) = default;

 private:
  uint16_t ReadLe16(size_t at) const;
  void WriteLe16(size_t at, uint16_t value);

  std::array<uint8_t, kSize> bytes_{};
};

// The low 16 bits of the sum of bytes 3..63 of a 64-byte frame.
uint16_t FrameChecksum(std::span<const uint8_t, CommandFrame::kSize> frame);

}  // namespace norvane::protocol
