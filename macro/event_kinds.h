#pragma once
// What a macro event is, by its "Type", and what the editor calls it. The editor creates key presses
// (modifiers and other keys), mouse buttons and moves; types 2 and 3 come from older files and are shown
// but never created.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "macro/macro_event.h"

namespace norvane::macro {

namespace event_type {
inline constexpr int kMouseButton = 1;     // Button: the mouse button bit (see mouse_actions.h)
inline constexpr int kHorizontalMove = 4;  // Button: distance; "down" moves left, "up" right
inline constexpr int kVerticalMove = 5;    // Button: distance; "down" moves up, "up" down
inline constexpr int kModifierKey = 9;     // Button: the modifier bit, 0x01 left Ctrl ... 0x80 right logo key
inline constexpr int kKey = 10;            // Button: the HID usage
}  // namespace event_type

inline constexpr int kMaxMoveDistance = 255;

// Language text ids of the direction column and of events no table names.
inline constexpr std::string_view kDownLabelId = "macro_action_down_text";
inline constexpr std::string_view kUpLabelId = "macro_action_up_text";
inline constexpr std::string_view kOtherEventNameId = "macro_event_other_text";

// The press or release of the key on row `row` of the key name table: a modifier event for rows
// 0..kModifierRows-1, a key event for the other ordinary keys; nullopt for rows without a HID usage.
[[nodiscard]] std::optional<MacroEvent> KeyEventOfRow(std::size_t row, bool down, std::int64_t delay);

// A press or release of the mouse button with this bit.
[[nodiscard]] MacroEvent MouseButtonEvent(std::uint8_t button, bool down, std::int64_t delay);

enum class MoveDirection { kLeft, kRight, kUp, kDown };

// A move of `distance` (held to 0..kMaxMoveDistance) in one direction.
[[nodiscard]] MacroEvent MoveEvent(MoveDirection direction, int distance, std::int64_t delay);

// The language text id of what the event does: the key's name for key events, the mouse action's for
// buttons and moves, kOtherEventNameId for anything else.
[[nodiscard]] std::string_view EventNameId(const MacroEvent& event);

// kDownLabelId for exactly "down", kUpLabelId otherwise.
[[nodiscard]] std::string_view ActionLabelId(const MacroEvent& event);

}  // namespace norvane::macro
