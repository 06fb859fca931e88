#include "hid/report_descriptor.h"

#include <algorithm>
#include <utility>

#include "hid/descriptor_items.h"

namespace norvane::hid {

namespace {

// Main item tags.
constexpr uint8_t kTagInput = 0x8;
constexpr uint8_t kTagOutput = 0x9;
constexpr uint8_t kTagCollection = 0xA;
constexpr uint8_t kTagFeature = 0xB;
constexpr uint8_t kTagEndCollection = 0xC;

// Global item tags.
constexpr uint8_t kTagUsagePage = 0x0;
constexpr uint8_t kTagLogicalMin = 0x1;
constexpr uint8_t kTagLogicalMax = 0x2;
constexpr uint8_t kTagPhysicalMin = 0x3;
constexpr uint8_t kTagPhysicalMax = 0x4;
constexpr uint8_t kTagUnitExponent = 0x5;
constexpr uint8_t kTagUnit = 0x6;
constexpr uint8_t kTagReportSize = 0x7;
constexpr uint8_t kTagReportId = 0x8;
constexpr uint8_t kTagReportCount = 0x9;
constexpr uint8_t kTagPush = 0xA;
constexpr uint8_t kTagPop = 0xB;

// Local item tags (the designator, string and delimiter tags carry nothing we need).
constexpr uint8_t kTagUsage = 0x0;
constexpr uint8_t kTagUsageMin = 0x1;
constexpr uint8_t kTagUsageMax = 0x2;

// Main item data bits.
constexpr uint32_t kFlagConstant = 0x01;
constexpr uint32_t kFlagVariable = 0x02;
constexpr uint32_t kFlagRelative = 0x04;
constexpr uint32_t kFlagNullState = 0x40;

constexpr uint32_t kMaxFieldBits = 256;
constexpr size_t kMaxCollectionsTotal = 4096;

struct GlobalState {
  uint16_t usage_page = 0;
  DescriptorItem logical_min;
  DescriptorItem logical_max;
  DescriptorItem physical_min;
  DescriptorItem physical_max;
  int32_t unit_exponent = 0;
  uint32_t unit = 0;
  uint32_t report_size = 0;
  uint8_t report_id = 0;
  uint32_t report_count = 0;
};

// A usage as written: extended usages (4 data bytes) carry their own page in the high half.
struct RawUsage {
  uint32_t value = 0;
  bool extended = false;
};

struct UsageEntry {
  RawUsage min;
  RawUsage max;
};

struct LocalState {
  std::vector<UsageEntry> usages;
  std::optional<RawUsage> pending_min;
  std::optional<RawUsage> pending_max;
};

// One usage entry once the usage page is known.
struct ResolvedUsage {
  uint16_t page = 0;
  uint32_t min = 0;
  uint32_t max = 0;
  uint64_t Count() const { return static_cast<uint64_t>(max) - min + 1; }
};

// Logical and physical maxima are often written too short to hold their sign bit (0x25 0xFF for 255);
// read them unsigned when the matching minimum is not negative.
int32_t ReadExtent(const DescriptorItem& item, bool allow_unsigned) {
  if (allow_unsigned && item.size < 4) return static_cast<int32_t>(item.data);
  return item.SignedData();
}

class Parser {
 public:
  DescriptorParseResult Run(std::span<const uint8_t> bytes) {
    if (bytes.empty()) return Fail("the descriptor is empty");
    if (bytes.size() > kMaxDescriptorBytes) return Fail("the descriptor is too long");
    DescriptorItemReader reader(bytes);
    DescriptorItem item;
    for (;;) {
      const auto next = reader.Next(item);
      if (next == DescriptorItemReader::Result::kEnd) break;
      if (next == DescriptorItemReader::Result::kTruncated) return Fail("an item is cut off at the end");
      bool ok = false;
      switch (item.type) {
        case ItemType::kMain:
          ok = OnMain(item);
          break;
        case ItemType::kGlobal:
          ok = OnGlobal(item);
          break;
        case ItemType::kLocal:
          ok = OnLocal(item);
          break;
        case ItemType::kReserved:
          error_ = "reserved item type";
          break;
      }
      if (!ok) return Fail(error_ + " at byte " + std::to_string(reader.Offset()));
    }
    if (!open_collections_.empty()) return Fail("a collection is not closed");
    if (result_.collections.empty()) return Fail("the descriptor declares no top-level collection");
    FinishLengths();
    DescriptorParseResult done;
    done.descriptor = std::move(result_);
    return done;
  }

