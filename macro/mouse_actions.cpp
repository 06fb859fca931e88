#include "macro/mouse_actions.h"

#include <array>

namespace norvane::macro {
namespace {

constexpr std::array<MouseActionRow, kMouseActionRows> kRows = {{
    {0x0201, 0x01, 1, true, "mouse_key_left"},
    {0x0202, 0x01, 1, false, "mouse_key_left"},
    {0x0204, 0x02, 1, true, "mouse_key_right"},
    {0x0205, 0x02, 1, false, "mouse_key_right"},
    {0x0207, 0x04, 1, true, "mouse_key_middle"},
    {0x0208, 0x04, 1, false, "mouse_key_middle"},
    {0x020B, 0x10, 1, true, "mouse_key_forward"},
    {0x020C, 0x10, 1, false, "mouse_key_forward"},
    {0x020B, 0x08, 1, true, "mouse_key_back"},
    {0x020C, 0x08, 1, false, "mouse_key_back"},
    {0x0004, 0x00, 4, true, "mouse_move_to_left_text"},
    {0x0004, 0x00, 4, false, "mouse_move_to_right_text"},
    {0x0005, 0x00, 5, true, "mouse_move_to_up_text"},
    {0x0005, 0x00, 5, false, "mouse_move_to_down_text"},
    {0x020A, 0x00, 0, false, "mouse_cursor_text"},
}};

constexpr int kCursorType = 0;
constexpr int kFirstMoveType = 4;
constexpr int kLastMoveType = 5;

}  // namespace

std::span<const MouseActionRow> MouseActionTable() {
  return kRows;
}

std::optional<MouseActionRow> MouseActionOf(int type, int button, bool down) {
  const bool is_move = type >= kFirstMoveType && type <= kLastMoveType;
  for (const MouseActionRow& row : kRows) {
    if (row.type != type) continue;
    // The cursor row has no direction; a move's button is its distance, so moves differ by direction alone.
    if (type == kCursorType || (row.down == down && (is_move || row.button == button))) return row;
  }
  return std::nullopt;
}

}  // namespace norvane::macro
