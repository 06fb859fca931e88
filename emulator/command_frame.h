#pragma once
// The 64-byte command frame as the device firmware sees it. Kept apart from the host's protocol code on
// purpose: the emulator reads frames by the wire layout alone, so a host that lays a frame out wrongly meets
// a device that disagrees.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace norvane::emulator {

inline constexpr size_t kFrameSize = 64;
inline constexpr uint8_t kCommandReportId = 0x04;
inline constexpr size_t kPayloadOffset = 8;
inline constexpr size_t kMaxPayload = kFrameSize - kPayloadOffset;  // 56
inline constexpr size_t kReceiverMaxPayload = 24;                   // what a receiver carries over the air

using Frame = std::array<uint8_t, kFrameSize>;

// Byte positions inside a frame.
namespace frame_byte {
inline constexpr size_t kReportId = 0;
inline constexpr size_t kChecksumLow = 1;
inline constexpr size_t kChecksumHigh = 2;
inline constexpr size_t kCommand = 3;
inline constexpr size_t kLength = 4;
inline constexpr size_t kOffsetLow = 5;
inline constexpr size_t kOffsetHigh = 6;
inline constexpr size_t kStatus = 7;
}  // namespace frame_byte

// Statuses the firmware answers with.
inline constexpr uint8_t kStatusDone = 0x01;
inline constexpr uint8_t kStatusRefused = 0xFF;
inline constexpr uint8_t kStatusBadChecksum = 0xFE;

// Command codes the firmware knows.
namespace command {
inline constexpr uint8_t kBegin = 0x01;
inline constexpr uint8_t kEnd = 0x02;
inline constexpr uint8_t kReadInfo = 0x03;
inline constexpr uint8_t kReadSettings = 0x05;
inline constexpr uint8_t kWriteSettings = 0x06;
inline constexpr uint8_t kReadKeyTable = 0x07;
inline constexpr uint8_t kWriteKeyTable = 0x09;
inline constexpr uint8_t kWriteLightMask = 0x0B;
inline constexpr uint8_t kStreamLight = 0x12;
inline constexpr uint8_t kWriteMacros = 0x15;
inline constexpr uint8_t kWriteRecoil = 0x17;
inline constexpr uint8_t kReadStatus = 0x1A;
inline constexpr uint8_t kReadKeyTableExtra = 0x1B;
inline constexpr uint8_t kTakeLightControl = 0x1C;
inline constexpr uint8_t kWriteKeyTableExtra = 0x27;
inline constexpr uint8_t kLinkQuery = 0xAA;
}  // namespace command

// 16-bit sum of bytes 3 to 63.
inline uint16_t FrameChecksum(std::span<const uint8_t, kFrameSize> frame) {
  uint32_t sum = 0;
  for (size_t i = frame_byte::kCommand; i < kFrameSize; ++i) sum += frame[i];
  return static_cast<uint16_t>(sum & 0xFFFF);
}

inline void StoreChecksum(Frame& frame) {
  const uint16_t sum = FrameChecksum(frame);
  frame[frame_byte::kChecksumLow] = static_cast<uint8_t>(sum & 0xFF);
  frame[frame_byte::kChecksumHigh] = static_cast<uint8_t>(sum >> 8);
}

inline uint16_t StoredChecksum(const Frame& frame) {
  return static_cast<uint16_t>(frame[frame_byte::kChecksumLow] | (frame[frame_byte::kChecksumHigh] << 8));
}

inline uint16_t FrameOffset(const Frame& frame) {
  return static_cast<uint16_t>(frame[frame_byte::kOffsetLow] | (frame[frame_byte::kOffsetHigh] << 8));
}

}  // namespace norvane::emulator
