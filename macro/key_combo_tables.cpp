// The key editor's combo rows. They are kept apart from the key table because their order is the order the
// combos offer them in, not the order of the keys.
#include <algorithm>
#include <array>
#include <iterator>

#include "macro/key_tables.h"

namespace norvane::macro {
namespace {

constexpr KeyFunction MediaKey(std::uint16_t usage) {
  return {0x30, static_cast<std::uint8_t>(usage & 0xFF), static_cast<std::uint8_t>(usage >> 8)};
}

constexpr ShortcutRow Shortcut(std::uint8_t usage, std::string_view nameKey) {
  return {{0x20, 0x10, usage}, nameKey};
}

// Left, middle, right, forward, back.
constexpr std::array kMouseButtons = {KeyFunction{0x10, 0x01, 0}, KeyFunction{0x10, 0x04, 0},
                                      KeyFunction{0x10, 0x02, 0}, KeyFunction{0x10, 0x10, 0},
                                      KeyFunction{0x10, 0x08, 0}};

// Up, down, round the steps.
constexpr std::array kDpiSteps = {KeyFunction{0x13, 1, 0}, KeyFunction{0x13, 2, 0}, KeyFunction{0x13, 3, 0}};

// Power, sleep, wake up.
constexpr std::array kSystemKeys = {KeyFunction{0x40, 1, 0}, KeyFunction{0x40, 2, 0},
                                    KeyFunction{0x40, 4, 0}};

// Consumer-page usages: the player first, then volume, the browser, and the launchers.
constexpr std::array kMediaKeys = {
    MediaKey(0x0183), MediaKey(0x00CD), MediaKey(0x00B7), MediaKey(0x00B6), MediaKey(0x00B5),
    MediaKey(0x00EA), MediaKey(0x00E9), MediaKey(0x00E2), MediaKey(0x0223), MediaKey(0x0227),
    MediaKey(0x0226), MediaKey(0x0224), MediaKey(0x0225), MediaKey(0x022A), MediaKey(0x0221),
    MediaKey(0x0194), MediaKey(0x0192), MediaKey(0x018A),
};

// Ctrl plus a letter (or minus and equals for zoom), with what the combination usually does.
constexpr std::array kShortcuts = {
    Shortcut(0x12, "custem_open"),     Shortcut(0x11, "custem_new"),     Shortcut(0x1D, "custem_undo"),
    Shortcut(0x16, "custem_save"),     Shortcut(0x06, "custem_copy"),    Shortcut(0x1B, "custem_cut"),
    Shortcut(0x19, "custem_paste"),    Shortcut(0x09, "custem_find"),    Shortcut(0x04, "custem_select_all"),
    Shortcut(0x2D, "custem_zoom_out"), Shortcut(0x2E, "custem_zoom_in"),
};

}  // namespace

std::span<const KeyFunction> MouseButtonFunctions() {
  return kMouseButtons;
}

std::span<const KeyFunction> DpiStepFunctions() {
  return kDpiSteps;
}

std::span<const KeyFunction> SystemKeyFunctions() {
  return kSystemKeys;
}

std::span<const KeyFunction> MediaKeyFunctions() {
  return kMediaKeys;
}

std::span<const ShortcutRow> ShortcutTable() {
  return kShortcuts;
}

bool IsKnownFunctionType(std::uint8_t type) {
  constexpr std::uint8_t kKnown[] = {0x00, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x20, 0x21, 0x22, 0x23,
                                     0x30, 0x40, 0x50, 0x60, 0x70, 0x71, 0x72, 0xA0, 0xB0, 0xC0, 0xD0};
  return std::ranges::find(kKnown, type) != std::end(kKnown);
}

}  // namespace norvane::macro
