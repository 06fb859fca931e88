#include "app/message_window.h"

#include <QRect>
#include <QWidget>

#include "platform/trace.h"
#include "uilib/button.h"

namespace norvane::app {

void CMsgWnd::InitWindow() {
  closeButton_ = FindControl("closebtn");
}

void CMsgWnd::OnClick(ui::TNotifyUI& msg) {
  if (!msg.pSender) return;
  const ui::CDuiString name = msg.pSender->GetName().toLower();
  if (name == "closebtn" || name == "cancel_btn") {
    Close(kMessageCancelled);
  } else if (name == "confirm_btn") {
    Close(kMessageConfirmed);
  }
}

ui::LRESULT CMsgWnd::HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam, bool& handled) {
  handled = false;
  if (msg == ui::WM_DPICHANGED) {
    // The new DPI is in the low word; lParam, when given, points to the suggested window rectangle.
    m_pm.SetDPI(int(wParam & 0xFFFF));
    dpi_ = m_pm.GetDPI();
    m_pm.ResetDPIAssets();
    if (lParam != 0) {
      if (QWidget* host = GetWidget()) host->setGeometry(*reinterpret_cast<const QRect*>(lParam));
    }
  }
  return 0;
}

void CMsgWnd::SetDPI(int dpi) {
  if (dpi == dpi_) return;
  if (!ui::IsSupportedDpi(dpi)) {
    Trace("MSG_WND DPI SET ERROR");
    dpi = ui::kDefaultDpi;
  }
  dpi_ = dpi;
  // Only this window: a message must never rescale the window that asked for it.
  m_pm.SetDPI(dpi);
}

void CMsgWnd::OnFinalMessage() {
  delete this;
}

int ShowMessage(ui::CWindowWnd* parent, const ui::CDuiString& title, const ui::CDuiString& text, int dpi,
                bool textIsId, int buttons) {
  // Owns itself from here on: ShowModal ends with OnFinalMessage, which deletes it.
  auto* wnd = new CMsgWnd();
  if (!wnd->Create(parent, "msgwnd", false)) {
    delete wnd;
    return kMessageCancelled;
  }
  if (!title.IsEmpty()) {
    if (ui::CControlUI* label = wnd->FindControl("MessageTitle")) {
      label->SetResourceText(false);
      label->SetText(title);
    }
  }
  if (!text.IsEmpty()) {
    if (ui::CControlUI* label = wnd->FindControl("MessageText")) {
      // The id itself first: an id the language lacks then still says something instead of nothing.
      label->SetResourceText(false);
      label->SetText(text);
      label->SetResourceText(textIsId);
      if (textIsId) label->SetText(text);
    }
  }
  wnd->SetDPI(dpi);
  ui::CControlUI* confirm = wnd->FindControl("confirm_btn");
  ui::CControlUI* cancel = wnd->FindControl("cancel_btn");
  if (buttons == kMessageOk || buttons == kMessageOkCancel) {
    if (confirm) confirm->SetVisible(true);
    if (cancel) cancel->SetVisible(buttons == kMessageOkCancel);
  }
  wnd->CenterWindow();
  const int code = wnd->ShowModal();
  // -1 would mean the window never ran; the caller only distinguishes confirmed from everything else.
  return code == kMessageConfirmed ? kMessageConfirmed : kMessageCancelled;
}

}  // namespace norvane::app
