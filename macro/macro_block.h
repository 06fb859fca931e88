#pragma once
// The macro block a keyboard or a mouse stores: its macros' events in the device's 4-byte form, read from
// the device folder's macro files (macro_files.h), laid out as the event block of event_block.h (one record
// per macro).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "macro/macro_files.h"

namespace norvane::macro {

struct MacroBlockPlan {
  // 0: `block` holds the block; above 0: the block does not fit, this many events must go plus one.
  int result = 0;
  std::vector<std::uint8_t> block;
};

// Builds the block of the macros numbered `macros` (positions in `list`). A number outside the list gives
// an empty record, so the records of the others stay where the key table expects them.
[[nodiscard]] MacroBlockPlan BuildMacroBlock(const std::filesystem::path& folder,
                                             std::span<const MacroEntry> list,
                                             std::span<const int> macros, std::size_t capacity);

}  // namespace norvane::macro
