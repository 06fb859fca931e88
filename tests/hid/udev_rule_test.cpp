// The udev rule and the hardware ids come from the interface table: every device of the table is opened to
// the seat, once, and nothing else of its vendor.

#include "hid/udev_rule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace norvane::hid {
namespace {

TEST(UdevRule, NamesEachDeviceOfTheTableOnceAndNoOtherDeviceOfItsVendor) {
  const std::string expected =
      "# Lets the user at the seat open the HID interfaces of the supported devices without root rights.\n"
      "# Written from the program's interface table when it is built: one line per device.\n"
      "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"320f\", ATTRS{idProduct}==\"5055\", TAG+=\"uaccess\"\n"
      "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"320f\", ATTRS{idProduct}==\"50ec\", TAG+=\"uaccess\"\n"
      "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"320f\", ATTRS{idProduct}==\"50ef\", TAG+=\"uaccess\"\n"
      "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"320f\", ATTRS{idProduct}==\"221d\", TAG+=\"uaccess\"\n"
      "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"320f\", ATTRS{idProduct}==\"1004\", TAG+=\"uaccess\"\n"
      "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"0c76\", ATTRS{idProduct}==\"1630\", TAG+=\"uaccess\"\n";
  EXPECT_EQ(UdevRuleText(), expected);
}

TEST(UdevRule, ModaliasesUseTheKernelsUpperCaseForm) {
  const std::vector<std::string> expected = {"usb:v320Fp5055d*", "usb:v320Fp50ECd*", "usb:v320Fp50EFd*",
                                             "usb:v320Fp221Dd*", "usb:v320Fp1004d*", "usb:v0C76p1630d*"};
  EXPECT_EQ(UsbModaliases(), expected);
}

}  // namespace
}  // namespace norvane::hid
