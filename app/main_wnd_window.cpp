// The main window as a window: showing, hiding to the tray, scaling, the tray icon and its menu, timers
// and the child windows.
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <utility>

#include "app/about_wnd.h"
#include "app/music_wnd.h"
#include "app/game_light.h"
#include "app/main_messages.h"
#include "app/main_wnd.h"
#include "app/message_texts.h"
#include "app/message_window.h"
#include "app/profile_actions.h"
#include "app/tray_menu_placement.h"
#include "app/window_scale.h"
#include "controls/pages/device_page.h"
#include "editors/lighting_editor.h"
#include "platform/trace.h"

namespace norvane::app {

void CMainWnd::UpdateNoDeviceNotice() {
  ui::CControlUI* notice = FindControl("No_device_Link");
  if (!notice) return;
  notice->SetVisible(!(devices_ && devices_->AnyTabVisible()));
}

void CMainWnd::RaiseToFront() {
  QWidget* host = GetWidget();
  if (!host) return;
  host->showNormal();
  host->raise();
  host->activateWindow();
}

void CMainWnd::ShowAndRaise() {
  if (destroyed_) return;
  UpdateNoDeviceNotice();
  if (devices_) devices_->SetWindowActive(true);
  RaiseToFront();
  const ui::CControlUI* notice = FindControl("No_device_Link");
  Trace(std::string("main window: shown; \"No_device_Link\" ") +
        (notice && notice->IsVisible() ? "visible" : "hidden"));
}

void CMainWnd::StartMinimized() {
  if (destroyed_) return;
  UpdateNoDeviceNotice();
  const bool tray = options_.trayAvailable ? options_.trayAvailable() : ui::CTrayIcon::IsAvailable();
  if (tray) {
    ShowWindow(false);
    if (devices_) devices_->SetWindowActive(false);
    Trace("main window: started in the tray");
    return;
  }
  if (QWidget* host = GetWidget()) host->showMinimized();
  if (devices_) devices_->SetWindowActive(false);
  Trace("main window: started minimised");
}

void CMainWnd::HideToTray() {
  CloseChildWindows();
  // A recording ends with the window: no keyboard stays held behind a window the user cannot see.
  SetInputCapture(false);
  HideToTrayOrMinimize();
  if (!IsWindowVisible() && devices_) devices_->SetWindowActive(false);
}

void CMainWnd::RefreshScreenSize() {
  screenSize_ = options_.screenSize ? options_.screenSize() : PrimaryScreenPixelSize();
  // The devices whose settings depend on the screen (a mouse's pointer correction) follow it.
  if (!devices_) return;
  for (controls::CDevicePageUI* page : devices_->Pages())
    if (page->Device()) page->Device()->SetScreenSize(screenSize_.width, screenSize_.height);
}

void CMainWnd::ApplyWindowScale() {
  QWidget* host = GetWidget();
  if (!host) return;
  QScreen* screen = host->screen() ? host->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  ApplyWindowScale(screen->geometry());
}

void CMainWnd::ApplyWindowScale(const QRect& monitor) {
  QWidget* host = GetWidget();
  if (!host) return;
  // The window keeps its state: a hidden window stays hidden and a minimised one minimised, so that a
  // screen change never loses it.
  const bool minimized = IsMinimized();
  const bool visible = IsWindowVisible();
  dpi_ = WindowDpiForMonitor(monitor);
  // Lay out once at 96 DPI from the layout's own size, then scale every window to the window DPI.
  ui::CPaintManagerUI::SetAllDPI(ui::kDefaultDpi);
  host->resize(kMainLayoutSize);
  ui::CPaintManagerUI::SetAllDPI(dpi_);
  QRect frame = host->frameGeometry();
  frame.moveCenter(monitor.center());
  host->move(frame.topLeft());
  if (visible && !minimized) host->show();
  host->update();
}

void CMainWnd::StartTimer(int timerId, int elapseMs) {
  timerIntervals_[timerId] = elapseMs;
  SetTimer(timerId, elapseMs);
}

void CMainWnd::OnTimer(int timerId) {
  KillTimer(timerId);
  timerIntervals_.erase(timerId);
  switch (timerId) {
    case kTimerApplyScale:
      ApplyWindowScale();
      if (QWidget* host = GetWidget()) host->update();
      break;
    case kTimerTrayMenu:
      ShowTrayMenu();
      break;
    case kTimerProfileSwitch: {
      profileGate_->Close();
      // A lighting change still waiting for its write belongs to the profile it was made in.
      if (lightingEditor_) lightingEditor_->FlushPendingWrite();
      const std::vector<controls::CDevicePageUI*> chosen = std::exchange(profileChosenOn_, {});
      if (hooks_.switchProfile) {
        if (devices_ && devices_->CurrentPage()) gameLight_->Restore(*devices_->CurrentPage());
        hooks_.switchProfile();
        break;
      }
      // Only pages that still exist: a page unplugged meanwhile has nothing to switch.
      for (controls::CDevicePageUI* page : devices_ ? devices_->Pages() : std::vector<controls::CDevicePageUI*>{}) {
        if (std::find(chosen.begin(), chosen.end(), page) == chosen.end()) continue;
        // A game effect on the page gives way before its profile does.
        gameLight_->Restore(*page);
        if (SwitchToChosenProfile(*page, screenSize_) == ProfileSwitch::kWriteFailed) {
          // Said once the input or notification that may have brought the switch forward is over.
          QTimer::singleShot(0, GetWidget(), [this] {
            if (!destroyed_) Prompts().Tell(kProfileWriteFailedText);
          });
        }
      }
      break;
    }
    case kTimerGameLight:
      gameLight_->RestoreAll();
      if (hooks_.restoreGameLight) hooks_.restoreGameLight();
      break;
    default:
      break;
  }
}

void CMainWnd::OnTrayNotify(ui::LPARAM mouseMessage) {
  if (mouseMessage == ui::WM_LBUTTONUP) {
    OnTrayLeftClick();
  } else if (mouseMessage == ui::WM_RBUTTONUP) {
    // The menu opens from the timer, once the tray's own click handling is over.
    StartTimer(kTimerTrayMenu, 10);
  }
}

void CMainWnd::OnTrayLeftClick() {
  UpdateNoDeviceNotice();
  const bool wasShowing = IsShowing();
  CloseChildWindows();
  if (wasShowing) {
    SetInputCapture(false);
    ShowWindow(false);
    if (devices_) devices_->SetWindowActive(false);
    return;
  }
  ShowWindow(true);
  ApplyWindowScale();
  RaiseToFront();
  if (devices_) devices_->SetWindowActive(true);
  if (QWidget* host = GetWidget()) host->update();
}

void CMainWnd::ShowTrayMenu() {
  trayMenu_ = std::make_unique<ui::CMenuWnd>();
  const QPoint cursor = QCursor::pos();
  QScreen* screen = QGuiApplication::screenAt(cursor);
  if (!screen) screen = QGuiApplication::primaryScreen();
  TrayMenuPlacement placement{cursor, ui::eMenuAlignment_Left | ui::eMenuAlignment_Top};
  if (screen) placement = PlaceTrayMenu(cursor, screen->geometry(), screen->availableGeometry());
  trayMenu_->Init(GetHWND(), "menu.xml", placement.point, placement.alignment);
}

void CMainWnd::ShowDeviceMessage(const ui::CDuiString& textId, std::optional<int> value) {
  if (destroyed_ || deviceMessageOpen_ || !IsShowing()) {
    // The page's own notice says it as well; a window in the tray does not pop up messages.
    Trace("main window: device message " + textId.toStdString() + " not shown");
    return;
  }
  deviceMessageOpen_ = true;
  if (value) {
    const ui::CDuiString text =
        SubstituteNumber(ResolveLanguageText(FindControl(msgtext::kMainTextLabel), textId), *value);
    ShowMessage(this, "", text, dpi_, false, kMessageOk);
  } else {
    Prompts().Tell(textId);
  }
  deviceMessageOpen_ = false;
}

void CMainWnd::CloseChildWindows() {
  if (settingsWnd_) settingsWnd_.SendMessage(ui::WM_CLOSE);
  if (const ui::WindowHandle about = CAboutWnd::Current()) about.SendMessage(ui::WM_CLOSE);
  if (const ui::WindowHandle style = CMusicWnd::Current()) style.SendMessage(ui::WM_CLOSE);
}

void CMainWnd::OpenSettingsWindow(bool centred) {
  if (settingsWnd_ || settingsOpening_ || !hooks_.openSettingsWindow) return;
  settingsOpening_ = true;
  hooks_.openSettingsWindow(*this, centred);
  settingsOpening_ = false;
  settingsWnd_ = {};
}

void CMainWnd::OpenAboutWindow() {
  CAboutWnd::Open(this, dpi_);
}

}  // namespace norvane::app
