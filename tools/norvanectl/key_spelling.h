#pragma once
// How norvanectl spells a key function: "keyboard:ctrl+c", "mouse:back", "media:volume-up",
// "macro:NAME" and the others listed by KeyFunctionSpellings(). Scripts depend on these spellings.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/profile_records.h"

namespace norvane::cli {

struct SpellingContext {
  bool mouse = false;                    // DPI steps are a mouse's; a keyboard refuses them
  std::span<const std::string> macros;   // the device's macro names, in macro order
};

struct ParsedFunction {
  std::optional<KeyFunction> function;  // nullopt with an empty error: the key's own default
  std::string error;                    // why the spelling was refused
};

[[nodiscard]] ParsedFunction ParseKeyFunction(std::string_view spelling, const SpellingContext& context);

// The spelling of a function, as ParseKeyFunction takes it back; "type TT data DD DD" (hexadecimal) for a
// function without one.
[[nodiscard]] std::string SpellKeyFunction(KeyFunction function, std::span<const std::string> macros);

// The text of `key set --help` that lists the spellings.
[[nodiscard]] std::string KeyFunctionSpellings();

}  // namespace norvane::cli