 private:
  static DescriptorParseResult Fail(std::string why) {
    DescriptorParseResult failed;
    failed.error = std::move(why);
    return failed;
  }

  bool Error(const char* why) {
    error_ = why;
    return false;
  }

  bool OnGlobal(const DescriptorItem& item) {
    switch (item.tag) {
      case kTagUsagePage:
        global_.usage_page = static_cast<uint16_t>(item.data);
        return true;
      case kTagLogicalMin:
        global_.logical_min = item;
        return true;
      case kTagLogicalMax:
        global_.logical_max = item;
        return true;
      case kTagPhysicalMin:
        global_.physical_min = item;
        return true;
      case kTagPhysicalMax:
        global_.physical_max = item;
        return true;
      case kTagUnitExponent: {
        // A 4-bit two's-complement nibble in practice; wider values are taken as written.
        const int32_t exponent = item.SignedData();
        global_.unit_exponent =
            (item.size == 1 && exponent >= 8 && exponent <= 15) ? exponent - 16 : exponent;
        return true;
      }
      case kTagUnit:
        global_.unit = item.data;
        return true;
      case kTagReportSize:
        if (item.data > kMaxFieldBits) return Error("report size too large");
        global_.report_size = item.data;
        return true;
      case kTagReportId:
        if (item.data == 0 || item.data > 0xFF) return Error("report id out of range");
        global_.report_id = static_cast<uint8_t>(item.data);
        result_.uses_report_ids = true;
        return true;
      case kTagReportCount:
        if (item.data > kMaxReportBytes * 8) return Error("report count too large");
        global_.report_count = item.data;
        return true;
      case kTagPush:
        if (global_stack_.size() >= kMaxGlobalStackDepth) return Error("global stack too deep");
        global_stack_.push_back(global_);
        return true;
      case kTagPop:
        if (global_stack_.empty()) return Error("pop without push");
        global_ = global_stack_.back();
        global_stack_.pop_back();
        return true;
      default:
        return Error("unknown global item");
    }
  }

  bool OnLocal(const DescriptorItem& item) {
    const RawUsage usage{item.data, item.size == 4};
    switch (item.tag) {
      case kTagUsage:
        return AddUsage({usage, usage});
      case kTagUsageMin:
        local_.pending_min = usage;
        return TryCloseRange();
      case kTagUsageMax:
        local_.pending_max = usage;
        return TryCloseRange();
      default:
        return true;  // designators, strings, delimiters
    }
  }

  bool TryCloseRange() {
    if (!local_.pending_min || !local_.pending_max) return true;
    const UsageEntry entry{*local_.pending_min, *local_.pending_max};
    local_.pending_min.reset();
    local_.pending_max.reset();
    // Compare within the page: an extended maximum on another page makes no sense either way.
    if ((entry.min.value & 0xFFFF) > (entry.max.value & 0xFFFF) && !entry.max.extended &&
        !entry.min.extended) {
      return Error("usage minimum above usage maximum");
    }
    if (entry.min.extended && entry.max.extended && entry.min.value > entry.max.value) {
      return Error("usage minimum above usage maximum");
    }
    return AddUsage(entry);
  }

  bool AddUsage(const UsageEntry& entry) {
    if (local_.usages.size() >= kMaxUsagesPerItem) return Error("too many usages for one item");
    local_.usages.push_back(entry);
    return true;
  }

