#include "profiles/profile_names.h"

#include <algorithm>

namespace norvane {
namespace {
char FoldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

bool IsNameTaken(const std::vector<std::string>& names, std::string_view candidate) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& name) { return SameNameIgnoringCase(name, candidate); });
}

bool IsBlankName(std::string_view name) {
  return name.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos;
}

std::string NameForNewProfile(const std::vector<std::string>& names) {
  for (int n = 1;; ++n) {
    std::string candidate = "profile" + std::to_string(n);
    if (!IsNameTaken(names, candidate)) return candidate;
  }
}

std::string NameForCopy(std::string_view name, const std::vector<std::string>& names) {
  std::string candidate = std::string(name) + " copy";
  while (IsNameTaken(names, candidate)) candidate += " copy";
  return candidate;
}

std::string NameForImport(std::string_view stem, const std::vector<std::string>& names) {
  std::string candidate(stem);
  for (int n = 1; IsNameTaken(names, candidate); ++n) {
    // Appended piece by piece: gcc 12 at -O3 mistakes `"(" + std::string` for an overflowing copy.
    candidate += '(';
    candidate += std::to_string(n);
    candidate += ')';
  }
  return candidate;
}

}  // namespace norvane
