#pragma once
// Keeps an X display connection of ours from ending the process. The X library ends a program whose
// display goes away (an I/O error) and, by default, one that gets a protocol error; for the connections
// a guard watches, both are noted instead and the owner asks Failed() and stops using the connection.
// Connections of others (Qt's own) keep the handling they had.

#include <atomic>

typedef struct _XDisplay Display;

namespace norvane::macro {

class X11DisplayGuard {
 public:
  X11DisplayGuard() = default;
  ~X11DisplayGuard();
  X11DisplayGuard(const X11DisplayGuard&) = delete;
  X11DisplayGuard& operator=(const X11DisplayGuard&) = delete;

  // Watches display from now on (one display per guard).
  void Watch(Display* display);
  // Closes the display and stops watching it. A display that went away is not closed through the X
  // library, whose close can wait for ever on a connection that broke under another thread: its socket is
  // closed and the library's small record of it is left behind.
  void Close();
  // Stops watching without closing.
  void Release();
  // The display went away: nothing more can be done with it but closing it.
  bool Failed() const { return failed_; }
  // A request on the display was refused since Watch (or the last call).
  bool TakeProtocolError() { return protocolError_.exchange(false); }

  // The handlers' side.
  void NoteFailure() { failed_ = true; }
  void NoteProtocolError() { protocolError_ = true; }

 private:
  Display* display_ = nullptr;
  std::atomic<bool> failed_{false};
  std::atomic<bool> protocolError_{false};
};

}  // namespace norvane::macro
