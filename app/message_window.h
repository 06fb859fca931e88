#pragma once
// CMsgWnd and ShowMessage: the one small modal window through which the program asks for a confirmation or
// reports an error. Its texts are language text ids (or, for the few formatted messages, text resolved by
// the caller), so the same call reads right in every language.

#include "uilib/window_impl_base.h"

namespace norvane::app {

// Button modes of ShowMessage.
inline constexpr int kMessageOk = 0;        // only "confirm_btn"
inline constexpr int kMessageOkCancel = 1;  // "confirm_btn" and "cancel_btn"

// Results of ShowMessage.
inline constexpr int kMessageConfirmed = 1;
inline constexpr int kMessageCancelled = 0;  // "cancel_btn", "closebtn" or the window was closed otherwise

// The message window. It owns itself: create it with `new`, it deletes itself when its window ends, so
// one object serves exactly one message.
class CMsgWnd : public ui::WindowImplBase {
 public:
  ui::CDuiString GetWindowClassName() const override { return "MsgWnd"; }
  ui::CDuiString GetSkinFile() const override { return "XML_MSG"; }
  void InitWindow() override;
  void OnClick(ui::TNotifyUI& msg) override;
  ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam, bool& handled) override;

  // Takes `dpi` when it is a supported step, else 96 (with a trace). The same value again changes nothing.
  void SetDPI(int dpi);
  int GetDPI() const { return dpi_; }

 protected:
  void OnFinalMessage() override;

 private:
  ui::CControlUI* closeButton_ = nullptr;
  int dpi_ = ui::kDefaultDpi;
};

// Shows a message modally over `parent` (may be null) and returns kMessageConfirmed or kMessageCancelled.
// An empty title or text keeps the layout's own. With `textIsId` the text is a language text id, otherwise
// it is shown as it is. `dpi` is the caller's window DPI; an unsupported value gives 96. `buttons` is
// kMessageOk or kMessageOkCancel; any other mode leaves the buttons as the layout has them.
int ShowMessage(ui::CWindowWnd* parent, const ui::CDuiString& title, const ui::CDuiString& text, int dpi,
                bool textIsId, int buttons);

}  // namespace norvane::app
