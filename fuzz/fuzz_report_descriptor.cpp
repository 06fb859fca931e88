// Feeds arbitrary bytes to the report-descriptor parser and, when it accepts them, decodes the same bytes
// as a report of every collection and type: nothing may crash, hang or grow without bound.
// libFuzzer: -max_len=1024
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "hid/report_descriptor.h"
#include "hid/usage_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const auto result = norvane::hid::ParseReportDescriptor(bytes);
  if (!result.descriptor) return 0;
  for (const auto& collection : result.descriptor->collections) {
    for (const auto& layout : collection.reports) {
      norvane::hid::UsageTable table(layout);
      for (const uint8_t id : layout.report_ids) {
        std::vector<uint8_t> report(bytes.begin(),
                                    bytes.begin() + std::min<size_t>(size, layout.byte_length));
        if (report.empty()) continue;
        report[0] = id;
        table.Decode(report);
      }
    }
  }
  return 0;
}
