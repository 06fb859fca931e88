#pragma once
// The built-in table of the HID interfaces the program recognises: for each supported device, its command
// interface (vendor page 0xFF1C, usage 0x92, on which the command channel talks) and its event interface
// (consumer page, on which the device reports profile switches and the like). Wired keyboards and mice are
// paired with their 2.4 GHz receivers, row by row.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norvane::hid {

// The kind code of an interface row and of a device page. The tab strip also knows 4 (headset icon) and
// 5 (hub).
enum class DeviceKind : uint16_t {
  kKeyboard = 1,
  kMouse = 2,
  kMousePad = 3,
  kHeadsetIcon = 4,
  kHub = 5,
  kMouseReceiver = 6,
  kHeadset = 7,
  kKeyboardReceiver = 9,
};

// "keyboard", "keyboard-receiver", "mouse", "mouse-receiver", "mousepad", "headset", "hub"; "unknown" else.
std::string_view DeviceKindName(DeviceKind kind);

// True for the kinds reached through a 2.4 GHz receiver (their command channel uses the receiver link).
bool IsReceiverKind(DeviceKind kind);

enum class InterfaceRole : uint16_t {
  kCommand = 0,  // the interface the command channel uses
  kEvent = 255,  // the interface on which the device sends unsolicited reports
};

inline constexpr uint16_t kVendorCommandUsagePage = 0xFF1C;
inline constexpr uint16_t kVendorCommandUsage = 0x92;
inline constexpr uint16_t kConsumerUsagePage = 0x000C;

struct InterfaceEntry {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t interface_number = 0;   // the number after "&mi_" in the path; 0 when absent
  uint16_t collection_number = 0;  // the number after "&col" in the path; 0 when absent
  DeviceKind kind = DeviceKind::kKeyboard;
  InterfaceRole role = InterfaceRole::kCommand;
  bool claimed = false;  // present and owned by a device page
  uint16_t usage_page = 0;
  uint16_t usage = 0;
  bool has_pair = false;    // one of a wired/receiver pair
  uint16_t pair_index = 0;  // row of the partner; meaningful only with has_pair
  std::string path;         // empty, or the path of the claimed interface

  // The same interface: identity, kind, role and usage agree. Claim, pairing and path do not count.
  bool SameInterface(const InterfaceEntry& other) const;
  // The command interface of a device: it speaks the vendor command protocol.
  bool IsVendorCommandInterface() const {
    return role == InterfaceRole::kCommand && usage_page == kVendorCommandUsagePage;
  }
};

inline constexpr size_t kInterfaceTableSize = 11;

// The built-in rows, in table order, all unclaimed with empty paths.
const std::array<InterfaceEntry, kInterfaceTableSize>& InterfaceTable();

// A fresh copy of the table: the interface list that a scan claims rows of.
std::vector<InterfaceEntry> MakeInterfaceList();

// What a probe of one path found: the numbers of its text and of its opened interface.
struct InterfaceProbe {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t interface_number = 0;
  uint16_t collection_number = 0;
  uint16_t usage_page = 0;
  uint16_t usage = 0;
};

// Index of the first table row whose vendor, product, interface and collection numbers equal these: the
// path is worth opening to read its usage.
std::optional<size_t> FindCandidateRow(uint16_t vendor_id, uint16_t product_id, uint16_t interface_number,
                                       uint16_t collection_number);

// Index of the first table row whose six numbers all equal the probe's.
std::optional<size_t> MatchInterfaceRow(const InterfaceProbe& probe);

// Index of the first table row of this vendor, product, kind and role.
std::optional<size_t> FindInterfaceRow(uint16_t vendor_id, uint16_t product_id, DeviceKind kind,
                                       InterfaceRole role);

}  // namespace norvane::hid
