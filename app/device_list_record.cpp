#include "app/device_list_record.h"

#include <cstdint>

#include "hid/catalogue/device_catalogue.h"

namespace norvane::app {

namespace {

void PutWord(QByteArray& record, int word, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int b = 0; b < 4; ++b) record[word * 4 + b] = static_cast<char>(bits >> (8 * b));
}

}  // namespace

QByteArray BuildDeviceListRecord() {
  QByteArray record(kDeviceListRecordBytes, '\0');
  int word = 0;
  for (const std::int32_t fixed : {2, 3, 0, 2}) PutWord(record, word++, fixed);
  const auto& pages = hid::catalogue::DevicePageTable();
  PutWord(record, word++, static_cast<std::int32_t>(pages.size()));
  for (const hid::catalogue::DevicePageRow& row : pages) {
    PutWord(record, word++, row.vendor_id);
    PutWord(record, word++, row.product_id);
    PutWord(record, word++, row.kind_code);
  }
  return record;
}

}  // namespace norvane::app
