#pragma once
// What each emulated device shows on the USB bus: vendor and product ids, bcdDevice, and the HID interfaces
// with their report descriptors.

#include <cstdint>
#include <span>
#include <vector>

#include "emulator/emulator.h"

namespace norvane::emulator {

// The firmware family behind a model: a receiver runs the firmware of the device it reaches.
enum class DeviceFamily { kKeyboard, kMouse, kMousePad, kHeadset };

// Report ids of the interface that carries the command collection.
inline constexpr uint8_t kEventReportId = 0x03;         // consumer-control collection of interface 1
inline constexpr uint8_t kHeadsetEventReportId = 0x01;  // the headset's single collection
inline constexpr uint8_t kHeadsetLightReportId = 0xFF;  // the headset's 17-byte lighting output report
inline constexpr size_t kHeadsetLightReportSize = 17;

struct HidInterfaceSpec {
  int number = 0;
  bool carries_commands = false;  // holds the vendor command collection (report id 4)
  std::span<const uint8_t> report_descriptor;
};

struct UsbIdentity {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t version = 0;
  DeviceFamily family = DeviceFamily::kKeyboard;
  bool receiver = false;
  std::vector<HidInterfaceSpec> interfaces;  // in interface order
};

const UsbIdentity& IdentityOf(DeviceModel model);

}  // namespace norvane::emulator
