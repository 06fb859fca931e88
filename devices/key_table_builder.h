#pragma once
// The key table a keyboard or a mouse receives: one 3-byte code per device position. It starts from the
// table last read and renumbers macro assignments to the order in which the macro block will hold them, so
// the keys and the block agree.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "profiles/profile_records.h"

namespace norvane::devices {

inline constexpr std::size_t kKeyCodeSize = 3;
inline constexpr std::size_t kKeyTableBytes = 512;
using KeyTableBytes = std::array<std::uint8_t, kKeyTableBytes>;

// Assignment types that run a macro; data1 is the macro number.
inline bool IsMacroAssignment(const KeyFunction& function) {
  return function.type == 0x70 || function.type == 0x71;
}

// Where the UI keys sit on the device: entry i is UI key i's device position, `none` for a key the device
// does not have. Keys past the end of `positions` take no part.
struct KeyPlaces {
  std::span<const std::uint8_t> positions;
  std::uint8_t none = 0xFF;
};

struct BuiltKeyTable {
  KeyTableBytes table{};
  std::vector<int> usedMacros;  // macro numbers in the order of their records in the macro block
};

// For every UI key on the device: a macro assignment whose number is below macroCount gets the macro's
// place in the used list instead, any other macro assignment falls back to the key's default, and so does
// a function of a type the firmware does not know (a key whose default is unknown too is left as read).
// Keys missing from `keys` and positions whose code would lie beyond `tableBytes` (itself bounded by the
// table) are skipped.
[[nodiscard]] BuiltKeyTable BuildKeyTable(const KeyTableBytes& lastRead, std::size_t tableBytes,
                                          std::span<const KeyAssignment> keys, KeyPlaces places,
                                          std::size_t macroCount);

// The distinct macro numbers below macroCount that keys on the device use, in order of first use.
[[nodiscard]] std::vector<int> CollectUsedMacros(std::span<const KeyAssignment> keys, KeyPlaces places,
                                                 std::size_t macroCount);

// A key the profile gave another function no longer holds its reference code in the device's table, so
// the table does not show where it sits. For each key of `places` still at `none`, the first of the first
// `positions` table positions that no key claims and that holds the function the profile gives the key
// becomes its place (a macro function by its type alone: the table numbers macros in its own order). Keys
// that have a place keep it; `keys` is by UI index, like `places`. A key's entry in `preferred` (where it
// was last known to sit, `none` for unknown) is tried before any other position: when two keys hold one
// function, the table alone does not tell which position is whose.
void PlaceReassignedKeys(std::span<std::uint8_t> places, std::uint8_t none,
                         std::span<const std::uint8_t> table, std::size_t positions,
                         std::span<const KeyAssignment> keys, std::span<const std::uint8_t> preferred = {});

// The table byte where a key's code starts, when the key is on the device and its code fits the table.
[[nodiscard]] std::optional<std::size_t> KeyCodeOffset(KeyPlaces places, std::size_t key,
                                                       std::size_t tableBytes);

// Writes a function's three code bytes at `offset`.
void PutKeyCode(KeyTableBytes& table, std::size_t offset, const KeyFunction& function);

}  // namespace norvane::devices
