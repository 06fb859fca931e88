#include "macro/macro_files.h"

#include <algorithm>

#include "platform/xdg_paths.h"
#include "profiles/json_access.h"
#include "profiles/json_file_util.h"

namespace norvane::macro {

std::vector<MacroEntry> ReadMacroList(const std::filesystem::path& folder) {
  return ParseMacroList(JsonFileUtil().readjsonFile(folder / kMacroListFileName));
}

std::vector<MacroEntry> ParseMacroList(std::string_view text) {
  const Json::Value config = JsonFileUtil::ParseJson(text);
  const Json::Value& info = json::Member(config, "MacroInfo");
  std::vector<MacroEntry> list;
  const std::int64_t count = std::min<std::int64_t>(json::ArraySize(info), kMaxMacros);
  for (std::int64_t i = 0; i < count; ++i) {
    const Json::Value& element = json::Element(info, i);
    list.push_back({json::ReadString(element, "MacroName"), json::ReadString(element, "Guid")});
  }
  return list;
}

std::filesystem::path MacroFilePath(const std::filesystem::path& folder, std::string_view guid) {
  if (!IsPlainFileName(guid)) return {};
  std::string name(guid);
  name += kMacroFileExtension;
  return folder / name;
}

std::vector<MacroEvent> ReadMacroEvents(const std::filesystem::path& folder, std::string_view guid) {
  const std::filesystem::path path = MacroFilePath(folder, guid);
  if (path.empty()) return {};
  return ParseMacroEvents(JsonFileUtil().readjsonFile(path));
}

std::vector<MacroEvent> ParseMacroEvents(std::string_view text) {
  const Json::Value macro = JsonFileUtil::ParseJson(text);
  const Json::Value& events = json::Member(macro, "Events");
  std::vector<MacroEvent> read;
  for (std::int64_t i = 0; i < json::ArraySize(events); ++i) {
    const Json::Value& event = json::Element(events, i);
    if (event.isObject()) read.push_back(ReadMacroEvent(event));
  }
  return read;
}

}  // namespace norvane::macro
