#pragma once
// Naming rules of the profile list. Profile names are unique among a device's profiles without regard to
// letter case (ASCII letters are folded; other scripts compare exactly).

#include <string>
#include <string_view>
#include <vector>

namespace norvane {

bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// True when some name in names equals candidate, ignoring case.
bool IsNameTaken(const std::vector<std::string>& names, std::string_view candidate);

// Empty, or only white space.
bool IsBlankName(std::string_view name);

// "profile" followed by the smallest n >= 1 that no name uses.
std::string NameForNewProfile(const std::vector<std::string>& names);

// "<name> copy", then "<name> copy copy", ... until unused.
std::string NameForCopy(std::string_view name, const std::vector<std::string>& names);

// The stem as it is, or with "(1)", then "(1)(2)", ... appended until unused.
std::string NameForImport(std::string_view stem, const std::vector<std::string>& names);

}  // namespace norvane
