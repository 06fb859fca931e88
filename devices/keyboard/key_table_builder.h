#pragma once
// The key tables the keyboard receives: one 3-byte code per device position. The main table starts from
// the table last read and renumbers macro assignments to the order in which the macro block will hold them;
// the second table starts from zeros and takes the codes as they are.

#include <cstddef>
#include <span>
#include <vector>

#include "devices/keyboard/key_positions.h"
#include "profiles/profile_records.h"

namespace norvane::devices::keyboard {

// Assignment types that run a macro; data1 is the macro number.
inline bool IsMacroAssignment(const KeyFunction& function) {
  return function.type == 0x70 || function.type == 0x71;
}

struct BuiltKeyTable {
  KeyTable table{};
  std::vector<int> usedMacros;  // macro numbers in the order of their records in the macro block
};

// For UI keys 0..125 that sit on the keyboard: a macro assignment whose number is below macroCount gets the
// macro's place in the used list instead, any other macro assignment falls back to the key's default, and so
// does a function of a type the firmware does not know (a key whose default is unknown too is left as read). Keys
// missing from `keys` and positions whose code would lie beyond `tableBytes` (itself bounded by the table)
// are skipped.
BuiltKeyTable BuildKeyTable(const KeyTable& lastRead, std::size_t tableBytes,
                            std::span<const KeyAssignment> keys, const PositionMap& positions,
                            std::size_t macroCount);

// For UI keys 0..169 that sit on the keyboard, the codes as assigned, over a zeroed table.
KeyTable BuildExtraKeyTable(std::size_t tableBytes, std::span<const KeyAssignment> keys,
                            const PositionMap& positions);

// The distinct macro numbers below macroCount that keys 0..125 on the keyboard use, in order of first use.
std::vector<int> CollectUsedMacros(std::span<const KeyAssignment> keys, const PositionMap& positions,
                                   std::size_t macroCount);

}  // namespace norvane::devices::keyboard
