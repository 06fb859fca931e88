#pragma once
// The size of the display's screen, for the device settings that depend on it (the mouse's record).

#include <optional>

namespace norvane::cli {

struct DisplaySize {
  int width = 0;
  int height = 0;
};

// The default screen of the X display named by DISPLAY, in pixels; nullopt without a display to ask.
[[nodiscard]] std::optional<DisplaySize> DisplayScreenSize();

}  // namespace norvane::cli
