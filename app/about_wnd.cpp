#include "app/about_wnd.h"

#include <QWidget>
#include <memory>

#include "app/message_texts.h"
#include "hid/catalogue/device_catalogue.h"

namespace norvane::app {

namespace {

// The one open about window (UI thread).
CAboutWnd*& OpenWindow() {
  static CAboutWnd* open = nullptr;
  return open;
}

// The application's row of the model table carries the software version label.
constexpr std::size_t kApplicationModelRow = 3;

}  // namespace

void CAboutWnd::InitWindow() {
  RefreshVersionText();
  SyncMaxRestoreButtons();
}

void CAboutWnd::RefreshVersionText() {
  ui::CControlUI* label = FindControl("software_ver_label");
  if (!label) return;
  const ui::CDuiString caption =
      ResolveLanguageText(FindControl(msgtext::kPageTextLabel), "software_rev_text");
  const std::string_view version = hid::catalogue::ModelTable()[kApplicationModelRow].version_label;
  label->SetResourceText(false);
  label->SetText(caption + ui::CDuiString(version));
}

void CAboutWnd::OnClick(ui::TNotifyUI& msg) {
  if (!msg.pSender) return;
  const ui::CDuiString name = msg.pSender->GetName().toLower();
  if (name == "closebtn") {
    Close(0);
  } else if (name == "minbtn") {
    HandleMessage(ui::WM_SYSCOMMAND, ui::SC_MINIMIZE, 0);
  } else if (name == "maxbtn") {
    HandleMessage(ui::WM_SYSCOMMAND, ui::SC_MAXIMIZE, 0);
  } else if (name == "restorebtn") {
    HandleMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
  }
  // "homepage_btn" and "menubtn" have nothing to do.
}

ui::LRESULT CAboutWnd::HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                           bool& handled) {
  handled = false;
  if (msg == kLanguageChangedMessage) {
    // The library re-texted the id-bearing controls; the composed version line is ours to redo.
    RefreshVersionText();
    if (QWidget* host = GetWidget()) host->update();
    handled = true;
  } else if (msg == ui::WM_SYSCOMMAND && wParam == ui::SC_CLOSE) {
    // The system-menu close ends this window only; the program goes on running.
    Close(0);
    handled = true;
  }
  (void)lParam;
  return 0;
}

ui::LRESULT CAboutWnd::HandleMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam) {
  const ui::LRESULT result = WindowImplBase::HandleMessage(msg, wParam, lParam);
  if (msg == ui::WM_SYSCOMMAND && wParam != ui::SC_CLOSE) SyncMaxRestoreButtons();
  return result;
}

int CAboutWnd::Open(ui::CWindowWnd* mainWindow, int dpi) {
  if (CAboutWnd* open = OpenWindow()) {
    open->ShowWindow(true, true);
    return -1;
  }
  auto wnd = std::make_unique<CAboutWnd>();
  if (!wnd->Create(mainWindow, "  ", false, 0, 0, 800, 572)) return -1;
  wnd->GetPaintManager().SetDPI(dpi);
  wnd->CenterWindow();
  OpenWindow() = wnd.get();
  const int code = wnd->ShowModal();
  OpenWindow() = nullptr;
  return code;
}

ui::WindowHandle CAboutWnd::Current() {
  CAboutWnd* open = OpenWindow();
  return open ? open->GetHWND() : ui::WindowHandle();
}

}  // namespace norvane::app
