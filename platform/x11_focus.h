#pragma once
// Follows which process owns the window that has the focus on an X11 desktop: the window manager names the
// active window in the root window's _NET_ACTIVE_WINDOW, and a window names its process in _NET_WM_PID.
// Changes arrive as property-change events on the root window; nothing is polled.
//
// The follower has its own connection to the X server. Its owner watches Fd() in its event loop and calls
// Dispatch() when it is readable; the listener is called from Dispatch().
//
// Without a window manager that keeps _NET_ACTIVE_WINDOW (a bare X server) the focus cannot be known; the
// follower says so and starts following once such a window manager appears.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct xcb_connection_t;

namespace norvane {

class X11FocusFollower {
 public:
  enum class State {
    kNoDisplay,        // no X server to talk to
    kNoWindowManager,  // the X server runs no window manager that names the active window
    kFollowing,
  };

  // Told the focused process (nothing: no window, or a window without a process id) and the state, each
  // time either changes.
  using Listener = std::function<void(State state, std::optional<int> pid)>;

  // Connects to `display` (empty: $DISPLAY).
  explicit X11FocusFollower(const std::string& display = {});
  ~X11FocusFollower();
  X11FocusFollower(const X11FocusFollower&) = delete;
  X11FocusFollower& operator=(const X11FocusFollower&) = delete;

  void SetListener(Listener listener) { listener_ = std::move(listener); }

  State GetState() const { return state_; }
  std::optional<int> FocusedPid() const { return pid_; }
  // The connection's file descriptor; -1 without a display.
  int Fd() const;
  // Reads every event that has arrived and tells the listener what changed.
  void Dispatch();

 private:
  using Atom = std::uint32_t;
  using Window = std::uint32_t;

  void Refresh();
  bool WindowManagerNamesActiveWindow();
  std::optional<Window> ReadWindowProperty(Window window, Atom property);
  std::optional<std::uint32_t> ReadCardinal(Window window, Atom property);
  Atom Intern(const char* name);

  xcb_connection_t* connection_ = nullptr;
  Window root_ = 0;
  Atom activeWindow_ = 0;
  Atom wmPid_ = 0;
  Atom supported_ = 0;
  Atom supportingCheck_ = 0;
  State state_ = State::kNoDisplay;
  std::optional<int> pid_;
  Listener listener_;
};

}  // namespace norvane
