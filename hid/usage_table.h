#pragma once
// The decoded-usage array of one report type of an open collection: one button item per button
// capability, then one value item per usage of each value capability, and the decoding of a report into
// the items that share its report id.

#include <cstdint>
#include <span>
#include <vector>

#include "hid/hid_device.h"
#include "hid/report_descriptor.h"

namespace norvane::hid {

class UsageTable {
 public:
  UsageTable() = default;
  explicit UsageTable(const ReportLayout& layout);

  std::span<HidUsageData> Items() { return items_; }
  size_t size() const { return items_.size(); }

  // Decodes `report` (byte 0 = report id) into the items of its report id. 1, or 0 when a value usage cannot
  // be read (items decoded before it keep their data) or the report is empty.
  int Decode(std::span<const uint8_t> report);

 private:
  // Where an item takes its data from.
  struct Source {
    size_t cap_index = 0;
    uint32_t usage = 0;  // value items only
  };

  ReportLayout layout_;  // a copy: the table stays usable after the node that described it is gone
  std::vector<HidUsageData> items_;
  std::vector<Source> sources_;
};

}  // namespace norvane::hid
