#include "hid/udev_rule.h"

#include <algorithm>
#include <cstdio>

#include "hid/interface_table.h"

namespace norvane::hid {
namespace {

std::string Hex4(uint16_t value, bool upper) {
  char text[8];
  std::snprintf(text, sizeof text, upper ? "%04X" : "%04x", static_cast<unsigned>(value));
  return text;
}

}  // namespace

std::vector<std::pair<uint16_t, uint16_t>> SupportedUsbIds() {
  std::vector<std::pair<uint16_t, uint16_t>> ids;
  for (const InterfaceEntry& row : InterfaceTable()) {
    const std::pair<uint16_t, uint16_t> id{row.vendor_id, row.product_id};
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
  }
  return ids;
}

std::string UdevRuleText() {
  std::string text =
      "# Lets the user at the seat open the HID interfaces of the supported devices without root rights.\n"
      "# Written from the program's interface table when it is built: one line per device.\n";
  for (const auto& [vendor, product] : SupportedUsbIds()) {
    text += "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"" + Hex4(vendor, false) + "\", ATTRS{idProduct}==\"" +
            Hex4(product, false) + "\", TAG+=\"uaccess\"\n";
  }
  return text;
}

std::vector<std::string> UsbModaliases() {
  std::vector<std::string> aliases;
  for (const auto& [vendor, product] : SupportedUsbIds()) {
    aliases.push_back("usb:v" + Hex4(vendor, true) + "p" + Hex4(product, true) + "d*");
  }
  return aliases;
}

}  // namespace norvane::hid
