#include "hid/catalogue/device_catalogue.h"

#include <algorithm>

namespace norvane::hid::catalogue {

namespace {

constexpr std::string_view kTabLayout = "XML\\CustomControlXML\\DeviceOption.xml";
constexpr std::string_view kTabGroup = "tab_header_device";
constexpr std::string_view kPowerLayout = "device_power_switch";

bool IsReceiverCode(DeviceKind kind) {
  return kind == DeviceKind::kMouseReceiver || kind == DeviceKind::kKeyboardReceiver;
}

const InterfaceEntry* Partner(std::span<const InterfaceEntry> list, const InterfaceEntry& entry) {
  if (!entry.has_pair || entry.pair_index >= list.size()) return nullptr;
  return &list[entry.pair_index];
}

}  // namespace

const std::array<DevicePageRow, kDevicePageCount>& DevicePageTable() {
  static constexpr std::array<DevicePageRow, kDevicePageCount> kRows = {{
      {kTabLayout, kTabGroup, kPowerLayout, 1, 0x320F, 0x50EF, 2, 0},
      {kTabLayout, kTabGroup, kPowerLayout, 0, 0x320F, 0x5055, 1, 0},
      {kTabLayout, kTabGroup, kPowerLayout, 2, 0x320F, 0x1004, 3, 0},
      {kTabLayout, kTabGroup, kPowerLayout, 3, 0x0C76, 0x1630, 7, 0},
  }};
  return kRows;
}

const std::array<DevicePageFilesRow, kDevicePageCount>& DevicePageFiles() {
  static constexpr std::array<DevicePageFilesRow, kDevicePageCount> kRows = {{
      {15, 11, 1, -1, "vexor_light"},
      {170, 170, 0, -1, "vexor_light"},
      {15, 0, 0, -1, "vexor_light"},
      {13, 0, 0, -1, "vexor_light"},
  }};
  return kRows;
}

const std::array<ModelRow, kDevicePageCount>& ModelTable() {
  static constexpr std::array<ModelRow, kDevicePageCount> kRows = {{
      {1, 1, 0, "VEXOR", "ZR204A", "MS", "MS", ""},
      {1, 1, 0, "VEXOR", "ZR203A", "KB", "KB", ""},
      {2, 1, 0, "VEXOR", "ZR109A_1", "R27 有线", "R27 有线", ""},
      {0, 1, 0, "VEXOR", "ALL", "TQ80_BX2_BX1", "AP", "P2000"},
  }};
  return kRows;
}

int FindInterfaceRow(int32_t vendor_id, int32_t product_id, int32_t kind_code, int32_t role_code) {
  const auto& rows = InterfaceTable();
  const auto it = std::find_if(rows.begin(), rows.end(), [&](const InterfaceEntry& row) {
    return row.vendor_id == vendor_id && row.product_id == product_id &&
           static_cast<int32_t>(row.kind) == kind_code && static_cast<int32_t>(row.role) == role_code;
  });
  return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

int FindPageRow(int32_t vendor_id, int32_t product_id, int32_t kind_code, int32_t variant) {
  const auto& rows = DevicePageTable();
  const auto it = std::find_if(rows.begin(), rows.end(), [&](const DevicePageRow& row) {
    return row.vendor_id == vendor_id && row.product_id == product_id && row.kind_code == kind_code &&
           row.variant == variant;
  });
  return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

bool SameEntry(const InterfaceEntry& a, const InterfaceEntry& b) {
  return a.SameInterface(b);
}

bool IsPairPresent(std::span<const InterfaceEntry> list, std::size_t a) {
  if (a >= list.size()) return false;
  const InterfaceEntry* partner = Partner(list, list[a]);
  return partner != nullptr && partner->claimed && !partner->path.empty() && partner->has_pair &&
         partner->pair_index == a;
}

std::optional<InterfaceEntry> ServingEntry(std::span<const InterfaceEntry> list, std::size_t a) {
  if (a >= list.size()) return std::nullopt;
  const InterfaceEntry& entry = list[a];
  InterfaceEntry served = entry;
  if (entry.role == InterfaceRole::kEvent) {
    const auto command = std::find_if(list.begin(), list.end(), [&](const InterfaceEntry& e) {
      return e.product_id == entry.product_id && e.vendor_id == entry.vendor_id && e.kind == entry.kind &&
             e.role == InterfaceRole::kCommand;
    });
    if (command != list.end()) {
      served = *command;
      if (IsReceiverCode(command->kind)) {
        if (const InterfaceEntry* partner = Partner(list, *command)) served = *partner;
      }
    }
  } else if (IsReceiverCode(entry.kind)) {
    const InterfaceEntry* partner = Partner(list, entry);
    if (partner != nullptr && partner->has_pair && partner->pair_index == a) served = *partner;
  }
  return served;
}

bool TabServesEntry(std::span<const InterfaceEntry> list, std::size_t a,
                    std::span<const InterfaceEntry> page_entries) {
  const auto served = ServingEntry(list, a);
  if (!served) return false;
  return std::any_of(page_entries.begin(), page_entries.end(),
                     [&](const InterfaceEntry& page) { return SameEntry(page, *served); });
}

}  // namespace norvane::hid::catalogue
