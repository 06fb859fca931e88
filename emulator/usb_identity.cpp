// USB identities and hand-written report descriptors of the emulated devices.
//
// Keyboard, mouse and pad (and the two receivers) are composite devices. Interface 0 is a boot keyboard or
// boot mouse without report ids. Interface 1 declares four top-level collections, in this order:
//   1. system control (report id 1),
//   2. an NKRO keyboard or a mouse (report id 2),
//   3. consumer control (report id 3): one 16-bit array field whose usage is the device's event code,
//   4. the vendor command collection (page 0xFF1C, usage 0x92, report id 4, 63 data bytes each way).
// The headset's HID interface is number 3 (0 to 2 are its audio interfaces) with one consumer-control
// collection that carries its events (id 1), the command reports (id 4) and the lighting output report (id
// 0xFF, 16 data bytes).

#include "emulator/usb_identity.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace norvane::emulator {
namespace {

constexpr auto kBootKeyboard =
    std::to_array<uint8_t>({0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,  // Generic Desktop / Keyboard, application
                            0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,  // modifiers
                            0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,  //
                            0x95, 0x01, 0x75, 0x08, 0x81, 0x01,              // reserved byte
                            0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01,  // LED output
                            0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03,  //
                            0x91, 0x01,                                      // LED padding
                            0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x26, 0xFF,  // six key slots
                            0x00, 0x05, 0x07, 0x19, 0x00, 0x2A, 0xFF, 0x00,  //
                            0x81, 0x00, 0xC0});

constexpr auto kBootMouse =
    std::to_array<uint8_t>({0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00,  // Mouse / Pointer
                            0x05, 0x09, 0x19, 0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01,  // five buttons
                            0x95, 0x05, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x03,  //
                            0x81, 0x01,                                                  // padding
                            0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09, 0x38, 0x15, 0x81,  // X, Y, wheel
                            0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0});

template <size_t... N>
constexpr auto Concat(const std::array<uint8_t, N>&... parts) {
  std::array<uint8_t, (N + ...)> joined{};
  size_t at = 0;
  ((std::copy(parts.begin(), parts.end(), joined.begin() + at), at += N), ...);
  return joined;
}

// Collection 1 of interface 1.
constexpr auto kSystemControl = std::to_array<uint8_t>(
    {0x05, 0x01, 0x09, 0x80, 0xA1, 0x01, 0x85, 0x01, 0x19, 0x81, 0x29, 0x83, 0x15, 0x00,
     0x25, 0x01, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02, 0x95, 0x05, 0x81, 0x01, 0xC0});

// Collection 2 of a keyboard-like interface 1: modifiers and a 120-key bitmap.
constexpr auto kNkroKeyboard = std::to_array<uint8_t>(
    {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x02, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25,
     0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x19, 0x00, 0x29, 0x77, 0x95, 0x78, 0x81, 0x02, 0xC0});

// Collection 2 of a mouse-like interface 1: five buttons, 16-bit X and Y, wheel.
constexpr auto kMouse = std::to_array<uint8_t>(
    {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x02, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01,
     0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x05, 0x81, 0x02, 0x95, 0x03, 0x81, 0x01,
     0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x16, 0x01, 0x80, 0x26, 0xFF, 0x7F, 0x75, 0x10, 0x95, 0x02,
     0x81, 0x06, 0x09, 0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x01, 0x81, 0x06, 0xC0, 0xC0});

// The 16-bit consumer array that carries event codes (usages 0 to 0xFFFF, logical 0 to 65535).
constexpr std::array<uint8_t, 20> EventField(uint8_t report_id) {
  return {0x85, report_id, 0x19, 0x00, 0x2A, 0xFF, 0xFF, 0x15, 0x00, 0x27,
          0xFF, 0xFF,      0x00, 0x00, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00};
}

constexpr auto kConsumerApplication = std::to_array<uint8_t>({0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01});
constexpr auto kEndCollection = std::to_array<uint8_t>({0xC0});

// Collection 3 of interface 1.
constexpr auto kConsumerEvents = Concat(kConsumerApplication, EventField(kEventReportId), kEndCollection);

// The command reports: id 4, 63 data bytes in and out, on vendor page 0xFF1C.
constexpr auto kCommandReports =
    std::to_array<uint8_t>({0x85, 0x04, 0x06, 0x1C, 0xFF, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF,
                            0x00, 0x75, 0x08, 0x95, 0x3F, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02});

// Collection 4 of interface 1.
constexpr auto kVendorApplication = std::to_array<uint8_t>({0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01});
constexpr auto kVendorCommands = Concat(kVendorApplication, kCommandReports, kEndCollection);

// Lighting output report of the headset, 16 data bytes.
constexpr auto kHeadsetLightReport =
    std::to_array<uint8_t>({0x85, kHeadsetLightReportId, 0x09, 0x02, 0x95, 0x10, 0x91, 0x02});

constexpr auto kKeyboardInterface1 = Concat(kSystemControl, kNkroKeyboard, kConsumerEvents, kVendorCommands);
constexpr auto kMouseInterface1 = Concat(kSystemControl, kMouse, kConsumerEvents, kVendorCommands);
constexpr auto kHeadsetInterface3 = Concat(kConsumerApplication, EventField(kHeadsetEventReportId),
                                           kCommandReports, kHeadsetLightReport, kEndCollection);

UsbIdentity Composite(uint16_t product_id, uint16_t version, DeviceFamily family, bool receiver,
                      std::span<const uint8_t> boot, std::span<const uint8_t> interface1) {
  return UsbIdentity{0x320F, product_id, version,
                     family, receiver,   {{0, false, boot}, {1, true, interface1}}};
}

}  // namespace

const UsbIdentity& IdentityOf(DeviceModel model) {
  static const UsbIdentity keyboard =
      Composite(0x5055, 0x0110, DeviceFamily::kKeyboard, false, kBootKeyboard, kKeyboardInterface1);
  static const UsbIdentity keyboard_receiver =
      Composite(0x50EC, 0x0102, DeviceFamily::kKeyboard, true, kBootKeyboard, kKeyboardInterface1);
  static const UsbIdentity mouse =
      Composite(0x50EF, 0x0120, DeviceFamily::kMouse, false, kBootMouse, kMouseInterface1);
  static const UsbIdentity mouse_receiver =
      Composite(0x221D, 0x0103, DeviceFamily::kMouse, true, kBootMouse, kMouseInterface1);
  static const UsbIdentity mouse_pad =
      Composite(0x1004, 0x0101, DeviceFamily::kMousePad, false, kBootKeyboard, kKeyboardInterface1);
  static const UsbIdentity headset{
      0x0C76, 0x1630, 0x0100, DeviceFamily::kHeadset, false, {{3, true, kHeadsetInterface3}}};
  switch (model) {
    case DeviceModel::kKeyboard:
      return keyboard;
    case DeviceModel::kKeyboardReceiver:
      return keyboard_receiver;
    case DeviceModel::kMouse:
      return mouse;
    case DeviceModel::kMouseReceiver:
      return mouse_receiver;
    case DeviceModel::kMousePad:
      return mouse_pad;
    case DeviceModel::kHeadset:
      return headset;
  }
  throw std::invalid_argument("unknown device model");
}

}  // namespace norvane::emulator
