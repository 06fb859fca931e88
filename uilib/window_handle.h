#pragma once
// WindowHandle: a copyable, thread-safe reference to a window that worker threads use to post and send
// in-process messages. Messages always run on the UI thread, through the window's HandleMessage. After the
// window is gone, posting fails and sending returns nothing.

#include <memory>
#include <optional>
#include <stop_token>

#include "uilib/types.h"

namespace norvane::ui {

class CWindowWnd;
namespace detail {
struct WindowLink;
}

class WindowHandle {
 public:
  WindowHandle() = default;
  explicit WindowHandle(std::shared_ptr<detail::WindowLink> link) : link_(std::move(link)) {}

  bool IsWindow() const;
  explicit operator bool() const { return IsWindow(); }

  // Queues the message for the UI thread; false when the window no longer exists.
  bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;

  // Runs the message on the UI thread and returns its result. On the UI thread it runs at once. From a worker
  // it waits in short slices and gives up (no value) when `stop` is requested or the window goes away, so a
  // worker being stopped never deadlocks against a UI thread that waits for it.
  std::optional<LRESULT> SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0,
                                     std::stop_token stop = {}) const;

  // The window itself; only meaningful on the UI thread.
  CWindowWnd* GetWindow() const;

  friend bool operator==(const WindowHandle& a, const WindowHandle& b) { return a.link_ == b.link_; }

 private:
  std::shared_ptr<detail::WindowLink> link_;
};

}  // namespace norvane::ui
