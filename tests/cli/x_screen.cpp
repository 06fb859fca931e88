#include "tests/cli/x_screen.h"

#include <X11/Xlib.h>

namespace norvane::cli::testing {

std::optional<std::pair<int, int>> XScreenSize(const std::string& display) {
  Display* x = XOpenDisplay(display.c_str());
  if (x == nullptr) return std::nullopt;
  const std::pair<int, int> size{DisplayWidth(x, DefaultScreen(x)), DisplayHeight(x, DefaultScreen(x))};
  XCloseDisplay(x);
  return size;
}

}  // namespace norvane::cli::testing
