#pragma once
// Reads the fields of one report with the capabilities of its top-level collection. Every report starts
// with its id byte (0 when the descriptor declares none); field bits count from the byte after it.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "hid/report_descriptor.h"

namespace norvane::hid {

// Status numbers kept per decoded item, as the rest of the program expects them.
inline constexpr uint32_t kHidStatusSuccess = 0x00110000;
inline constexpr uint32_t kHidStatusNull = 0x80110001;
inline constexpr uint32_t kHidStatusInvalidReportLength = 0xC0110003;
inline constexpr uint32_t kHidStatusUsageNotFound = 0xC0110004;
inline constexpr uint32_t kHidStatusValueOutOfRange = 0xC0110005;
inline constexpr uint32_t kHidStatusBadLogPhyValues = 0xC0110006;

// `bit_size` bits starting `bit_offset` bits after the id byte, little-endian; fields wider than 32 bits
// give their low 32 bits. nullopt when the field reaches past the end of the report.
std::optional<uint32_t> ExtractBits(std::span<const uint8_t> report, uint32_t bit_offset, uint16_t bit_size);

// How many usages of `usage_page` one report of this layout can name at most.
uint32_t MaxUsageListLength(const ReportLayout& layout, uint16_t usage_page);

// The usages of `usage_page` that `report` names (set bits, array entries), in field order. Returns a status.
uint32_t PressedUsages(const ReportLayout& layout, uint16_t usage_page, std::span<const uint8_t> report,
                       std::vector<uint16_t>& usages);

// The raw field of `usage` (one of the capability's usages; the first field of a value array).
uint32_t ReadRawValue(const ValueCap& cap, uint32_t usage, std::span<const uint8_t> report, uint32_t& raw);

// The raw value mapped from the logical onto the physical range (the logical range again when no physical
// range is declared). Out-of-range values give kHidStatusNull or kHidStatusValueOutOfRange and 0.
uint32_t ScaleValue(const ValueCap& cap, uint32_t raw, int32_t& scaled);

}  // namespace norvane::hid
