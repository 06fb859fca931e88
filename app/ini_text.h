#pragma once
// Small edits of INI text ("[SECTION]" lines, "KEY=value" lines) as the program's "main.ini" uses it. Pure
// text in, text out, so the file write around it can stay atomic.

#include <string>
#include <string_view>

namespace norvane::app {

// `text` with `key` in `section` set to `value`: an existing key (names compared without regard to case)
// keeps its place, a missing key is added at the end of its section, a missing section at the end of the
// text. Every other line is kept as it was. Line breaks in `value` become spaces, so one value stays one
// line.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace norvane::app
