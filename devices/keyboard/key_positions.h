#pragma once
// Where each key of the page sits on the connected keyboard. Every UI key index 0..169 has a fixed 3-byte
// reference code (the code the key sends when it is not reassigned); the key's device position is the first
// position of the device's key table that holds that code.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "profiles/profile_records.h"

namespace norvane::devices::keyboard {

inline constexpr std::size_t kUiKeys = 170;
inline constexpr std::uint8_t kNoPosition = 255;
inline constexpr std::size_t kCodeSize = 3;
inline constexpr std::size_t kKeyTableSize = 512;
// UI keys 0..125 are the keys that take assignments; the rest only light.
inline constexpr std::size_t kAssignableKeys = 126;

using KeyCode = std::array<std::uint8_t, kCodeSize>;
using KeyTable = std::array<std::uint8_t, kKeyTableSize>;
using PositionMap = std::array<std::uint8_t, kUiKeys>;

// The reference code of a UI key; 20 00 00 for an index beyond the table.
KeyCode ReferenceCode(std::size_t uiKey);

// The UI key to device position maps: `keys` from the key table, `lights` the copy the lighting uses (LED
// index to device position).
struct PositionMaps {
  PositionMap keys{};
  PositionMap lights{};
};

// Builds both maps from the first `positions` entries of the key table; a position count beyond what the
// table holds is cut to it. Keys whose code is not found map to kNoPosition.
PositionMaps BuildPositionMaps(std::span<const std::uint8_t> table, std::size_t positions);

// A key the profile gave another function no longer sends its reference code, so the table read from the
// keyboard does not show where it sits. For each such key (0..125) that BuildPositionMaps left without a
// place, the first position that no key claims and that holds the function the profile gives the key
// becomes its place (a macro function by its type alone: the table numbers macros in its own order), in
// both maps. Keys that have a place keep it.
void CompletePositionMaps(PositionMaps& maps, std::span<const std::uint8_t> table, std::size_t positions,
                          std::span<const KeyAssignment> keys);

// Maps with every key absent.
PositionMaps EmptyPositionMaps();

}  // namespace norvane::devices::keyboard
