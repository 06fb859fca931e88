#pragma once
// The words of one device command as norvanectl and the window's bus method both receive them: the
// command's own words in order, and its options. Options may stand anywhere after the command name.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace norvane::cli {

struct CommandWords {
  std::vector<std::string> words;              // "dpi", "set", "1", "800"
  std::map<std::string, std::string> options;  // "--colour" -> "ff0000" (the name with its dashes)
  std::optional<std::string> device;           // --device KIND|PATH
  bool json = false;
  bool help = false;
  std::string error;  // empty when the words were understood
};

// Splits `arguments`; `valued` names the options that take a value ("--colour"). --device, --json and
// --help are known to every command; "--name=value" is the same as "--name value".
CommandWords SplitCommandWords(const std::vector<std::string>& arguments, const std::set<std::string>& valued);

// A whole decimal number within [low, high]; nullopt for anything else ("08" counts, "8x" and "" do not).
std::optional<int> WholeNumber(std::string_view text, int low, int high);

// "RRGGBB" (a leading '#' allowed, any case) as 0xRRGGBB.
std::optional<unsigned> HexColour(std::string_view text);

std::string Lower(std::string_view text);

}  // namespace norvane::cli
