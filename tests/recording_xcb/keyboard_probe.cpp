#include "tests/recording_xcb/keyboard_probe.h"

#include <X11/Xlib.h>

namespace norvane::test {

bool KeyboardIsFree() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  const int status =
      XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync, CurrentTime);
  if (status == GrabSuccess) XUngrabKeyboard(display, CurrentTime);
  XCloseDisplay(display);
  return status == GrabSuccess;
}

bool DisplayOpens(const char* name) {
  Display* display = XOpenDisplay(name);
  if (display) XCloseDisplay(display);
  return display != nullptr;
}

}  // namespace norvane::test
