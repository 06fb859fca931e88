#pragma once
// The built-in catalogue of supported devices beyond the interface rows: which page serves a device
// (DevicePageTable), what that page holds (DevicePageFiles) and how the update service names the model
// (ModelTable), plus the pure rules that join interface entries, pages and wired/receiver pairs. What is
// the same for every model of a kind (folder, skin, page class) is the kinds table's.
// The three page tables are parallel: row index = device-page index = the page's model index.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "hid/interface_table.h"

namespace norvane::hid::catalogue {

inline constexpr std::size_t kDevicePageCount = 4;

struct DevicePageRow {
  std::string_view tab_layout;
  std::string_view group;         // option group of the tab
  std::string_view power_layout;  // tab layout that holds the power pages
  int32_t variant_index = 0;      // handed to the page with SetVariantIndex
  int32_t vendor_id = 0;
  int32_t product_id = 0;
  int32_t kind_code = 0;
  int32_t variant = 0;
};

struct DevicePageFilesRow {
  int32_t led_count = 0;
  int32_t key_count = 0;
  int32_t wireless_capable = 0;  // reachable through a receiver, reports a wireless status
  int32_t logo_led = -1;         // LED shown by the logo button; -1 none
  std::string_view file_stem;    // the light-list file stem
};

struct ModelRow {
  int32_t first = 0;
  int32_t second = 0;
  int32_t third = 0;  // 0 here; the update code keeps its own copy and fills it in
  std::string_view brand;
  std::string_view model;
  std::string_view type;
  std::string_view name;
  std::string_view version_label;
};

const std::array<DevicePageRow, kDevicePageCount>& DevicePageTable();
const std::array<DevicePageFilesRow, kDevicePageCount>& DevicePageFiles();
const std::array<ModelRow, kDevicePageCount>& ModelTable();

// Index of the first InterfaceTable row of this vendor, product, kind code and role code, or -1.
int FindInterfaceRow(int32_t vendor_id, int32_t product_id, int32_t kind_code, int32_t role_code);

// Index of the first DevicePageTable row of this vendor, product, kind code and variant, or -1.
int FindPageRow(int32_t vendor_id, int32_t product_id, int32_t kind_code, int32_t variant);

// Two entries name the same interface: identity, kind, role and usage agree (claim, pairing and path do
// not count).
bool SameEntry(const InterfaceEntry& a, const InterfaceEntry& b);

// Entry a has a partner that is claimed with a path and points back at a.
bool IsPairPresent(std::span<const InterfaceEntry> list, std::size_t a);

// The entry whose page serves entry a: an event interface maps to its device's command entry (the wired
// one for a receiver pair), a receiver command entry to its wired partner. nullopt for an index outside
// the list.
std::optional<InterfaceEntry> ServingEntry(std::span<const InterfaceEntry> list, std::size_t a);

// Whether some page, given by the interface entries the pages hold, already serves entry a.
bool TabServesEntry(std::span<const InterfaceEntry> list, std::size_t a,
                    std::span<const InterfaceEntry> page_entries);

}  // namespace norvane::hid::catalogue
