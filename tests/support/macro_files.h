#pragma once
// A device folder's macros for tests: "macro.config" and one ".mac" file per macro, macro m holding
// `events[m]` key events (presses and releases of key usage 4 + m, delays 300, 301, ... as decimal text).

#include <filesystem>
#include <string>
#include <vector>

#include "profiles/json_file_util.h"

namespace norvane::testing {

inline void WriteMacroFiles(const std::filesystem::path& folder, const std::vector<int>& events) {
  Json::Value config;
  for (std::size_t m = 0; m < events.size(); ++m) {
    const std::string guid = "2026_01_01_00_00_00_00" + std::to_string(m);
    Json::Value entry;
    entry["Guid"] = guid;
    entry["MacroName"] = "macro_" + std::to_string(m + 1);
    config["MacroInfo"].append(entry);
    Json::Value macro;
    for (int e = 0; e < events[m]; ++e) {
      Json::Value event;
      event["Action"] = e % 2 == 0 ? "down" : "up";
      event["Button"] = 4 + static_cast<int>(m);
      event["Delay"] = std::to_string(300 + e);
      event["Type"] = 10;
      macro["Events"].append(event);
    }
    macro["Guid"] = guid;
    JsonFileUtil().WriteJsonValue(folder / (guid + ".mac"), macro);
  }
  JsonFileUtil().WriteJsonValue(folder / "macro.config", config);
}

}  // namespace norvane::testing
