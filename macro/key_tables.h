#pragma once
// The built-in key tables: every key the program knows by name (with the PC scan code a pressed key is
// recognised by) and the rows of the key editor's combos (mouse buttons, DPI steps, system keys, media keys,
// shortcuts). A row's position is its combo item; the tables never change at run time.
//
// Name keys are language text ids ("keyboard_key_A"); the display text comes from the language files.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "macro/scan_codes.h"
#include "profiles/profile_records.h"

namespace norvane::macro {

struct KeyNameRow {
  std::uint16_t virtualKey = 0;  // 0xFF: none; 0x101..0x105: keys the program marks specially
  KeyFunction function;
  std::string_view nameKey;
};

// Rows 0..7 modifiers (data1 = the HID modifier bit), 8..113 ordinary keys (data2 = HID usage), 114..131
// media keys, 132..134 system keys, 135..139 M1..M5, 140 Fn, 141 GM.
inline constexpr std::size_t kKeyNameRows = 142;
inline constexpr std::size_t kModifierRows = 8;
inline constexpr std::size_t kOrdinaryKeyEnd = 114;  // one past the last ordinary key
inline constexpr std::size_t kScanCodeRows = 113;    // rows 0..112 carry a scan code

[[nodiscard]] std::span<const KeyNameRow> KeyNameTable();
// The scan code of each of the first kScanCodeRows rows.
[[nodiscard]] std::span<const ScanCode> KeyRowScanCodes();
// The first row among the first kScanCodeRows whose scan code is `scan`.
[[nodiscard]] std::optional<std::size_t> KeyRowOfScanCode(ScanCode scan);
// The first row of the whole table with the same type, data1 and data2.
[[nodiscard]] std::optional<std::size_t> KeyRowOfFunction(KeyFunction function);

struct ShortcutRow {
  KeyFunction function;     // type 0x20, data1 0x10, data2 the HID usage
  std::string_view nameKey;  // what the shortcut does ("custem_undo")
};

// The combos' rows, in combo order.
[[nodiscard]] std::span<const KeyFunction> MouseButtonFunctions();  // 5 rows, type 0x10
[[nodiscard]] std::span<const KeyFunction> DpiStepFunctions();      // 3 rows, type 0x13
[[nodiscard]] std::span<const KeyFunction> SystemKeyFunctions();    // 3 rows, type 0x40
[[nodiscard]] std::span<const KeyFunction> MediaKeyFunctions();     // 18 rows, type 0x30
[[nodiscard]] std::span<const ShortcutRow> ShortcutTable();          // 11 rows

// The modifier options: choice 0 none, 1 Ctrl, 2 Shift, 3 Alt, 4 Win.
inline constexpr int kModifierChoices = 5;
// The choice that shows modifier row r (0..7): left and right variants show the same choice.
[[nodiscard]] constexpr int ModifierChoiceOfRow(std::size_t row) {
  return static_cast<int>((row + 1) % 5 + (row + 1) / 5);
}
// The left-hand modifier bit a choice writes; 0 for choice 0 or none (-1) or out of range.
[[nodiscard]] constexpr std::uint8_t ModifierBitOfChoice(int choice) {
  return choice >= 1 && choice < kModifierChoices ? static_cast<std::uint8_t>(1u << (choice - 1)) : 0;
}

// Function types the firmware knows; a key list from a file may hold anything else.
[[nodiscard]] bool IsKnownFunctionType(std::uint8_t type);

// Pointer movement (type 0x11) and wheel (type 0x12): a direction (0 or 1, as the editor's combo items),
// a count of 0..127 steps, and a delay and speed of 0..15 each (data1 = delay << 4 | speed). Direction 1
// sets bit 7 of data2: the pointer's count beside it, the wheel's as 128 - count (its two's complement),
// and a wheel count of 0 (no scrolling) stays 0. Values beyond their range keep their low bits.
struct Motion {
  int direction = 0;
  unsigned count = 0;
  unsigned delay = 0;
  unsigned speed = 0;
  friend bool operator==(const Motion&, const Motion&) = default;
};
inline constexpr std::uint8_t kPointerType = 0x11;
inline constexpr std::uint8_t kWheelType = 0x12;
[[nodiscard]] KeyFunction MotionFunction(std::uint8_t type, const Motion& motion);
[[nodiscard]] Motion MotionOfFunction(const KeyFunction& function);

}  // namespace norvane::macro
