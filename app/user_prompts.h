#pragma once
// What the window's actions ask of the user: a confirmation, a message, a file to open or to save. The main
// window answers with its message window and the file dialogs; tests answer with a script. Every call runs
// its own modal loop, so callers run it from a posted call, never inside the signal of a widget or menu
// that may go meanwhile.

#include <optional>

#include "uilib/dui_string.h"

namespace norvane::app {

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // OK and Cancel over the window, with a language text id; true for OK.
  [[nodiscard]] virtual bool Confirm(const ui::CDuiString& textId) = 0;
  // An OK-only message with a language text id.
  virtual void Tell(const ui::CDuiString& textId) = 0;
  // A file to read or to write, with a filter such as "Profile Files(*.json)"; nullopt when cancelled.
  virtual std::optional<ui::CDuiString> OpenFile(const ui::CDuiString& filter) = 0;
  virtual std::optional<ui::CDuiString> SaveFile(const ui::CDuiString& filter) = 0;
};

}  // namespace norvane::app
