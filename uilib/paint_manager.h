#pragma once
// CPaintManagerUI: the per-window side of the library. It finds controls by name, carries the window's
// notifications to its receiver, runs control timers and holds the window's scale (DPI).

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "uilib/control.h"
#include "uilib/notify.h"

namespace norvane::ui {

class CWindowWnd;

// Library internal: the dynamic property that keeps a widget's unscaled font, from which every scale starts
// (the font table changes its face).
inline constexpr const char* kBaseFontProperty = "_nv_base_font";

class CPaintManagerUI {
 public:
  explicit CPaintManagerUI(CWindowWnd& window);
  ~CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

  CWindowWnd& GetWindow() const { return window_; }
  QWidget* GetPaintWindow() const { return host_; }
  // Library internal: the window's host widget, once it exists.
  void AttachHost(QWidget* host);
  CControlUI* GetRoot() const;
  void SetRoot(CControlUI* root);

  // First control of that exact object name in the window (depth-first); null when there is none. Names
  // looked up across the window are the window's own parts, each there once: the control found is kept and
  // handed out again while it lives inside the window under that name, since a notification may look up
  // several of them and a walk over every widget of every page costs milliseconds.
  CControlUI* FindControl(const CDuiString& name) const;
  // First control of that name inside `parent` (parent excluded); null when there is none or parent is null.
  static CControlUI* FindSubControlByName(CControlUI* parent, const CDuiString& name);

  // Control timers. Callable from any thread: from a worker the call is carried to the UI thread. Starting an
  // id that runs restarts it. Single-shot unless asked otherwise: the program re-arms what it wants again.
  static void SetTimer(CControlUI* control, int timerId, int elapseMs,
                       TimerMode mode = TimerMode::kSingleShot);
  static void KillTimer(CControlUI* control, int timerId);
  static void KillTimer(CControlUI* control);

  void SetNotifyReceiver(INotifyUI* receiver) { receiver_ = receiver; }
  void SendNotify(TNotifyUI& msg);
  bool IsNotifySuppressed() const { return suppressDepth_ > 0; }

  // While one exists, the window's notifications are dropped (programmatic changes "without notification").
  class NotifySuppressor {
   public:
    explicit NotifySuppressor(CPaintManagerUI* manager);
    ~NotifySuppressor();
    NotifySuppressor(const NotifySuppressor&) = delete;
    NotifySuppressor& operator=(const NotifySuppressor&) = delete;

   private:
    CPaintManagerUI* manager_;
  };

  // Scale: the window's DPI over 96. Unsupported values become 96. Sizes, fonts and margins of the window's
  // widgets are scaled from the values the skin gave them.
  void SetDPI(int dpi);
  int GetDPI() const { return dpi_; }
  double GetScale() const { return dpi_ / double(kDefaultDpi); }
  int Scale(int pixels) const;
  static void SetAllDPI(int dpi);
  // Re-applies the scale and every control's style (images are looked up again).
  void ResetDPIAssets();
  // Scales widgets that were added after the last SetDPI.
  void ApplyScaleTo(QWidget* subtree);

  // Every window manager alive, in creation order (UI thread).
  static std::vector<CPaintManagerUI*> GetAll();
  // Runs the application's event loop until the program quits.
  static int MessageLoop();

 private:
  CWindowWnd& window_;
  QPointer<QWidget> host_;
  mutable QHash<CDuiString, QPointer<QWidget>> found_;  // FindControl's answers, checked before each use
  CControlUI* root_ = nullptr;
  INotifyUI* receiver_ = nullptr;
  int suppressDepth_ = 0;
  int dpi_ = kDefaultDpi;
};

}  // namespace norvane::ui
