#pragma once
// CWindowWnd: a top-level window. It owns a Qt widget (the host), receives in-process messages through
// HandleMessage on the UI thread, and can run modally. Windows are frameless when their skin root sets the
// dynamic property "frameless"; the skin's "captionheight" (pixels from the top) then drags the window.

#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

#include "uilib/dui_string.h"
#include "uilib/types.h"
#include "uilib/window_handle.h"

class QEventLoop;

namespace norvane::ui {

namespace detail {
class WindowHost;
struct WindowLink;
}  // namespace detail

class CWindowWnd {
 public:
  CWindowWnd();
  virtual ~CWindowWnd();
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  virtual CDuiString GetWindowClassName() const = 0;

  // Creates the window (hidden unless `visible`). Width or height 0 keeps the skin's own size. A parent makes
  // this window stay above it. False when the window already exists.
  bool Create(CWindowWnd* parent, const CDuiString& windowName, bool visible = true, int x = 0, int y = 0,
              int width = 0, int height = 0);
  bool IsCreated() const { return !host_.isNull(); }

  // Shows the window modally (its parent and the rest of the program are blocked) and returns the code given
  // to Close. Returns -1 when the window was not created.
  int ShowModal();
  // Ends the window with `code`: hides it, ends a modal run, and calls OnFinalMessage last.
  void Close(int code = 0);
  void CenterWindow();
  void ShowWindow(bool show = true, bool takeFocus = true);
  bool IsWindowVisible() const;
  bool IsMinimized() const;
  void ResizeClient(int width, int height);
  // Hides the window to the tray; where the desktop has no tray it minimises instead, so that the window
  // can always be found again.
  void HideToTrayOrMinimize();
  void SetIcon(const QIcon& icon);
  void SetWindowTitle(const CDuiString& title);

  // Thread-safe handle for workers. Valid for the object's lifetime, even before Create.
  WindowHandle GetHWND() const;
  // Convenience for code on the UI thread.
  bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  // Window timers: on expiry HandleMessage(WM_TIMER, id, 0) runs. Single-shot; starting a running id restarts
  // it.
  void SetTimer(int timerId, int elapseMs);
  void KillTimer(int timerId);

  // Every message to this window; the base handles WM_CLOSE (Close(0)), WM_SYSCOMMAND (minimise, maximise,
  // restore, close) and ignores the rest. Besides the posted and sent ones, the window itself delivers
  // WM_ACTIVATE (WA_ACTIVE / WA_INACTIVE) when it gains or loses activation, and WM_MOUSEHOVER and
  // WM_MOUSELEAVE when the pointer comes over it or leaves it.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  QWidget* GetWidget() const;

 protected:
  // Runs last when the window ends; a window that owns itself may delete itself here.
  virtual void OnFinalMessage() {}
  // Called by Create after the host exists and before it is shown: subclasses build their contents.
  virtual void OnCreate() {}
  // Called when the host is resized (client width and height in unscaled widget pixels).
  virtual void OnSize(int /*width*/, int /*height*/) {}

 private:
  friend class detail::WindowHost;
  void HandleHostClose();

  QPointer<detail::WindowHost> host_;
  std::shared_ptr<detail::WindowLink> link_;
  std::map<int, QPointer<class QTimer>> timers_;
  QEventLoop* modalLoop_ = nullptr;
  int closeCode_ = 0;
  bool closing_ = false;
};

// Ends the application's event loop with `code` (queued: the current message finishes first).
void PostQuitMessage(int code);

}  // namespace norvane::ui
