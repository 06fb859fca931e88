#pragma once
// The mouse actions a macro can hold, one row per action the recorder tells apart: the mouse message it
// arrives as, the button it carries, the event type it is stored as (with the "down" direction) and the
// language text id the editor names it by. Forward and back arrive as the same messages and differ only
// by their button.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace norvane::macro {

struct MouseActionRow {
  std::uint16_t message = 0;
  std::uint8_t button = 0;
  std::uint8_t type = 0;
  bool down = false;
  std::string_view nameId;

  // The third byte of the event code: the type with bit 7 for "down".
  [[nodiscard]] constexpr std::uint8_t TypeCode() const {
    return static_cast<std::uint8_t>(type | (down ? 0x80 : 0x00));
  }
};

inline constexpr std::size_t kMouseActionRows = 15;

[[nodiscard]] std::span<const MouseActionRow> MouseActionTable();

// The row of a button press or release (type 1) by its button, of a move (types 4 and 5) by its
// direction, or the cursor row (type 0); nullopt for anything else.
[[nodiscard]] std::optional<MouseActionRow> MouseActionOf(int type, int button, bool down);

}  // namespace norvane::macro
