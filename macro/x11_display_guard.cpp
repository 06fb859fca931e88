#include "macro/x11_display_guard.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace norvane::macro {

namespace {

std::mutex g_mutex;
std::vector<std::pair<Display*, X11DisplayGuard*>> g_watched;
XIOErrorHandler g_previousIo = nullptr;
XErrorHandler g_previousError = nullptr;

X11DisplayGuard* GuardOf(Display* display) {
  std::lock_guard lock(g_mutex);
  const auto it = std::find_if(g_watched.begin(), g_watched.end(), [&](const auto& w) { return w.first == display; });
  return it == g_watched.end() ? nullptr : it->second;
}

// The process-wide I/O error handler. The library's own one never returns (it ends the process), so ours
// returns for our connections and hands the others on.
int OnIoError(Display* display) {
  if (X11DisplayGuard* guard = GuardOf(display)) {
    guard->NoteFailure();
    return 0;
  }
  return g_previousIo ? g_previousIo(display) : 0;
}

int OnProtocolError(Display* display, XErrorEvent* error) {
  if (X11DisplayGuard* guard = GuardOf(display)) {
    guard->NoteProtocolError();
    return 0;
  }
  return g_previousError ? g_previousError(display, error) : 0;
}

// Called after the I/O error handler; by default it ends the process.
void OnIoErrorExit(Display* display, void*) {
  if (X11DisplayGuard* guard = GuardOf(display)) guard->NoteFailure();
}

}  // namespace

X11DisplayGuard::~X11DisplayGuard() {
  Release();
}

void X11DisplayGuard::Watch(Display* display) {
  Release();
  if (!display) return;
  {
    std::lock_guard lock(g_mutex);
    // Installed again whenever someone else took the handlers over since.
    if (XIOErrorHandler old = XSetIOErrorHandler(OnIoError); old != OnIoError) g_previousIo = old;
    if (XErrorHandler old = XSetErrorHandler(OnProtocolError); old != OnProtocolError) g_previousError = old;
    g_watched.emplace_back(display, this);
  }
  display_ = display;
  failed_ = false;
  XSetIOErrorExitHandler(display, OnIoErrorExit, nullptr);
}

void X11DisplayGuard::Close() {
  Display* display = display_;
  if (!display) return;
  if (failed_) {
    ::close(ConnectionNumber(display));
  } else {
    // Closing may report an error of its own: the guard still watches meanwhile.
    XCloseDisplay(display);
  }
  Release();
}

void X11DisplayGuard::Release() {
  if (!display_) return;
  std::lock_guard lock(g_mutex);
  std::erase_if(g_watched, [&](const auto& w) { return w.second == this; });
  display_ = nullptr;
}

}  // namespace norvane::macro