  ResolvedUsage Resolve(const UsageEntry& entry) const {
    ResolvedUsage resolved;
    resolved.page = entry.min.extended ? static_cast<uint16_t>(entry.min.value >> 16) : global_.usage_page;
    resolved.min = entry.min.value & 0xFFFF;
    resolved.max = entry.max.value & 0xFFFF;
    if (resolved.max < resolved.min) resolved.max = resolved.min;
    return resolved;
  }

  bool OnMain(const DescriptorItem& item) {
    bool ok = true;
    switch (item.tag) {
      case kTagCollection:
        ok = OpenCollection();
        break;
      case kTagEndCollection:
        if (open_collections_.empty()) return Error("end of collection without a collection");
        open_collections_.pop_back();
        break;
      case kTagInput:
        ok = AddField(DescriptorReportType::kInput, item.data);
        break;
      case kTagOutput:
        ok = AddField(DescriptorReportType::kOutput, item.data);
        break;
      case kTagFeature:
        ok = AddField(DescriptorReportType::kFeature, item.data);
        break;
      default:
        return Error("unknown main item");
    }
    local_ = LocalState{};  // every main item ends the local state
    return ok;
  }

  bool OpenCollection() {
    if (open_collections_.size() >= kMaxCollectionDepth) return Error("collections nested too deep");
    if (++collections_seen_ > kMaxCollectionsTotal) return Error("too many collections");
    if (open_collections_.empty()) {
      if (result_.collections.size() >= kMaxCollections) return Error("too many top-level collections");
      TopLevelCollection tlc;
      if (!local_.usages.empty()) {
        const ResolvedUsage usage = Resolve(local_.usages.front());
        tlc.usage_page = usage.page;
        tlc.usage = static_cast<uint16_t>(usage.min);
      } else {
        tlc.usage_page = global_.usage_page;
      }
      result_.collections.push_back(std::move(tlc));
      caps_in_collection_ = 0;
      usage_slots_ = {};
    }
    open_collections_.push_back(result_.collections.size() - 1);
    return true;
  }

