#include "tools/norvanectl/command_words.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace norvane::cli {

CommandWords SplitCommandWords(const std::vector<std::string>& arguments, const std::set<std::string>& valued) {
  CommandWords split;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      split.help = true;
      continue;
    }
    if (argument == "--json") {
      split.json = true;
      continue;
    }
    // A negative number is a word, not an option.
    if (!argument.starts_with("--")) {
      split.words.push_back(argument);
      continue;
    }
    std::string name = argument;
    std::optional<std::string> value;
    if (const std::size_t equals = argument.find('='); equals != std::string::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
    }
    if (name != "--device" && !valued.contains(name)) {
      split.error = "unknown option " + name;
      return split;
    }
    if (!value) {
      if (i + 1 >= arguments.size()) {
        split.error = name + " needs a value";
        return split;
      }
      value = arguments[++i];
    }
    if (name == "--device") {
      split.device = *value;
    } else {
      split.options[name] = *value;
    }
  }
  return split;
}

std::optional<int> WholeNumber(std::string_view text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < low || value > high) return std::nullopt;
  return value;
}

std::optional<unsigned> HexColour(std::string_view text) {
  if (text.starts_with('#')) text.remove_prefix(1);
  if (text.size() != 6) return std::nullopt;
  unsigned value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, 16);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return lower;
}

}  // namespace norvane::cli
