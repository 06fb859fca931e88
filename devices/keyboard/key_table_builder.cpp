#include "devices/keyboard/key_table_builder.h"

#include <algorithm>

namespace norvane::devices::keyboard {

KeyTable BuildExtraKeyTable(std::size_t tableBytes, std::span<const KeyAssignment> keys,
                            const PositionMap& positions) {
  KeyTable table{};
  const KeyPlaces places{positions, kNoPosition};
  const std::size_t count = std::min(keys.size(), kUiKeys);
  for (std::size_t key = 0; key < count; ++key) {
    if (const auto offset = KeyCodeOffset(places, key, tableBytes)) PutKeyCode(table, *offset, keys[key].current);
  }
  return table;
}

}  // namespace norvane::devices::keyboard
