#include "hid/hidraw_node_info.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "hid/report_descriptor.h"

namespace norvane::hid {

namespace {

constexpr std::string_view kHidrawPrefix = "/dev/hidraw";

std::optional<unsigned long> SysattrNumber(udev_device* device, const char* name, int base) {
  const char* text = udev_device_get_sysattr_value(device, name);
  if (text == nullptr) return std::nullopt;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text, &end, base);
  if (end == text) return std::nullopt;
  return value;
}

std::optional<std::vector<uint8_t>> ReadDescriptorFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes;
  char c;
  while (bytes.size() <= kMaxDescriptorBytes && in.get(c)) bytes.push_back(static_cast<uint8_t>(c));
  if (bytes.empty()) return std::nullopt;
  return bytes;
}

// The location ends up inside a path whose parts are separated by '#'.
std::string PathSafe(std::string text) {
  std::replace(text.begin(), text.end(), '#', '_');
  return text;
}

}  // namespace

bool IsHidrawNodeName(std::string_view node_id) {
  if (node_id.size() <= kHidrawPrefix.size() || node_id.substr(0, kHidrawPrefix.size()) != kHidrawPrefix) {
    return false;
  }
  const std::string_view digits = node_id.substr(kHidrawPrefix.size());
  return digits.size() <= 6 && std::all_of(digits.begin(), digits.end(), [](char c) {
           return std::isdigit(static_cast<unsigned char>(c));
         });
}

unsigned HidrawNodeNumber(std::string_view node_id) {
  if (!IsHidrawNodeName(node_id)) return ~0u;
  return static_cast<unsigned>(std::stoul(std::string(node_id.substr(kHidrawPrefix.size()))));
}

std::optional<HidNodeInfo> ReadHidrawNodeInfo(udev_device* hidraw) {
  const char* devnode = udev_device_get_devnode(hidraw);
  if (devnode == nullptr || !IsHidrawNodeName(devnode)) return std::nullopt;
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
  if (hid == nullptr) return std::nullopt;

  HidNodeInfo info;
  info.node_id = devnode;
  // HID_ID is "bus:vendor:product", e.g. "0003:0000320F:00005055".
  const char* hid_id = udev_device_get_property_value(hid, "HID_ID");
  unsigned bus = 0, vendor = 0, product = 0;
  if (hid_id == nullptr || std::sscanf(hid_id, "%x:%x:%x", &bus, &vendor, &product) != 3) return std::nullopt;
  info.vendor_id = static_cast<uint16_t>(vendor);
  info.product_id = static_cast<uint16_t>(product);

  const char* hid_syspath = udev_device_get_syspath(hid);
  if (hid_syspath == nullptr) return std::nullopt;
  auto descriptor = ReadDescriptorFile(std::string(hid_syspath) + "/report_descriptor");
  if (!descriptor) return std::nullopt;
  info.report_descriptor = std::move(*descriptor);

  if (udev_device* interface =
          udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_interface")) {
    info.interface_number = static_cast<int>(SysattrNumber(interface, "bInterfaceNumber", 16).value_or(0));
    if (const char* sysname = udev_device_get_sysname(interface)) info.usb_location = PathSafe(sysname);
  }
  if (udev_device* usb = udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device")) {
    info.version = static_cast<uint16_t>(SysattrNumber(usb, "bcdDevice", 16).value_or(0));
    info.composite = SysattrNumber(usb, "bNumInterfaces", 10).value_or(1) > 1;
  }
  if (info.usb_location.empty()) {
    // Not on USB (Bluetooth, I2C): the physical path of the HID device is the stable name.
    const char* phys = udev_device_get_property_value(hid, "HID_PHYS");
    const char* sysname = udev_device_get_sysname(hid);
    info.usb_location =
        PathSafe(phys != nullptr && *phys != '\0' ? phys : (sysname != nullptr ? sysname : ""));
  }
  return info;
}

}  // namespace norvane::hid
