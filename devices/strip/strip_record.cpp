#include "devices/strip/strip_record.h"

#include <algorithm>

#include "devices/light_record_bytes.h"

namespace norvane::devices::strip {
namespace {

constexpr int kLastAddress = 0xFFFF;

std::optional<std::uint16_t> AddressOf(int profile, int stride, int length) {
  if (profile < 0 || profile > (kLastAddress + 1 - length) / stride) return std::nullopt;
  return static_cast<std::uint16_t>(profile * stride);
}

}  // namespace

std::optional<std::uint16_t> WriteAddress(int profile) {
  return AddressOf(profile, kWriteStride, static_cast<int>(kRecordSize));
}

std::optional<std::uint16_t> LiveReadAddress(int profile) {
  return AddressOf(profile, kLiveReadStride, static_cast<int>(kLiveReadSize));
}

lighting::LightParams DecodeStripRecord(const StripRecord& record, std::span<const std::uint8_t> modeTable) {
  return ReadLightBytes(record, modeTable);
}

StripRecord EncodeStripRecord(const StripRecord& live, const lighting::LightParams& light,
                              std::span<const std::uint8_t> modeTable, std::uint8_t first) {
  StripRecord record = live;
  record[record_byte::kFirst] = first;
  WriteLightBytes(record, light, modeTable);
  return record;
}

}  // namespace norvane::devices::strip
