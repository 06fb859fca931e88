#pragma once
// Our own HID report-descriptor parser. It turns the raw descriptor of one HID node into its top-level
// collections (TLCs) and, per TLC and report type, the report ids, the report byte length and the button and
// value capabilities needed to decode a report.
//
// Bit offsets count from the first byte after the report id byte: every report buffer this layer hands out
// starts with the report id (0 when the descriptor declares none), as the rest of the program expects.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace norvane::hid {

// Array fields and 1-bit variable fields.
struct ButtonCap {
  uint16_t usage_page = 0;
  uint8_t report_id = 0;
  bool is_range = false;
  uint32_t usage_min = 0;  // equals usage_max when not a range
  uint32_t usage_max = 0;
  bool is_array = false;
  uint32_t bit_offset = 0;  // first field, counted from the byte after the report id
  uint16_t bit_size = 0;    // per field (1 for variable buttons)
  uint16_t report_count = 0;
  // Array fields only: a field holding v names entry (v - logical_min) of the field's usage list; this
  // capability owns the entries from array_index_base to array_index_base + (usage_max - usage_min).
  int32_t logical_min = 0;
  int32_t logical_max = 0;
  uint32_t array_index_base = 0;
};

// Everything else: multi-bit variable fields.
struct ValueCap {
  uint16_t usage_page = 0;
  uint8_t report_id = 0;
  bool is_range = false;
  uint32_t usage_min = 0;  // a range has one field per usage, in ascending order
  uint32_t usage_max = 0;
  uint32_t bit_offset = 0;
  uint16_t bit_size = 0;
  uint16_t report_count = 0;
  bool has_null = false;
  bool is_absolute = true;
  int32_t logical_min = 0;
  int32_t logical_max = 0;
  int32_t physical_min = 0;
  int32_t physical_max = 0;
  uint32_t unit = 0;
  int32_t unit_exponent = 0;
};

enum class DescriptorReportType { kInput = 0, kOutput = 1, kFeature = 2 };
inline constexpr size_t kReportTypeCount = 3;

struct ReportLayout {
  std::vector<uint8_t> report_ids;  // in order of first appearance; {0} when the descriptor declares none
  uint16_t byte_length = 0;         // longest report in bits rounded up to bytes, plus the id byte; 0 if none
  std::vector<ButtonCap> buttons;
  std::vector<ValueCap> values;
};

struct TopLevelCollection {
  uint16_t usage_page = 0;
  uint16_t usage = 0;
  std::array<ReportLayout, kReportTypeCount> reports;

  const ReportLayout& Layout(DescriptorReportType type) const { return reports[static_cast<size_t>(type)]; }
};

struct ReportDescriptor {
  bool uses_report_ids = false;
  std::vector<TopLevelCollection> collections;  // in descriptor order
};

struct DescriptorParseResult {
  std::optional<ReportDescriptor> descriptor;
  std::string error;  // why the descriptor was rejected; empty on success
};

// Limits that keep a hostile descriptor from costing unbounded time or memory.
inline constexpr size_t kMaxDescriptorBytes = 65536;
inline constexpr size_t kMaxUsagesPerItem = 1024;
inline constexpr size_t kMaxCapsPerCollection = 512;
// Button fields plus value usages of one report type of one collection: bounds the decoded-usage arrays.
inline constexpr size_t kMaxUsageSlotsPerType = 16384;
inline constexpr size_t kMaxCollections = 256;
inline constexpr size_t kMaxCollectionDepth = 64;
inline constexpr size_t kMaxGlobalStackDepth = 32;
inline constexpr uint32_t kMaxReportBytes = 16384;  // largest report a HID node can carry, id excluded

DescriptorParseResult ParseReportDescriptor(std::span<const uint8_t> bytes);

}  // namespace norvane::hid
