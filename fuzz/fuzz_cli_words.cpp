// norvanectl's readers of what users and the skin hand it: the language file's texts (by which keys are
// known by their captions), the key function spellings, and a command's words and options (which the
// window's bus method receives as well), with the numbers and colours inside them.
// libFuzzer: -max_len=2048
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_require.h"
#include "tools/norvanectl/command_words.h"
#include "tools/norvanectl/english_texts.h"
#include "tools/norvanectl/key_spelling.h"

using norvane::fuzz::Require;

namespace {

// The bytes as arguments, split at every NUL as a command line arrives.
std::vector<std::string> Arguments(std::string_view text) {
  std::vector<std::string> arguments;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\0', start), text.size());
    arguments.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const norvane::cli::TextTable texts = norvane::cli::ParseLanguageTexts(text);
  (void)texts;
  const std::vector<std::string> macros = {"Reload", std::string(text.substr(0, 8))};
  const norvane::cli::ParsedFunction parsed =
      norvane::cli::ParseKeyFunction(text, {.mouse = size % 2 == 0, .macros = macros});
  if (parsed.function) Require(!norvane::cli::SpellKeyFunction(*parsed.function, macros).empty());

  const std::vector<std::string> arguments = Arguments(text);
  const norvane::cli::CommandWords words = norvane::cli::SplitCommandWords(arguments, {"--colour", "--file"});
  if (words.error.empty()) Require(words.words.size() <= arguments.size());
  for (const std::string& argument : arguments) {
    if (const auto number = norvane::cli::WholeNumber(argument, -5, 26000)) Require(*number >= -5 && *number <= 26000);
    if (const auto colour = norvane::cli::HexColour(argument)) Require(*colour <= 0xFFFFFF);
  }
  return 0;
}
