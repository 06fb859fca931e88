// Holds the X keyboard as a recording does, says so on its output, and waits to be killed.
#include <unistd.h>

#include <cstdio>

#include "macro/x11_keyboard_grab.h"

int main() {
  norvane::macro::X11KeyboardGrab grab;
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (grab.Acquire() == norvane::macro::X11KeyboardGrab::Result::kGrabbed) {
      std::printf("held\n");
      std::fflush(stdout);
      for (;;) pause();
    }
    usleep(20000);
  }
  std::printf("not held\n");
  return 1;
}
