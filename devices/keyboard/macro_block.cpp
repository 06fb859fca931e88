#include "devices/keyboard/macro_block.h"

#include <charconv>

#include "platform/xdg_paths.h"
#include "profiles/json_access.h"
#include "profiles/json_file_util.h"

namespace norvane::devices::keyboard {
namespace {

// "Delay" is stored as decimal text or as an integer; both read the same.
std::int64_t DelayOf(const Json::Value& event) {
  const Json::Value& delay = json::Member(event, "Delay");
  if (delay.isString()) {
    const std::string text = delay.asString();
    std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return 0;
    std::int64_t value = 0;
    std::from_chars(text.data() + start, text.data() + text.size(), value);
    return value;
  }
  return json::ToInteger(delay).value_or(0);
}

}  // namespace

MacroEventCode EncodeMacroEvent(const Json::Value& event) {
  const auto delay = static_cast<std::uint16_t>(static_cast<std::uint64_t>(DelayOf(event)));
  const bool down = json::ReadString(event, "Action") == "down";
  const auto type = json::ReadInteger<std::uint8_t>(event, "Type");
  return {static_cast<std::uint8_t>(delay & 0xFF), static_cast<std::uint8_t>(delay >> 8),
          static_cast<std::uint8_t>((type & 0x7F) | (down ? 0x80 : 0x00)),
          json::ReadInteger<std::uint8_t>(event, "Button")};
}

std::vector<MacroEntry> ReadMacroList(const std::filesystem::path& folder) {
  const Json::Value config = JsonFileUtil().ReadJsonValue(folder / "macro.config");
  const Json::Value& info = json::Member(config, "MacroInfo");
  std::vector<MacroEntry> list;
  for (std::int64_t i = 0; i < json::ArraySize(info); ++i) {
    const Json::Value& element = json::Element(info, i);
    list.push_back({json::ReadString(element, "MacroName"), json::ReadString(element, "Guid")});
  }
  return list;
}

Json::Value ReadMacroEvents(const std::filesystem::path& folder, const std::string& guid) {
  if (!IsPlainFileName(guid)) return Json::Value(Json::arrayValue);
  const Json::Value macro = JsonFileUtil().ReadJsonValue(folder / (guid + ".mac"));
  const Json::Value& events = json::Member(macro, "Events");
  return events.isArray() ? events : Json::Value(Json::arrayValue);
}

MacroBlockPlan BuildMacroBlock(const std::filesystem::path& folder, std::span<const MacroEntry> list,
                               std::span<const int> macros, std::size_t capacity) {
  std::vector<macro::EventRecord> records;
  for (const int number : macros) {
    macro::EventRecord& record = records.emplace_back();
    // A number outside the list keeps an empty record, so the others stay where the key table expects them.
    if (number < 0 || static_cast<std::size_t>(number) >= list.size()) continue;
    for (const Json::Value& event : ReadMacroEvents(folder, list[static_cast<std::size_t>(number)].guid)) {
      record.push_back(EncodeMacroEvent(event));
    }
  }
  const std::size_t total = macro::EventBlockSize(records);
  if (total > capacity) return {static_cast<int>((total - capacity) / macro::kEventSize + 1), {}};
  return {0, macro::BuildEventBlock(records)};
}

}  // namespace norvane::devices::keyboard
