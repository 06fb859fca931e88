#pragma once
// The X server's own answer about its screen, asked apart from the code under test (Xlib's macros stay in
// its source file).

#include <optional>
#include <string>
#include <utility>

namespace norvane::cli::testing {

// Width and height of the default screen of `display`; nullopt when it cannot be opened.
std::optional<std::pair<int, int>> XScreenSize(const std::string& display);

}  // namespace norvane::cli::testing
