#include "tools/norvanectl/display_size.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <memory>

namespace norvane::cli {

std::optional<DisplaySize> DisplayScreenSize() {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return std::nullopt;
  const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(name), XCloseDisplay);
  if (!display) return std::nullopt;
  const int screen = DefaultScreen(display.get());
  const DisplaySize size{DisplayWidth(display.get(), screen), DisplayHeight(display.get(), screen)};
  if (size.width <= 0 || size.height <= 0) return std::nullopt;
  return size;
}

}  // namespace norvane::cli
