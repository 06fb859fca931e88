#pragma once
// Naming rules of a device's macros. Names are unique without regard to letter case (ASCII letters are
// folded, as for profiles).

#include <string>
#include <string_view>
#include <vector>

namespace norvane::macro {

// "macro_" followed by the smallest n >= 1 that no name uses.
[[nodiscard]] std::string NameForNewMacro(const std::vector<std::string>& names);

// The stem as it is; while taken, "_1", then "_2", ... appended to the candidate of the attempt before
// ("walk", "walk_1", "walk_1_2"). A blank stem gives NameForNewMacro.
[[nodiscard]] std::string NameForImportedMacro(std::string_view stem, const std::vector<std::string>& names);

// text without the blanks at either end.
[[nodiscard]] std::string_view TrimBlanks(std::string_view text);

}  // namespace norvane::macro
