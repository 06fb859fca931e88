#include "hid/interface_table.h"

namespace norvane::hid {
namespace {

InterfaceEntry Row(uint16_t vendor_id, uint16_t product_id, uint16_t interface_number,
                   uint16_t collection_number, DeviceKind kind, InterfaceRole role, uint16_t usage_page,
                   uint16_t usage, bool has_pair, uint16_t pair_index) {
  InterfaceEntry entry;
  entry.vendor_id = vendor_id;
  entry.product_id = product_id;
  entry.interface_number = interface_number;
  entry.collection_number = collection_number;
  entry.kind = kind;
  entry.role = role;
  entry.usage_page = usage_page;
  entry.usage = usage;
  entry.has_pair = has_pair;
  entry.pair_index = pair_index;
  return entry;
}

std::array<InterfaceEntry, kInterfaceTableSize> BuildTable() {
  using K = DeviceKind;
  constexpr InterfaceRole kCmd = InterfaceRole::kCommand;
  constexpr InterfaceRole kEvt = InterfaceRole::kEvent;
  constexpr uint16_t kVendor = 0x320F;
  constexpr uint16_t kCmdPage = kVendorCommandUsagePage;
  constexpr uint16_t kCmdUsage = kVendorCommandUsage;
  constexpr uint16_t kConsumer = kConsumerUsagePage;
  return {
      // Wired keyboard and its receiver, command then event interface.
      Row(kVendor, 0x5055, 1, 4, K::kKeyboard, kCmd, kCmdPage, kCmdUsage, true, 2),
      Row(kVendor, 0x5055, 1, 3, K::kKeyboard, kEvt, kConsumer, 0x01, true, 3),
      Row(kVendor, 0x50EC, 1, 4, K::kKeyboardReceiver, kCmd, kCmdPage, kCmdUsage, true, 0),
      Row(kVendor, 0x50EC, 1, 3, K::kKeyboardReceiver, kEvt, kConsumer, 0x01, true, 1),
      // Wired mouse and its receiver.
      Row(kVendor, 0x50EF, 1, 4, K::kMouse, kCmd, kCmdPage, kCmdUsage, true, 6),
      Row(kVendor, 0x50EF, 1, 3, K::kMouse, kEvt, kConsumer, 0x01, true, 7),
      Row(kVendor, 0x221D, 1, 4, K::kMouseReceiver, kCmd, kCmdPage, kCmdUsage, true, 4),
      Row(kVendor, 0x221D, 1, 3, K::kMouseReceiver, kEvt, kConsumer, 0x01, true, 5),
      // Mouse pad.
      Row(kVendor, 0x1004, 1, 4, K::kMousePad, kCmd, kCmdPage, kCmdUsage, false, 0),
      Row(kVendor, 0x1004, 1, 3, K::kMousePad, kEvt, kConsumer, 0x01, false, 0),
      // Headset: its controls sit on the consumer page of the audio chip's HID interface.
      Row(0x0C76, 0x1630, 3, 0, K::kHeadset, kCmd, kConsumer, 0x01, false, 0),
  };
}

}  // namespace

std::string_view DeviceKindName(DeviceKind kind) {
  switch (kind) {
    case DeviceKind::kKeyboard:
      return "keyboard";
    case DeviceKind::kKeyboardReceiver:
      return "keyboard-receiver";
    case DeviceKind::kMouse:
      return "mouse";
    case DeviceKind::kMouseReceiver:
      return "mouse-receiver";
    case DeviceKind::kMousePad:
      return "mousepad";
    case DeviceKind::kHeadset:
    case DeviceKind::kHeadsetIcon:
      return "headset";
    case DeviceKind::kHub:
      return "hub";
  }
  return "unknown";
}

bool IsReceiverKind(DeviceKind kind) {
  return kind == DeviceKind::kKeyboardReceiver || kind == DeviceKind::kMouseReceiver;
}

bool InterfaceEntry::SameInterface(const InterfaceEntry& other) const {
  return vendor_id == other.vendor_id && product_id == other.product_id &&
         interface_number == other.interface_number && collection_number == other.collection_number &&
         kind == other.kind && role == other.role && usage_page == other.usage_page && usage == other.usage;
}

const std::array<InterfaceEntry, kInterfaceTableSize>& InterfaceTable() {
  static const std::array<InterfaceEntry, kInterfaceTableSize> table = BuildTable();
  return table;
}

std::vector<InterfaceEntry> MakeInterfaceList() {
  const auto& table = InterfaceTable();
  return {table.begin(), table.end()};
}

std::optional<size_t> FindCandidateRow(uint16_t vendor_id, uint16_t product_id, uint16_t interface_number,
                                       uint16_t collection_number) {
  const auto& table = InterfaceTable();
  for (size_t i = 0; i < table.size(); ++i) {
    const InterfaceEntry& row = table[i];
    if (row.vendor_id == vendor_id && row.product_id == product_id &&
        row.interface_number == interface_number && row.collection_number == collection_number) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<size_t> MatchInterfaceRow(const InterfaceProbe& probe) {
  const auto& table = InterfaceTable();
  for (size_t i = 0; i < table.size(); ++i) {
    const InterfaceEntry& row = table[i];
    if (row.vendor_id == probe.vendor_id && row.product_id == probe.product_id &&
        row.interface_number == probe.interface_number && row.collection_number == probe.collection_number &&
        row.usage_page == probe.usage_page && row.usage == probe.usage) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<size_t> FindInterfaceRow(uint16_t vendor_id, uint16_t product_id, DeviceKind kind,
                                       InterfaceRole role) {
  const auto& table = InterfaceTable();
  for (size_t i = 0; i < table.size(); ++i) {
    const InterfaceEntry& row = table[i];
    if (row.vendor_id == vendor_id && row.product_id == product_id && row.kind == kind && row.role == role) {
      return i;
    }
  }
  return std::nullopt;
}

}  // namespace norvane::hid
