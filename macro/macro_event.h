#pragma once
// One step of a macro: what a ".mac" file stores for it and the 4-byte form the devices play back.
//
// In a file an event is an object {"Action": "down"|"up", "Button": n, "Delay": "ms", "Type": n}. "Delay"
// is decimal text in the files this program writes; older files and hand edits may hold an integer, which
// reads the same.

#include <json/json.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "macro/event_block.h"

namespace norvane::macro {

using MacroEventCode = EventCode;

inline constexpr std::string_view kActionDown = "down";
inline constexpr std::string_view kActionUp = "up";

struct MacroEvent {
  std::string action;      // exactly "down" presses (or moves left / up); anything else releases
  int button = 0;          // key usage, modifier bit, mouse button or move distance, by type
  std::int64_t delay = 0;  // milliseconds before the event, as read (may be negative or beyond 16 bits)
  int type = 0;

  [[nodiscard]] bool IsDown() const { return action == kActionDown; }
  friend bool operator==(const MacroEvent&, const MacroEvent&) = default;
};

// The event an object describes. Members of the wrong type read as 0 or empty; a delay that is neither a
// number nor decimal text reads as 0. Never throws.
[[nodiscard]] MacroEvent ReadMacroEvent(const Json::Value& object);

// The object a file stores for the event, with "Delay" as decimal text.
[[nodiscard]] Json::Value MacroEventJson(const MacroEvent& event);

// Delay low byte, delay high byte (only the low 16 bits of the delay are kept), "Type" bits 0..6 with bit 7
// set for a "down" event, "Button" low byte.
[[nodiscard]] MacroEventCode EncodeMacroEvent(const MacroEvent& event);
[[nodiscard]] MacroEventCode EncodeMacroEvent(const Json::Value& event);

// The delay the editor shows: anything that is 65535 or more as an unsigned number (negative delays
// included) shows as 65535.
[[nodiscard]] std::uint16_t ShownDelay(std::int64_t delay);

}  // namespace norvane::macro
