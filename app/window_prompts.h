#pragma once
// The main window's answers to UserPrompts: its message window for confirmations and messages, the file
// dialogs for files.

#include "app/user_prompts.h"
#include "uilib/window_wnd.h"

namespace norvane::app {

class CWindowPrompts final : public UserPrompts {
 public:
  // `dpi` is read at each call, so the messages follow the window's scale.
  CWindowPrompts(ui::CWindowWnd& window, std::function<int()> dpi) : window_(window), dpi_(std::move(dpi)) {}

  bool Confirm(const ui::CDuiString& textId) override;
  void Tell(const ui::CDuiString& textId) override;
  std::optional<ui::CDuiString> OpenFile(const ui::CDuiString& filter) override;
  std::optional<ui::CDuiString> SaveFile(const ui::CDuiString& filter) override;

 private:
  ui::CWindowWnd& window_;
  std::function<int()> dpi_;
};

}  // namespace norvane::app
