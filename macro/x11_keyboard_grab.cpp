#include "macro/x11_keyboard_grab.h"

#include <X11/Xlib.h>

#include "platform/trace.h"

namespace norvane::macro {

X11KeyboardGrab::X11KeyboardGrab(std::string displayName) : displayName_(std::move(displayName)) {}

X11KeyboardGrab::~X11KeyboardGrab() {
  {
    std::lock_guard lock(mutex_);
    stopWatchdog_ = true;
  }
  wake_.notify_all();
  if (watchdog_.joinable()) watchdog_.join();
  Release();
}

X11KeyboardGrab::Result X11KeyboardGrab::Acquire() {
  std::lock_guard lock(mutex_);
  if (held_) return Result::kGrabbed;
  if (!display_) {
    display_ = XOpenDisplay(displayName_.empty() ? nullptr : displayName_.c_str());
    if (!display_) return Result::kFailed;
    guard_.Watch(display_);
  }
  const int status = XGrabKeyboard(display_, DefaultRootWindow(display_), False, GrabModeAsync, GrabModeAsync,
                                   CurrentTime);
  XSync(display_, False);
  if (guard_.Failed()) {
    ReleaseLocked();
    return Result::kFailed;
  }
  if (status == AlreadyGrabbed || status == GrabFrozen) return Result::kBusy;
  if (status != GrabSuccess) return Result::kFailed;
  held_ = true;
  releasedByWatchdog_ = false;
  lastBeat_ = std::chrono::steady_clock::now();
  return Result::kGrabbed;
}

void X11KeyboardGrab::Release() {
  std::lock_guard lock(mutex_);
  ReleaseLocked();
}

void X11KeyboardGrab::ReleaseLocked() {
  if (!display_) return;
  if (held_ && !guard_.Failed()) {
    XUngrabKeyboard(display_, CurrentTime);
    XSync(display_, False);
  }
  held_ = false;
  guard_.Close();
  display_ = nullptr;
}

bool X11KeyboardGrab::IsHeld() const {
  std::lock_guard lock(mutex_);
  return held_;
}

bool X11KeyboardGrab::ReleasedByWatchdog() const {
  std::lock_guard lock(mutex_);
  return releasedByWatchdog_;
}

void X11KeyboardGrab::Beat() {
  std::lock_guard lock(mutex_);
  lastBeat_ = std::chrono::steady_clock::now();
}

void X11KeyboardGrab::StartWatchdog(std::chrono::milliseconds timeout) {
  std::lock_guard lock(mutex_);
  timeout_ = timeout;
  lastBeat_ = std::chrono::steady_clock::now();
  if (!watchdog_.joinable()) watchdog_ = std::thread([this] { Watch(); });
}

void X11KeyboardGrab::Watch() {
  std::unique_lock lock(mutex_);
  while (!stopWatchdog_) {
    wake_.wait_for(lock, timeout_ / 4);
    if (stopWatchdog_) break;
    if (held_ && std::chrono::steady_clock::now() - lastBeat_ > timeout_) {
      Trace("recording: the program stopped answering; the keyboard is let go");
      ReleaseLocked();
      releasedByWatchdog_ = true;
    }
  }
}

}  // namespace norvane::macro
