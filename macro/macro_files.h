#pragma once
// The macro files of a device folder, as every device kind reads them: "macro.config" lists the macros
// ({"MacroInfo": [{"Guid": id, "MacroName": name}, ...]}) and each macro's events live in "<Guid>.mac"
// ({"Events": [...], "Guid": id, "MacroName": name, "Version": 64}). A macro is known by its position in
// the list; keys refer to macros by that number.
//
// A "Guid" comes from a file and names a file, so it is only used as a plain file name: an entry whose
// identifier is not one is listed but reads as empty.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "macro/macro_event.h"

namespace norvane::macro {

inline constexpr std::string_view kMacroListFileName = "macro.config";
inline constexpr std::string_view kMacroFileExtension = ".mac";
inline constexpr int kMacroFileVersion = 64;
// A device folder holds at most this many macros; entries past it in a list file are not read.
inline constexpr std::size_t kMaxMacros = 50;

struct MacroEntry {
  std::string name;
  std::string guid;
  friend bool operator==(const MacroEntry&, const MacroEntry&) = default;
};

// The first kMaxMacros entries of "MacroInfo" in "macro.config" of folder, in order; empty when the file
// is missing or damaged.
[[nodiscard]] std::vector<MacroEntry> ReadMacroList(const std::filesystem::path& folder);

// The same from the list file's text.
[[nodiscard]] std::vector<MacroEntry> ParseMacroList(std::string_view text);

// The file of a macro; empty when guid is not a plain file name.
[[nodiscard]] std::filesystem::path MacroFilePath(const std::filesystem::path& folder, std::string_view guid);

// The events of the macro's file. Elements that are not objects are skipped; a missing or damaged file, a
// "Events" that is not an array or an unsafe identifier give none.
[[nodiscard]] std::vector<MacroEvent> ReadMacroEvents(const std::filesystem::path& folder,
                                                      std::string_view guid);
// The events of a macro file's text.
[[nodiscard]] std::vector<MacroEvent> ParseMacroEvents(std::string_view text);

}  // namespace norvane::macro
