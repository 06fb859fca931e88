#include "hid/usage_table.h"

#include <algorithm>

#include "hid/report_fields.h"

namespace norvane::hid {

UsageTable::UsageTable(const ReportLayout& layout) : layout_(layout) {
  for (size_t i = 0; i < layout.buttons.size(); ++i) {
    const ButtonCap& cap = layout.buttons[i];
    HidUsageData item;
    item.is_button = true;
    item.usage_page = cap.usage_page;
    item.report_id = cap.report_id;
    item.usage_min = cap.usage_min;
    item.usage_max = cap.usage_max;
    item.max_usage_count = MaxUsageListLength(layout, cap.usage_page);
    item.usages.assign(item.max_usage_count, 0);
    items_.push_back(std::move(item));
    sources_.push_back({i, 0});
  }
  for (size_t i = 0; i < layout.values.size(); ++i) {
    const ValueCap& cap = layout.values[i];
    for (uint32_t usage = cap.usage_min; usage <= cap.usage_max; ++usage) {
      HidUsageData item;
      item.usage_page = cap.usage_page;
      item.report_id = cap.report_id;
      item.usage = static_cast<uint16_t>(usage);
      items_.push_back(std::move(item));
      sources_.push_back({i, usage});
      if (usage == 0xFFFFFFFFu) break;
    }
  }
}

int UsageTable::Decode(std::span<const uint8_t> report) {
  if (report.empty()) return 0;
  const uint8_t report_id = report[0];
  std::vector<uint16_t> pressed;
  for (size_t i = 0; i < items_.size(); ++i) {
    HidUsageData& item = items_[i];
    if (item.report_id != report_id) continue;
    if (item.is_button) {
      item.status = PressedUsages(layout_, item.usage_page, report, pressed);
      // Keep only the usages of this item's own range, compacted to the front; 0 ends a list that is not
      // full.
      std::fill(item.usages.begin(), item.usages.end(), 0);
      size_t kept = 0;
      for (const uint16_t usage : pressed) {
        if (kept == item.usages.size()) break;
        if (usage >= item.usage_min && usage <= item.usage_max) item.usages[kept++] = usage;
      }
    } else {
      const ValueCap& cap = layout_.values[sources_[i].cap_index];
      const uint32_t status = ReadRawValue(cap, sources_[i].usage, report, item.raw_value);
      if (status != kHidStatusSuccess) {
        item.status = status;
        return 0;
      }
      item.status = ScaleValue(cap, item.raw_value, item.scaled_value);
    }
    item.is_set = true;
  }
  return 1;
}

}  // namespace norvane::hid
