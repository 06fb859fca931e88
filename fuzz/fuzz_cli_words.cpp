// norvanectl's readers of what users and the skin hand it: the language file's texts (by which keys are
// known by their captions) and the key function spellings.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/norvanectl/english_texts.h"
#include "tools/norvanectl/key_spelling.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const norvane::cli::TextTable texts = norvane::cli::ParseLanguageTexts(text);
  const std::vector<std::string> macros = {"Reload", std::string(text.substr(0, 8))};
  const norvane::cli::ParsedFunction parsed = norvane::cli::ParseKeyFunction(text, {.mouse = size % 2 == 0, .macros = macros});
  if (parsed.function) {
    const std::string spelled = norvane::cli::SpellKeyFunction(*parsed.function, macros);
    if (spelled.empty()) __builtin_trap();
  }
  return static_cast<int>(texts.size() > 1000000);
}
