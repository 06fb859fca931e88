#include "platform/x11_focus.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/trace.h"

namespace norvane {
namespace {

struct FreeDeleter {
  void operator()(void* pointer) const { std::free(pointer); }
};
template <class T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

// Property values we read are one window or one number; a longer list (_NET_SUPPORTED) is read whole.
constexpr std::uint32_t kMaxPropertyWords = 4096;

}  // namespace

X11FocusFollower::X11FocusFollower(const std::string& display) {
  int screenNumber = 0;
  connection_ = xcb_connect(display.empty() ? nullptr : display.c_str(), &screenNumber);
  if (xcb_connection_has_error(connection_)) {
    xcb_disconnect(connection_);
    connection_ = nullptr;
    Trace("focus follower: no X display");
    return;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
  for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
  if (screens.rem == 0) {
    xcb_disconnect(connection_);
    connection_ = nullptr;
    return;
  }
  root_ = screens.data->root;
  activeWindow_ = Intern("_NET_ACTIVE_WINDOW");
  wmPid_ = Intern("_NET_WM_PID");
  supported_ = Intern("_NET_SUPPORTED");
  supportingCheck_ = Intern("_NET_SUPPORTING_WM_CHECK");
  const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(connection_);
  state_ = State::kNoWindowManager;
  Refresh();
}

X11FocusFollower::~X11FocusFollower() {
  if (connection_) xcb_disconnect(connection_);
}

int X11FocusFollower::Fd() const {
  return connection_ ? xcb_get_file_descriptor(connection_) : -1;
}

X11FocusFollower::Atom X11FocusFollower::Intern(const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection_, cookie, nullptr));
  return reply ? reply->atom : Atom{XCB_ATOM_NONE};
}

std::optional<X11FocusFollower::Window> X11FocusFollower::ReadWindowProperty(Window window, Atom property) {
  const xcb_get_property_cookie_t cookie =
      xcb_get_property(connection_, 0, window, property, XCB_ATOM_WINDOW, 0, 1);
  // A window that is gone meanwhile gives an error, not a reply: that reads as no value.
  xcb_generic_error_t* error = nullptr;
  XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection_, cookie, &error));
  std::free(error);
  if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) return std::nullopt;
  return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

std::optional<std::uint32_t> X11FocusFollower::ReadCardinal(Window window, Atom property) {
  const xcb_get_property_cookie_t cookie =
      xcb_get_property(connection_, 0, window, property, XCB_ATOM_CARDINAL, 0, 1);
  xcb_generic_error_t* error = nullptr;
  XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection_, cookie, &error));
  std::free(error);
  if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) return std::nullopt;
  return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

bool X11FocusFollower::WindowManagerNamesActiveWindow() {
  // A running window manager points at its own check window, which points at itself; a manager that has
  // gone leaves the root's properties behind, but not a living check window.
  const std::optional<Window> check = ReadWindowProperty(root_, supportingCheck_);
  if (!check || *check == 0 || ReadWindowProperty(*check, supportingCheck_) != check) return false;
  const xcb_get_property_cookie_t cookie =
      xcb_get_property(connection_, 0, root_, supported_, XCB_ATOM_ATOM, 0, kMaxPropertyWords);
  XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection_, cookie, nullptr));
  if (!reply || reply->format != 32) return false;
  const auto* atoms = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  const int count = xcb_get_property_value_length(reply.get()) / 4;
  for (int i = 0; i < count; ++i) {
    if (atoms[i] == activeWindow_) return true;
  }
  return false;
}

void X11FocusFollower::Refresh() {
  const State oldState = state_;
  const std::optional<int> oldPid = pid_;
  pid_.reset();
  if (!connection_ || xcb_connection_has_error(connection_)) {
    state_ = State::kNoDisplay;
  } else if (!WindowManagerNamesActiveWindow()) {
    state_ = State::kNoWindowManager;
  } else {
    state_ = State::kFollowing;
    if (const std::optional<Window> active = ReadWindowProperty(root_, activeWindow_);
        active && *active != 0) {
      if (const std::optional<std::uint32_t> pid = ReadCardinal(*active, wmPid_); pid && *pid > 0) {
        pid_ = static_cast<int>(*pid);
      }
    }
  }
  if (state_ == oldState && pid_ == oldPid) return;
  if (state_ != oldState) {
    Trace(std::string("focus follower: ") + (state_ == State::kFollowing ? "following the active window"
                                             : state_ == State::kNoWindowManager
                                                 ? "no window manager names the "
                                                   "active window"
                                                 : "the X display went away"));
  }
  if (listener_) listener_(state_, pid_);
}

void X11FocusFollower::Dispatch() {
  if (!connection_) return;
  bool changed = false;
  while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
    if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
      const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
      if (property->window == root_ && (property->atom == activeWindow_ || property->atom == supported_ ||
                                        property->atom == supportingCheck_)) {
        changed = true;
      }
    }
    std::free(event);
  }
  if (xcb_connection_has_error(connection_)) changed = true;
  if (changed) Refresh();
}

}  // namespace norvane
