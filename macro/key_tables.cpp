#include "macro/key_tables.h"

#include <array>
#include <iterator>

namespace norvane::macro {
namespace {

constexpr std::uint16_t kNoVirtualKey = 0xFF;

// A row with the scan code a hook reports for its key; rows past kScanCodeRows carry none.
struct Entry {
  KeyNameRow row;
  ScanCode scan;
};

constexpr ScanCode P(std::uint8_t code) {
  return {code, false};
}
constexpr ScanCode E(std::uint8_t code) {
  return {code, true};
}

constexpr Entry Modifier(std::uint16_t vk, std::uint8_t bit, ScanCode scan, std::string_view name) {
  return {{vk, {0x20, bit, 0}, name}, scan};
}
constexpr Entry Key(std::uint16_t vk, std::uint8_t usage, ScanCode scan, std::string_view name) {
  return {{vk, {0x20, 0, usage}, name}, scan};
}
constexpr Entry Media(std::uint16_t vk, std::uint16_t usage, std::string_view name) {
  return {{vk, {0x30, static_cast<std::uint8_t>(usage & 0xFF), static_cast<std::uint8_t>(usage >> 8)}, name},
          {}};
}
constexpr Entry Special(std::uint16_t vk, KeyFunction function, std::string_view name) {
  return {{vk, function, name}, {}};
}

// Virtual keys are the desktop's usual codes; keys whose code depends on the layout (Yen, the non-US #)
// have none. Keypad Enter shares Enter's code, as it does everywhere.
constexpr Entry kEntries[] = {
    Modifier(0xA2, 0x01, P(0x1D), "keyboard_key_LCtrl"),
    Modifier(0xA0, 0x02, P(0x2A), "keyboard_key_LShift"),
    Modifier(0xA4, 0x04, P(0x38), "keyboard_key_LAlt"),
    Modifier(0x5B, 0x08, E(0x5B), "keyboard_key_LWin"),
    Modifier(0xA3, 0x10, E(0x1D), "keyboard_key_RCtrl"),
    Modifier(0xA1, 0x20, E(0x36), "keyboard_key_RShift"),  // a hook reports right Shift extended
    Modifier(0xA5, 0x40, E(0x38), "keyboard_key_RAlt"),
    Modifier(0x5C, 0x80, E(0x5C), "keyboard_key_RWin"),
    Key('A', 0x04, P(0x1E), "keyboard_key_A"),
    Key('B', 0x05, P(0x30), "keyboard_key_B"),
    Key('C', 0x06, P(0x2E), "keyboard_key_C"),
    Key('D', 0x07, P(0x20), "keyboard_key_D"),
    Key('E', 0x08, P(0x12), "keyboard_key_E"),
    Key('F', 0x09, P(0x21), "keyboard_key_F"),
    Key('G', 0x0A, P(0x22), "keyboard_key_G"),
    Key('H', 0x0B, P(0x23), "keyboard_key_H"),
    Key('I', 0x0C, P(0x17), "keyboard_key_I"),
    Key('J', 0x0D, P(0x24), "keyboard_key_J"),
    Key('K', 0x0E, P(0x25), "keyboard_key_K"),
    Key('L', 0x0F, P(0x26), "keyboard_key_L"),
    Key('M', 0x10, P(0x32), "keyboard_key_M"),
    Key('N', 0x11, P(0x31), "keyboard_key_N"),
    Key('O', 0x12, P(0x18), "keyboard_key_O"),
    Key('P', 0x13, P(0x19), "keyboard_key_P"),
    Key('Q', 0x14, P(0x10), "keyboard_key_Q"),
    Key('R', 0x15, P(0x13), "keyboard_key_R"),
    Key('S', 0x16, P(0x1F), "keyboard_key_S"),
    Key('T', 0x17, P(0x14), "keyboard_key_T"),
    Key('U', 0x18, P(0x16), "keyboard_key_U"),
    Key('V', 0x19, P(0x2F), "keyboard_key_V"),
    Key('W', 0x1A, P(0x11), "keyboard_key_W"),
    Key('X', 0x1B, P(0x2D), "keyboard_key_X"),
    Key('Y', 0x1C, P(0x15), "keyboard_key_Y"),
    Key('Z', 0x1D, P(0x2C), "keyboard_key_Z"),
    Key('1', 0x1E, P(0x02), "keyboard_key_1"),
    Key('2', 0x1F, P(0x03), "keyboard_key_2"),
    Key('3', 0x20, P(0x04), "keyboard_key_3"),
    Key('4', 0x21, P(0x05), "keyboard_key_4"),
    Key('5', 0x22, P(0x06), "keyboard_key_5"),
    Key('6', 0x23, P(0x07), "keyboard_key_6"),
    Key('7', 0x24, P(0x08), "keyboard_key_7"),
    Key('8', 0x25, P(0x09), "keyboard_key_8"),
    Key('9', 0x26, P(0x0A), "keyboard_key_9"),
    Key('0', 0x27, P(0x0B), "keyboard_key_0"),
    Key(0x0D, 0x28, P(0x1C), "keyboard_key_Enter"),
    Key(0x1B, 0x29, P(0x01), "keyboard_key_Esc"),
    Key(0x08, 0x2A, P(0x0E), "keyboard_key_BackSpace"),
    Key(0x09, 0x2B, P(0x0F), "keyboard_key_Tab"),
    Key(0x20, 0x2C, P(0x39), "keyboard_key_Space"),
    Key(0xBD, 0x2D, P(0x0C), "keyboard_key_-"),
    Key(0xBB, 0x2E, P(0x0D), "keyboard_key_="),
    Key(0xDB, 0x2F, P(0x1A), "keyboard_key_["),
    Key(0xDD, 0x30, P(0x1B), "keyboard_key_]"),
    Key(0xDC, 0x31, P(0x2B), "keyboard_key_xiegang"),
    Key(0xBA, 0x33, P(0x27), "keyboard_key_;"),
    Key(0xDE, 0x34, P(0x28), "keyboard_key_'"),
    Key(0xC0, 0x35, P(0x29), "keyboard_key_`"),
    Key(0xBC, 0x36, P(0x33), "keyboard_key_<"),
    Key(0xBE, 0x37, P(0x34), "keyboard_key_."),
    Key(0xBF, 0x38, P(0x35), "keyboard_key_/"),
    Key(0x14, 0x39, P(0x3A), "keyboard_key_Caplk"),
    Key(0x70, 0x3A, P(0x3B), "keyboard_key_F1"),
    Key(0x71, 0x3B, P(0x3C), "keyboard_key_F2"),
    Key(0x72, 0x3C, P(0x3D), "keyboard_key_F3"),
    Key(0x73, 0x3D, P(0x3E), "keyboard_key_F4"),
    Key(0x74, 0x3E, P(0x3F), "keyboard_key_F5"),
    Key(0x75, 0x3F, P(0x40), "keyboard_key_F6"),
    Key(0x76, 0x40, P(0x41), "keyboard_key_F7"),
    Key(0x77, 0x41, P(0x42), "keyboard_key_F8"),
    Key(0x78, 0x42, P(0x43), "keyboard_key_F9"),
    Key(0x79, 0x43, P(0x44), "keyboard_key_F10"),
    Key(0x7A, 0x44, P(0x57), "keyboard_key_F11"),
    Key(0x7B, 0x45, P(0x58), "keyboard_key_F12"),
    Key(0x2C, 0x46, E(0x37), "keyboard_key_Print Scr"),
    Key(0x91, 0x47, P(0x46), "keyboard_key_Scroll Lock"),
    Key(0x13, 0x48, P(0x45), "keyboard_key_Pause"),
    Key(0x2D, 0x49, E(0x52), "keyboard_key_Insert"),
    Key(0x24, 0x4A, E(0x47), "keyboard_key_Home"),
    Key(0x21, 0x4B, E(0x49), "keyboard_key_Page Up"),
    Key(0x2E, 0x4C, E(0x53), "keyboard_key_Delete"),
    Key(0x23, 0x4D, E(0x4F), "keyboard_key_End"),
    Key(0x22, 0x4E, E(0x51), "keyboard_key_Page Down"),
    Key(0x27, 0x4F, E(0x4D), "keyboard_key_Right"),
    Key(0x25, 0x50, E(0x4B), "keyboard_key_Left"),
    Key(0x28, 0x51, E(0x50), "keyboard_key_Down"),
    Key(0x26, 0x52, E(0x48), "keyboard_key_Up"),
    Key(0x90, 0x53, E(0x45), "keyboard_key_Num Lock"),  // a hook reports Num Lock extended, Pause not
    Key(0x6F, 0x54, E(0x35), "keyboard_key_Num /"),
    Key(0x6A, 0x55, P(0x37), "keyboard_key_Num *"),
    Key(0x6D, 0x56, P(0x4A), "keyboard_key_Num -"),
    Key(0x6B, 0x57, P(0x4E), "keyboard_key_Num +"),
    Key(0x0D, 0x58, E(0x1C), "keyboard_key_Num Enter"),
    Key(0x61, 0x59, P(0x4F), "keyboard_key_Num 1"),
    Key(0x62, 0x5A, P(0x50), "keyboard_key_Num 2"),
    Key(0x63, 0x5B, P(0x51), "keyboard_key_Num 3"),
    Key(0x64, 0x5C, P(0x4B), "keyboard_key_Num 4"),
    Key(0x65, 0x5D, P(0x4C), "keyboard_key_Num 5"),
    Key(0x66, 0x5E, P(0x4D), "keyboard_key_Num 6"),
    Key(0x67, 0x5F, P(0x47), "keyboard_key_Num 7"),
    Key(0x68, 0x60, P(0x48), "keyboard_key_Num 8"),
    Key(0x69, 0x61, P(0x49), "keyboard_key_Num 9"),
    Key(0x60, 0x62, P(0x52), "keyboard_key_Num 0"),
    Key(0x6E, 0x63, P(0x53), "keyboard_key_Decimal"),
    Key(0x5D, 0x65, E(0x5D), "keyboard_key_App"),
    // The international keys, by their position numbers on the standard board layouts.
    Key(0xE2, 0x64, P(0x56), "keyboard_key_K45"),
    Key(0xC1, 0x87, P(0x73), "keyboard_key_K56"),
    Key(kNoVirtualKey, 0x89, P(0x7D), "keyboard_key_K14"),
    Key(0xC2, 0x85, P(0x7E), "keyboard_key_K107"),
    Key(0x1D, 0x8B, P(0x7B), "keyboard_key_K131"),
    Key(0x1C, 0x8A, P(0x79), "keyboard_key_K132"),
    Key(0x15, 0x88, P(0x70), "keyboard_key_K133"),
    Key(0x19, 0x91, P(0x71), "keyboard_key_K150"),
    Key(0x15, 0x90, P(0x72), "keyboard_key_K151"),
    // The non-US # key reports the backslash key's scan code, so capture finds that one instead.
    Key(kNoVirtualKey, 0x32, {}, "keyboard_key_K42"),
    Media(0xB7, 0x0192, "keyboard_key_Launch App2"),
    Media(0xAC, 0x0223, "keyboard_key_Browaer Home"),
    Media(0xB3, 0x00CD, "keyboard_key_Media Play Pause"),
    Media(0xAA, 0x0221, "keyboard_key_Browser Search"),
    Media(0xB4, 0x018A, "keyboard_key_Launch Mail"),
    Media(0xAF, 0x00E9, "keyboard_key_Volume Up"),
    Media(0xAD, 0x00E2, "keyboard_key_Volume Mute"),
    Media(0xB2, 0x00B7, "keyboard_key_Media Stop"),
    Media(0xAE, 0x00EA, "keyboard_key_Volume Down"),
    Media(0xAB, 0x022A, "keyboard_key_Browser Favorites"),
    Media(0xA7, 0x0225, "keyboard_key_Browser ForWard"),
    Media(0xA6, 0x0224, "keyboard_key_Browser Back"),
    Media(0xB1, 0x00B6, "keyboard_key_Media Prev Track"),
    Media(0xB0, 0x00B5, "keyboard_key_Media Next Track"),
    Media(0xB6, 0x0194, "keyboard_key_Computer"),
    Media(0xA8, 0x0227, "keyboard_key_Browser Refresh"),
    Media(0xA9, 0x0226, "wed_stop"),
    Media(0xB5, 0x0183, "keyboard_key_Launch Media Select"),
    Special(kNoVirtualKey, {0x40, 1, 0}, "keyboard_key_Power"),
    Special(0x5F, {0x40, 2, 0}, "keyboard_key_Sleep"),
    Special(kNoVirtualKey, {0x40, 4, 0}, "keyboard_key_Wakeup"),
    Special(0x101, {0xD0, 0xA2, 1}, "keyboard_key_M1"),
    Special(0x102, {0xD0, 0xA2, 2}, "keyboard_key_M2"),
    Special(0x103, {0xD0, 0xA2, 3}, "keyboard_key_M3"),
    Special(0x104, {0xD0, 0xA2, 4}, "keyboard_key_M4"),
    Special(0x105, {0xD0, 0xA2, 5}, "keyboard_key_M5"),
    Special(kNoVirtualKey, {0xA0, 0x01, 0}, "keyboard_key_FN"),
    Special(kNoVirtualKey, {0xA0, 0x1B, 0}, "keyboard_key_GM"),
};
static_assert(std::size(kEntries) == kKeyNameRows);

constexpr bool ScanCodesEndWhereTheyShould() {
  for (std::size_t i = 0; i < kKeyNameRows; ++i) {
    if ((kEntries[i].scan.code != 0) != (i < kScanCodeRows)) return false;
  }
  return true;
}
static_assert(ScanCodesEndWhereTheyShould(),
              "the first kScanCodeRows rows, and only those, carry a scan code");

constexpr auto kRows = [] {
  std::array<KeyNameRow, kKeyNameRows> rows{};
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = kEntries[i].row;
  return rows;
}();

constexpr auto kScanCodes = [] {
  std::array<ScanCode, kScanCodeRows> codes{};
  for (std::size_t i = 0; i < codes.size(); ++i) codes[i] = kEntries[i].scan;
  return codes;
}();

}  // namespace

std::span<const KeyNameRow> KeyNameTable() {
  return kRows;
}

std::span<const ScanCode> KeyRowScanCodes() {
  return kScanCodes;
}

std::optional<std::size_t> KeyRowOfScanCode(ScanCode scan) {
  for (std::size_t i = 0; i < kScanCodes.size(); ++i) {
    if (kScanCodes[i] == scan) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> KeyRowOfFunction(KeyFunction function) {
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    if (kRows[i].function == function) return i;
  }
  return std::nullopt;
}

KeyFunction MotionFunction(std::uint8_t type, const Motion& motion) {
  constexpr unsigned kDirectionBit = 0x80;
  const unsigned count = motion.count & 0x7F;
  unsigned data2 = count;
  if (motion.direction == 1) {
    // 0x80 on the wheel would be 128 steps, its fastest; a count of 0 means no scrolling, so it stays 0.
    if (type == kWheelType) {
      data2 = count == 0 ? 0 : (128 - count) | kDirectionBit;
    } else {
      data2 = count | kDirectionBit;
    }
  }
  return {type, static_cast<std::uint8_t>((motion.delay & 0x0F) << 4 | (motion.speed & 0x0F)),
          static_cast<std::uint8_t>(data2)};
}

Motion MotionOfFunction(const KeyFunction& function) {
  Motion motion{0, function.data2, unsigned(function.data1 >> 4), unsigned(function.data1 & 0x0F)};
  if (function.data2 & 0x80) {
    const unsigned magnitude = function.data2 & 0x7F;
    motion.direction = 1;
    motion.count = function.type == kWheelType ? 128 - magnitude : magnitude;
  }
  return motion;
}

}  // namespace norvane::macro
