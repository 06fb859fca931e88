#include "hid/report_fields.h"

#include <algorithm>

namespace norvane::hid {

namespace {

int64_t SignExtend(uint32_t raw, uint16_t bit_size) {
  if (bit_size == 0 || bit_size >= 32) return static_cast<int32_t>(raw);
  const uint32_t sign = 1u << (bit_size - 1);
  const uint32_t mask = (1u << bit_size) - 1;
  raw &= mask;
  return (raw & sign) != 0 ? static_cast<int64_t>(raw) - (static_cast<int64_t>(1) << bit_size) : raw;
}

// A field's number as the logical range reads it: signed when the range reaches below zero.
int64_t LogicalValue(uint32_t raw, uint16_t bit_size, int32_t logical_min) {
  return logical_min < 0 ? SignExtend(raw, bit_size) : static_cast<int64_t>(raw);
}

}  // namespace

std::optional<uint32_t> ExtractBits(std::span<const uint8_t> report, uint32_t bit_offset, uint16_t bit_size) {
  if (report.empty()) return std::nullopt;
  const uint64_t data_bits = static_cast<uint64_t>(report.size() - 1) * 8;
  if (static_cast<uint64_t>(bit_offset) + bit_size > data_bits) return std::nullopt;
  const uint16_t wanted = std::min<uint16_t>(bit_size, 32);
  uint32_t value = 0;
  for (uint16_t i = 0; i < wanted; ++i) {
    const uint32_t bit = bit_offset + i;
    if ((report[1 + bit / 8] >> (bit % 8)) & 1) value |= 1u << i;
  }
  return value;
}

uint32_t MaxUsageListLength(const ReportLayout& layout, uint16_t usage_page) {
  uint32_t total = 0;
  for (const ButtonCap& cap : layout.buttons) {
    if (cap.usage_page == usage_page) total += cap.report_count;
  }
  return total;
}

uint32_t PressedUsages(const ReportLayout& layout, uint16_t usage_page, std::span<const uint8_t> report,
                       std::vector<uint16_t>& usages) {
  usages.clear();
  if (report.empty()) return kHidStatusInvalidReportLength;
  const uint8_t report_id = report[0];
  uint32_t status = kHidStatusSuccess;
  for (const ButtonCap& cap : layout.buttons) {
    if (cap.usage_page != usage_page || cap.report_id != report_id) continue;
    for (uint32_t field = 0; field < cap.report_count; ++field) {
      const auto raw = ExtractBits(report, cap.bit_offset + field * cap.bit_size, cap.bit_size);
      if (!raw) {
        status = kHidStatusInvalidReportLength;
        break;
      }
      uint32_t usage = 0;
      if (!cap.is_array) {
        if (*raw == 0) continue;
        usage = cap.usage_min + std::min(field, cap.usage_max - cap.usage_min);
      } else {
        const int64_t value = LogicalValue(*raw, cap.bit_size, cap.logical_min);
        if (value < cap.logical_min || value > cap.logical_max) continue;  // empty slot
        const int64_t index = value - cap.logical_min - cap.array_index_base;
        if (index < 0 || index > static_cast<int64_t>(cap.usage_max - cap.usage_min)) continue;
        usage = cap.usage_min + static_cast<uint32_t>(index);
      }
      if (usage != 0) usages.push_back(static_cast<uint16_t>(usage));
    }
  }
  return status;
}

uint32_t ReadRawValue(const ValueCap& cap, uint32_t usage, std::span<const uint8_t> report, uint32_t& raw) {
  raw = 0;
  if (usage < cap.usage_min || usage > cap.usage_max) return kHidStatusUsageNotFound;
  const uint32_t field = usage - cap.usage_min;
  const auto bits = ExtractBits(report, cap.bit_offset + field * cap.bit_size, cap.bit_size);
  if (!bits) return kHidStatusInvalidReportLength;
  raw = *bits;
  return kHidStatusSuccess;
}

uint32_t ScaleValue(const ValueCap& cap, uint32_t raw, int32_t& scaled) {
  scaled = 0;
  const int64_t logical_min = cap.logical_min;
  const int64_t logical_max = cap.logical_max;
  if (logical_max <= logical_min) return kHidStatusBadLogPhyValues;
  const int64_t value = LogicalValue(raw, cap.bit_size, cap.logical_min);
  if (value < logical_min || value > logical_max) {
    return cap.has_null ? kHidStatusNull : kHidStatusValueOutOfRange;
  }
  int64_t physical_min = cap.physical_min;
  int64_t physical_max = cap.physical_max;
  if (physical_min == 0 && physical_max == 0) {
    physical_min = logical_min;
    physical_max = logical_max;
  }
  // 64-bit throughout: (value - min) * span stays below 2^63 for 32-bit extents.
  const int64_t result =
      (value - logical_min) * (physical_max - physical_min) / (logical_max - logical_min) + physical_min;
  scaled = static_cast<int32_t>(std::clamp<int64_t>(result, INT32_MIN, INT32_MAX));
  return kHidStatusSuccess;
}

}  // namespace norvane::hid
