#include "macro/macro_event.h"

#include <charconv>

#include "profiles/json_access.h"

namespace norvane::macro {
namespace {

std::int64_t DelayOf(const Json::Value& delay) {
  if (delay.isString()) {
    const std::string text = delay.asString();
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return 0;
    std::int64_t value = 0;
    // Text after the digits is ignored; digits beyond 64 bits leave the value at 0.
    std::from_chars(text.data() + start, text.data() + text.size(), value);
    return value;
  }
  return json::ToInteger(delay).value_or(0);
}

}  // namespace

MacroEvent ReadMacroEvent(const Json::Value& object) {
  return {json::ReadString(object, "Action"), json::ReadInteger<int>(object, "Button"),
          DelayOf(json::Member(object, "Delay")), json::ReadInteger<int>(object, "Type")};
}

Json::Value MacroEventJson(const MacroEvent& event) {
  Json::Value object(Json::objectValue);
  object["Action"] = event.action;
  object["Button"] = event.button;
  object["Delay"] = std::to_string(event.delay);
  object["Type"] = event.type;
  return object;
}

MacroEventCode EncodeMacroEvent(const MacroEvent& event) {
  const auto delay = static_cast<std::uint16_t>(static_cast<std::uint64_t>(event.delay));
  const auto type = static_cast<std::uint8_t>(static_cast<unsigned>(event.type) & 0x7F);
  return {static_cast<std::uint8_t>(delay & 0xFF), static_cast<std::uint8_t>(delay >> 8),
          static_cast<std::uint8_t>(type | (event.IsDown() ? 0x80 : 0x00)),
          static_cast<std::uint8_t>(static_cast<unsigned>(event.button) & 0xFF)};
}

MacroEventCode EncodeMacroEvent(const Json::Value& event) {
  return EncodeMacroEvent(ReadMacroEvent(event));
}

std::uint16_t ShownDelay(std::int64_t delay) {
  const auto unsigned_delay = static_cast<std::uint64_t>(delay);
  return unsigned_delay >= 65535 ? std::uint16_t{65535} : static_cast<std::uint16_t>(unsigned_delay);
}

}  // namespace norvane::macro
