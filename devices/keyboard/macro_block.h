#pragma once
// The macro block the keyboard stores: its macros' events in the device's 4-byte form, read from the
// device folder's "macro.config" and the macros' ".mac" files, laid out as the event block of
// macro/event_block.h (one record per macro).

#include <json/json.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "macro/event_block.h"

namespace norvane::devices::keyboard {

using MacroEventCode = macro::EventCode;

// Delay (low 16 bits, little-endian), "Type" in bits 0..6 with bit 7 for "Action" exactly "down", "Button".
MacroEventCode EncodeMacroEvent(const Json::Value& event);

struct MacroEntry {
  std::string name;
  std::string guid;
};

// "MacroInfo" of "macro.config" in folder; empty when the file is missing or damaged.
std::vector<MacroEntry> ReadMacroList(const std::filesystem::path& folder);

// The "Events" of the macro's ".mac" file; empty when the identifier is not a plain name or the file is
// missing or damaged.
Json::Value ReadMacroEvents(const std::filesystem::path& folder, const std::string& guid);

struct MacroBlockPlan {
  // 0: `block` holds the block; above 0: the block does not fit, this many events must go plus one.
  int result = 0;
  std::vector<std::uint8_t> block;
};

// Builds the block of the macros numbered `macros` (positions in `list`). A number outside the list gives
// an empty record, so the records of the others stay where the key table expects them.
MacroBlockPlan BuildMacroBlock(const std::filesystem::path& folder, std::span<const MacroEntry> list,
                               std::span<const int> macros, std::size_t capacity);

}  // namespace norvane::devices::keyboard
