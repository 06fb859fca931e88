#pragma once
// Holds the X keyboard while a macro is recorded, so that what the user types goes into the macro and
// into no program (the lock keys still lock: the server keeps their state itself). The grab belongs to a
// connection of its own: the pointer stays free, so the stop button can be clicked, and the server drops
// the grab with the connection should the program end or crash.
//
// A watchdog thread lets go of the keyboard when the thread that holds it stops answering (no Beat for
// the timeout): a program that hangs must not leave the user without a keyboard.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "macro/x11_display_guard.h"

namespace norvane::macro {

class X11KeyboardGrab {
 public:
  enum class Result {
    kGrabbed,
    kBusy,    // another client holds a grab (an open menu, say): try again in a moment
    kFailed,  // no display, or the server refused
  };

  explicit X11KeyboardGrab(std::string displayName = {});
  ~X11KeyboardGrab();
  X11KeyboardGrab(const X11KeyboardGrab&) = delete;
  X11KeyboardGrab& operator=(const X11KeyboardGrab&) = delete;

  [[nodiscard]] Result Acquire();
  // Lets go of the keyboard and closes the connection. Safe to call at any time.
  void Release();
  bool IsHeld() const;

  // Starts the watchdog for the grab held now (or the next one).
  void StartWatchdog(std::chrono::milliseconds timeout);
  // The holder is alive.
  void Beat();
  // The watchdog let go of the keyboard since the last Acquire.
  bool ReleasedByWatchdog() const;

 private:
  void Watch();
  void ReleaseLocked();

  std::string displayName_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  Display* display_ = nullptr;
  X11DisplayGuard guard_;
  bool held_ = false;
  bool releasedByWatchdog_ = false;
  bool stopWatchdog_ = false;
  std::chrono::milliseconds timeout_{0};
  std::chrono::steady_clock::time_point lastBeat_;
  std::thread watchdog_;
};

}  // namespace norvane::macro
