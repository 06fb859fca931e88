#pragma once
// The device kinds the program serves, one row each: its kind codes (wired, and through its receiver),
// the device folder, the page's class and skin, whether the page is told its catalogue row as model index,
// and which function tabs its profile bar shows. Everything that differs by kind reads it: the page
// builder, the device host, the function tabs, the profile bar and the router's kind checks. A new kind is
// one row here plus its own classes.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "devices/usb_device.h"

namespace norvane::devices {

using DeviceFactory = std::function<std::unique_ptr<CNorvaneUSBDevice>(PageServices)>;

// Function tabs by their codes 1..8 (lighting, keys, macros, system, pointer, voice, voice changer,
// virtual surround), as bits (1 << (code - 1)).
constexpr std::uint8_t FunctionTabBit(int code) {
  return std::uint8_t(1u << (code - 1));
}

struct DeviceKindRow {
  std::uint16_t code = 0;           // the page's kind: the wired device's code
  std::uint16_t receiver_code = 0;  // the same device through its receiver; 0 when it has none
  std::string_view folder;          // device folder under the user data folder
  std::string_view skin;            // the page's layout skin
  bool model_index = true;          // the page gets its catalogue row as model index
  std::uint8_t function_tabs = 0;   // the tabs the profile bar shows
  DeviceFactory make;               // the page's device object
};

// Every kind, built-in rows first, then the ones a test added.
std::vector<const DeviceKindRow*> DeviceKinds();
// The row serving a kind code, wired or receiver; null for a code no row has.
const DeviceKindRow* FindDeviceKind(std::uint16_t code);
// The page kind of a code: a receiver code gives its wired kind; an unknown code stays as it is.
std::uint16_t PageKindCode(std::uint16_t code);
// Whether the profile bar of this kind shows function tab `code` (1..8).
bool ShowsFunctionTab(std::uint16_t kind, int code);
// The page's device object for a kind code; the basic device for a code no row has.
std::unique_ptr<CNorvaneUSBDevice> MakeDeviceForKind(std::uint16_t code, PageServices services);

// Adds a row for as long as it lives (tests add kinds of their own this way).
class ScopedDeviceKind {
 public:
  explicit ScopedDeviceKind(DeviceKindRow row);
  ~ScopedDeviceKind();
  ScopedDeviceKind(const ScopedDeviceKind&) = delete;
  ScopedDeviceKind& operator=(const ScopedDeviceKind&) = delete;
  const DeviceKindRow& Row() const { return *row_; }

 private:
  std::unique_ptr<DeviceKindRow> row_;
};

}  // namespace norvane::devices
