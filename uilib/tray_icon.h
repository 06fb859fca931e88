#pragma once
// CTrayIcon: the program's icon in the system tray. Clicks reach the owner window as UIMSG_TRAYICON (or the
// message given at creation) with lParam WM_LBUTTONUP (click), WM_RBUTTONUP (context request) or
// WM_LBUTTONDBLCLK. Where the desktop has no tray, nothing is shown and IsAvailable() says so: the program
// then minimises the main window instead of hiding it.

#include <QIcon>
#include <QObject>
#include <memory>

#include "uilib/dui_string.h"
#include "uilib/types.h"
#include "uilib/window_handle.h"

class QSystemTrayIcon;

namespace norvane::ui {

class CTrayIcon {
 public:
  CTrayIcon();
  ~CTrayIcon();
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;

  static bool IsAvailable();

  // Shows the icon. Returns false when the desktop has no tray (the owner still works without it).
  bool CreateTrayIcon(WindowHandle owner, const QIcon& icon, const CDuiString& toolTip,
                      UINT message = UIMSG_TRAYICON);
  void DeleteTrayIcon();
  void SetTooltipText(const CDuiString& toolTip);
  void SetIcon(const QIcon& icon);
  bool IsVisible() const;

  // The click handling, reachable without a tray for tests: reason is a QSystemTrayIcon::ActivationReason.
  void Activate(int reason);

 private:
  std::unique_ptr<QSystemTrayIcon> icon_;
  WindowHandle owner_;
  UINT message_ = UIMSG_TRAYICON;
};

}  // namespace norvane::ui
