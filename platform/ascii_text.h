#pragma once
// Small text rules shared by the readers of settings files and network answers: blanks at the ends and
// ASCII letters compared without regard to case (names and markers are ASCII; other bytes compare as they
// stand).

#include <string_view>

namespace norvane {

// `text` without the spaces, tabs and carriage returns at either end.
[[nodiscard]] std::string_view TrimBlanks(std::string_view text);

[[nodiscard]] bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
[[nodiscard]] bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

}  // namespace norvane
