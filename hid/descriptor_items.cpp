#include "hid/descriptor_items.h"

namespace norvane::hid {

namespace {
constexpr uint8_t kLongItemPrefix = 0xFE;
}

int32_t DescriptorItem::SignedData() const {
  switch (size) {
    case 1:
      return static_cast<int8_t>(data & 0xFF);
    case 2:
      return static_cast<int16_t>(data & 0xFFFF);
    case 4:
      return static_cast<int32_t>(data);
    default:
      return 0;
  }
}

DescriptorItemReader::Result DescriptorItemReader::Next(DescriptorItem& item) {
  while (offset_ < bytes_.size()) {
    const uint8_t prefix = bytes_[offset_];
    if (prefix == kLongItemPrefix) {
      // Long item: prefix, data size, tag, data.
      if (bytes_.size() - offset_ < 3) return Result::kTruncated;
      const size_t data_size = bytes_[offset_ + 1];
      if (bytes_.size() - offset_ - 3 < data_size) return Result::kTruncated;
      offset_ += 3 + data_size;
      continue;
    }
    const uint8_t size_code = prefix & 0x03;
    const uint8_t size = size_code == 3 ? 4 : size_code;
    if (bytes_.size() - offset_ - 1 < size) return Result::kTruncated;
    item.type = static_cast<ItemType>((prefix >> 2) & 0x03);
    item.tag = static_cast<uint8_t>(prefix >> 4);
    item.size = size;
    item.data = 0;
    for (uint8_t i = 0; i < size; ++i) {
      item.data |= static_cast<uint32_t>(bytes_[offset_ + 1 + i]) << (8 * i);
    }
    offset_ += 1 + size;
    return Result::kItem;
  }
  return Result::kEnd;
}

}  // namespace norvane::hid
