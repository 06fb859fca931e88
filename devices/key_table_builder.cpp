#include "devices/key_table_builder.h"

#include <algorithm>

#include "macro/key_tables.h"

namespace norvane::devices {
namespace {

// The place of `macro` in `used`, appending it when new.
std::size_t PlaceOf(std::vector<int>& used, int macro) {
  const auto found = std::find(used.begin(), used.end(), macro);
  if (found != used.end()) return static_cast<std::size_t>(found - used.begin());
  used.push_back(macro);
  return used.size() - 1;
}

}  // namespace

std::optional<std::size_t> KeyCodeOffset(KeyPlaces places, std::size_t key, std::size_t tableBytes) {
  if (key >= places.positions.size() || places.positions[key] == places.none) return std::nullopt;
  const std::size_t offset = kKeyCodeSize * places.positions[key];
  if (offset + kKeyCodeSize > std::min(tableBytes, kKeyTableBytes)) return std::nullopt;
  return offset;
}

void PutKeyCode(KeyTableBytes& table, std::size_t offset, const KeyFunction& function) {
  table[offset] = function.type;
  table[offset + 1] = function.data1;
  table[offset + 2] = function.data2;
}

BuiltKeyTable BuildKeyTable(const KeyTableBytes& lastRead, std::size_t tableBytes,
                            std::span<const KeyAssignment> keys, KeyPlaces places, std::size_t macroCount) {
  BuiltKeyTable built;
  built.table = lastRead;
  const std::size_t count = std::min(keys.size(), places.positions.size());
  for (std::size_t key = 0; key < count; ++key) {
    const auto offset = KeyCodeOffset(places, key, tableBytes);
    if (!offset) continue;
    KeyFunction function = keys[key].current;
    // A profile is a file anyone can edit: a type the firmware does not know goes back to the key's default,
    // and a key with no usable function keeps what the device holds.
    if (!macro::IsKnownFunctionType(function.type)) function = keys[key].default_function;
    if (!macro::IsKnownFunctionType(function.type)) continue;
    if (IsMacroAssignment(function)) {
      if (function.data1 < macroCount) {
        function.data1 = static_cast<std::uint8_t>(PlaceOf(built.usedMacros, function.data1));
      } else {
        function = keys[key].default_function;
      }
    }
    PutKeyCode(built.table, *offset, function);
  }
  return built;
}

std::vector<int> CollectUsedMacros(std::span<const KeyAssignment> keys, KeyPlaces places,
                                   std::size_t macroCount) {
  std::vector<int> used;
  const std::size_t count = std::min(keys.size(), places.positions.size());
  for (std::size_t key = 0; key < count; ++key) {
    if (places.positions[key] == places.none) continue;
    const KeyFunction& function = keys[key].current;
    if (IsMacroAssignment(function) && function.data1 < macroCount) PlaceOf(used, function.data1);
  }
  return used;
}

void PlaceReassignedKeys(std::span<std::uint8_t> places, std::uint8_t none,
                         std::span<const std::uint8_t> table, std::size_t positions,
                         std::span<const KeyAssignment> keys, std::span<const std::uint8_t> preferred) {
  positions = std::min({positions, table.size() / kKeyCodeSize, std::size_t{255}});
  std::vector<bool> claimed(positions, false);
  for (const std::uint8_t place : places) {
    if (place != none && place < positions) claimed[place] = true;
  }
  // A macro function by its type alone: the table numbers macros in its own order.
  const auto holds = [&](std::size_t p, const KeyFunction& function) {
    const std::uint8_t* code = table.data() + kKeyCodeSize * p;
    return code[0] == function.type &&
           (IsMacroAssignment(function) || (code[1] == function.data1 && code[2] == function.data2));
  };
  const auto place = [&](std::size_t key, std::size_t p) {
    claimed[p] = true;
    places[key] = static_cast<std::uint8_t>(p);
  };
  const std::size_t count = std::min(keys.size(), places.size());
  for (std::size_t key = 0; key < std::min(count, preferred.size()); ++key) {
    const std::size_t p = preferred[key];
    if (places[key] == none && p != none && p < positions && !claimed[p] && holds(p, keys[key].current))
      place(key, p);
  }
  for (std::size_t key = 0; key < count; ++key) {
    if (places[key] != none) continue;
    for (std::size_t p = 0; p < positions; ++p) {
      if (claimed[p] || !holds(p, keys[key].current)) continue;
      place(key, p);
      break;
    }
  }
}

}  // namespace norvane::devices
