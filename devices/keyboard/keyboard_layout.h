#pragma once
// What the keyboard tells about itself: the information block, its key table with the second table, and the
// key position maps derived from them.

#include <array>
#include <cstddef>
#include <cstdint>

#include "devices/keyboard/key_positions.h"
#include "protocol/command_channel.h"
#include "protocol/commands.h"

namespace norvane::devices::keyboard {

struct KeyboardLayout {
  std::array<std::uint8_t, protocol::kDeviceInfoSize> info{};
  KeyTable keyTable{};    // as last read; the base of every key table write
  KeyTable extraTable{};  // as last read; kept, not interpreted
  PositionMaps maps = EmptyPositionMaps();
  bool loaded = false;  // the tables were read: a write may start from them

  // Information byte 5: the number of key positions (3 table bytes each).
  std::size_t KeyPositions() const { return info[5]; }
  // Bytes of the key table: 3 per position. May exceed 512 on a damaged block; callers bound it.
  std::size_t TableBytes() const { return kCodeSize * KeyPositions(); }
  // Information byte 6: the macro memory, in units of 128 bytes.
  std::size_t MacroCapacity() const { return std::size_t{info[6]} * 128; }
};

// Reads the information block, the key table and the second table in one series and rebuilds the maps.
// `layout` changes only when every read succeeded; a table larger than 512 bytes stops the series before any
// table is read and returns kResultNotWritten. Returns 1 or the first failing command's result.
int ReadKeyboardLayout(protocol::CommandChannel& channel, KeyboardLayout& layout);

// Refreshes the information block only (before a key table write). `layout` changes only on success.
int RefreshDeviceInfo(protocol::CommandChannel& channel, KeyboardLayout& layout);

}  // namespace norvane::devices::keyboard