  bool AddField(DescriptorReportType type, uint32_t flags) {
    if (open_collections_.empty()) return Error("a report field outside any collection");
    const size_t tlc_index = open_collections_.front();
    const auto type_index = static_cast<size_t>(type);
    const uint8_t id = global_.report_id;
    uint32_t& used_bits = report_bits_[type_index][id];
    const uint64_t field_bits = static_cast<uint64_t>(global_.report_size) * global_.report_count;
    const uint32_t base_offset = used_bits;
    if (used_bits + field_bits > static_cast<uint64_t>(kMaxReportBytes) * 8) return Error("report too long");
    used_bits += static_cast<uint32_t>(field_bits);

    TopLevelCollection& tlc = result_.collections[tlc_index];
    ReportLayout& layout = tlc.reports[type_index];
    if (std::find(layout.report_ids.begin(), layout.report_ids.end(), id) == layout.report_ids.end()) {
      layout.report_ids.push_back(id);
    }

    if ((flags & kFlagConstant) != 0 || field_bits == 0) return true;  // padding

    std::vector<ResolvedUsage> usages;
    usages.reserve(local_.usages.size());
    for (const UsageEntry& entry : local_.usages) usages.push_back(Resolve(entry));
    if (usages.empty()) usages.push_back({global_.usage_page, 0, 0});

    const int32_t logical_min = global_.logical_min.SignedData();
    const int32_t logical_max = ReadExtent(global_.logical_max, logical_min >= 0);
    const int32_t physical_min = global_.physical_min.SignedData();
    const int32_t physical_max = ReadExtent(global_.physical_max, physical_min >= 0);
    const auto size = static_cast<uint16_t>(global_.report_size);
    const auto count = static_cast<uint16_t>(std::min<uint32_t>(global_.report_count, 0xFFFF));

    if ((flags & kFlagVariable) == 0) {
      // Array: every usage entry names a slice of the same fields.
      uint64_t index_base = 0;
      for (const ResolvedUsage& usage : usages) {
        if (!CountCap(type_index, count)) return false;
        ButtonCap cap;
        cap.usage_page = usage.page;
        cap.report_id = id;
        cap.is_range = usage.max != usage.min;
        cap.usage_min = usage.min;
        cap.usage_max = usage.max;
        cap.is_array = true;
        cap.bit_offset = base_offset;
        cap.bit_size = size;
        cap.report_count = count;
        cap.logical_min = logical_min;
        cap.logical_max = logical_max;
        cap.array_index_base = static_cast<uint32_t>(std::min<uint64_t>(index_base, 0xFFFFFFFFu));
        layout.buttons.push_back(cap);
        index_base += usage.Count();
      }
      return true;
    }

    // Variable: fields take the usages in order; the last usage also covers any fields left over.
    uint32_t field = 0;
    for (size_t k = 0; k < usages.size() && field < count; ++k) {
      const ResolvedUsage& usage = usages[k];
      const bool last = k + 1 == usages.size();
      const uint32_t left = count - field;
      const auto covered = static_cast<uint32_t>(std::min<uint64_t>(usage.Count(), left));
      const uint32_t usage_max = usage.min + covered - 1;
      const uint32_t fields = last ? left : covered;
      if (!CountCap(type_index, size == 1 ? fields : covered)) return false;
      if (size == 1) {
        ButtonCap cap;
        cap.usage_page = usage.page;
        cap.report_id = id;
        cap.is_range = usage_max != usage.min;
        cap.usage_min = usage.min;
        cap.usage_max = usage_max;
        cap.bit_offset = base_offset + field;
        cap.bit_size = 1;
        cap.report_count = static_cast<uint16_t>(fields);
        cap.logical_min = logical_min;
        cap.logical_max = logical_max;
        layout.buttons.push_back(cap);
      } else {
        ValueCap cap;
        cap.usage_page = usage.page;
        cap.report_id = id;
        cap.is_range = usage_max != usage.min;
        cap.usage_min = usage.min;
        cap.usage_max = usage_max;
        cap.bit_offset = base_offset + field * size;
        cap.bit_size = size;
        cap.report_count = static_cast<uint16_t>(fields);
        cap.has_null = (flags & kFlagNullState) != 0;
        cap.is_absolute = (flags & kFlagRelative) == 0;
        cap.logical_min = logical_min;
        cap.logical_max = logical_max;
        cap.physical_min = physical_min;
        cap.physical_max = physical_max;
        cap.unit = global_.unit;
        cap.unit_exponent = global_.unit_exponent;
        layout.values.push_back(cap);
      }
      field += fields;
    }
    return true;
  }

  bool CountCap(size_t type_index, uint32_t usage_slots) {
    if (++caps_in_collection_ > kMaxCapsPerCollection) return Error("too many fields in one collection");
    usage_slots_[type_index] += usage_slots;
    if (usage_slots_[type_index] > kMaxUsageSlotsPerType) return Error("too many usages in one collection");
    return true;
  }

  void FinishLengths() {
    for (TopLevelCollection& tlc : result_.collections) {
      for (size_t type = 0; type < kReportTypeCount; ++type) {
        ReportLayout& layout = tlc.reports[type];
        uint32_t longest_bytes = 0;
        for (const uint8_t id : layout.report_ids) {
          longest_bytes = std::max(longest_bytes, (report_bits_[type][id] + 7) / 8);
        }
        layout.byte_length = layout.report_ids.empty() ? 0 : static_cast<uint16_t>(longest_bytes + 1);
      }
    }
  }

  GlobalState global_;
  std::vector<GlobalState> global_stack_;
  LocalState local_;
  std::vector<size_t> open_collections_;  // indexes into result_.collections of the enclosing TLC
  size_t collections_seen_ = 0;
  size_t caps_in_collection_ = 0;
  std::array<size_t, kReportTypeCount> usage_slots_{};
  std::array<std::array<uint32_t, 256>, kReportTypeCount> report_bits_{};
  ReportDescriptor result_;
  std::string error_;
};

}  // namespace

DescriptorParseResult ParseReportDescriptor(std::span<const uint8_t> bytes) {
  return Parser().Run(bytes);
}

}  // namespace norvane::hid
