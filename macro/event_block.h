#pragma once
// The event block that macros and recoil patterns share on the device: a list of records, each a run of
// 4-byte events.
//
// Layout (16-bit values little-endian): magic AA 55, total size, record count N, ten zero bytes, N record
// offsets from the block's start, then per record its event count, two zero bytes and its events.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace norvane::macro {

inline constexpr std::size_t kEventBlockHeaderSize = 16;
inline constexpr std::size_t kEventRecordHeadSize = 4;
inline constexpr std::size_t kEventSize = 4;
inline constexpr std::size_t kEventOffsetSize = 2;

// One event in the device's form (for a macro: delay, type with the "down" bit, key).
using EventCode = std::array<std::uint8_t, kEventSize>;
using EventRecord = std::vector<EventCode>;

// The bytes a block of these records takes.
[[nodiscard]] std::size_t EventBlockSize(std::span<const EventRecord> records);

// The block of these records, in order. Sizes and counts beyond 16 bits keep their low 16 bits: callers
// check EventBlockSize against the device's memory first.
[[nodiscard]] std::vector<std::uint8_t> BuildEventBlock(std::span<const EventRecord> records);

}  // namespace norvane::macro
