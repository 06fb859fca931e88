#pragma once
// Splits a report descriptor into its short items. Long items (prefix 0xFE) carry nothing that a host
// parser may interpret, so the reader steps over them.

#include <cstddef>
#include <cstdint>
#include <span>

namespace norvane::hid {

enum class ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2, kReserved = 3 };

struct DescriptorItem {
  ItemType type = ItemType::kMain;
  uint8_t tag = 0;
  uint8_t size = 0;   // data bytes: 0, 1, 2 or 4
  uint32_t data = 0;  // little-endian, zero-extended

  // The data read as a two's-complement number of its own size.
  int32_t SignedData() const;
};

class DescriptorItemReader {
 public:
  enum class Result { kItem, kEnd, kTruncated };

  explicit DescriptorItemReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  Result Next(DescriptorItem& item);
  size_t Offset() const { return offset_; }

 private:
  std::span<const uint8_t> bytes_;
  size_t offset_ = 0;
};

}  // namespace norvane::hid
