#pragma once
// CAboutWnd: the about window, opened from the tray menu item "about_menu". It shows the application's
// version under the current language's caption, has the usual title-bar buttons, and closes only itself.

#include "uilib/window_handle.h"
#include "uilib/window_impl_base.h"

namespace norvane::app {

class CAboutWnd : public ui::WindowImplBase {
 public:
  ui::CDuiString GetWindowClassName() const override { return "AboutWnd"; }
  ui::CDuiString GetSkinFile() const override { return "AboutWnd.xml"; }
  void InitWindow() override;
  void OnClick(ui::TNotifyUI& msg) override;
  ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam, bool& handled) override;
  ui::LRESULT HandleMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam) override;

  // Opens the about window over `mainWindow`, centred and modal, and returns when it closes (its close code,
  // -1 when it could not be created). While one is open, a second call only raises it and returns -1.
  // `dpi` is the main window's.
  static int Open(ui::CWindowWnd* mainWindow, int dpi);
  // The open about window, for the main window's close-all and language-switch messages (WM_CLOSE, 3089);
  // an empty handle when none is open.
  static ui::WindowHandle Current();

  // "software_rev_text" in the current language followed by the application's version label.
  void RefreshVersionText();

};

// The message a language switch sends to the open child windows (wParam 0: redraw in the new language).
inline constexpr ui::UINT kLanguageChangedMessage = 3089;

}  // namespace norvane::app
