#pragma once
// The key tables the keyboard receives: one 3-byte code per device position. The main table is the shared
// builder's (devices/key_table_builder.h) over keys 0..125; the second table starts from zeros and takes the
// codes as they are.

#include <cstddef>
#include <span>
#include <vector>

#include "devices/key_table_builder.h"
#include "devices/keyboard/key_positions.h"
#include "profiles/profile_records.h"

namespace norvane::devices::keyboard {

using devices::BuiltKeyTable;
using devices::IsMacroAssignment;

// The UI keys that take assignments (0..125), where the keyboard has them.
inline KeyPlaces AssignableKeys(const PositionMap& positions) {
  return {std::span<const std::uint8_t>(positions).first(kAssignableKeys), kNoPosition};
}

// The shared builder over keys 0..125 that sit on the keyboard.
inline BuiltKeyTable BuildKeyTable(const KeyTable& lastRead, std::size_t tableBytes,
                                   std::span<const KeyAssignment> keys, const PositionMap& positions,
                                   std::size_t macroCount) {
  return devices::BuildKeyTable(lastRead, tableBytes, keys, AssignableKeys(positions), macroCount);
}

// For UI keys 0..169 that sit on the keyboard, the codes as assigned, over a zeroed table.
KeyTable BuildExtraKeyTable(std::size_t tableBytes, std::span<const KeyAssignment> keys,
                            const PositionMap& positions);

// The distinct macro numbers below macroCount that keys 0..125 on the keyboard use, in order of first use.
inline std::vector<int> CollectUsedMacros(std::span<const KeyAssignment> keys, const PositionMap& positions,
                                          std::size_t macroCount) {
  return devices::CollectUsedMacros(keys, AssignableKeys(positions), macroCount);
}

}  // namespace norvane::devices::keyboard
