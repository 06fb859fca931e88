#include "app/window_prompts.h"

#include <QFileDialog>

#include "app/message_window.h"

namespace norvane::app {

bool CWindowPrompts::Confirm(const ui::CDuiString& textId) {
  return ShowMessage(&window_, "", textId, dpi_(), true, kMessageOkCancel) == kMessageConfirmed;
}

void CWindowPrompts::Tell(const ui::CDuiString& textId) {
  ShowMessage(&window_, "", textId, dpi_(), true, kMessageOk);
}

std::optional<ui::CDuiString> CWindowPrompts::OpenFile(const ui::CDuiString& filter) {
  const QString path = QFileDialog::getOpenFileName(window_.GetWidget(), {}, {}, filter);
  if (path.isEmpty()) return std::nullopt;
  return ui::CDuiString(path);
}

std::optional<ui::CDuiString> CWindowPrompts::SaveFile(const ui::CDuiString& filter) {
  const QString path = QFileDialog::getSaveFileName(window_.GetWidget(), {}, {}, filter);
  if (path.isEmpty()) return std::nullopt;
  return ui::CDuiString(path);
}

}  // namespace norvane::app
