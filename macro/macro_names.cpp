#include "macro/macro_names.h"

#include "profiles/profile_names.h"

namespace norvane::macro {
namespace {
constexpr std::string_view kBlanks = " \t\r\n\v\f";
}  // namespace

std::string NameForNewMacro(const std::vector<std::string>& names) {
  for (int n = 1;; ++n) {
    std::string candidate = "macro_" + std::to_string(n);
    if (!IsNameTaken(names, candidate)) return candidate;
  }
}

std::string NameForImportedMacro(std::string_view stem, const std::vector<std::string>& names) {
  if (IsBlankName(stem)) return NameForNewMacro(names);
  std::string candidate(stem);
  for (int attempt = 1; IsNameTaken(names, candidate); ++attempt) {
    candidate += '_';
    candidate += std::to_string(attempt);
  }
  return candidate;
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace norvane::macro
