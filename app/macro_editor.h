#pragma once
// The macro editor: what the router hands it for a page's macro panel ("MacroControlItem", a
// CMacroControlUI). The panel mirrors the device folder's macros; this editor asks the user first where a
// change needs it, and keeps the rest of the page in step: the key editor's macro names, and, when a macro
// is deleted, every profile whose keys play a later macro (they are renumbered, all or none).
//
// Questions and file dialogs run their own loops, so they are posted and run only if the page is still
// there by then, never inside the signal of the button that asked.
//
// A step's double click or context menu opens the row menu (one at a time). Its mouse items insert steps
// here; its recording items are the recording's (the window hands every menu item to every editor).

#include <QPointer>
#include <functional>
#include <memory>

#include "app/user_prompts.h"
#include "editors/editor.h"
#include "uilib/menu.h"
#include "uilib/window_handle.h"

namespace norvane::editors {
class CMacroControlUI;
}

namespace norvane::app {

class CMacroEditor final : public editors::IEditor {
 public:
  static constexpr const char* kFileFilter = "Macro Files(*.mac *.MAC *.Mac)";
  static constexpr const char* kAddQuestion = "message_text_28";
  static constexpr const char* kDeleteQuestion = "message_text_4";
  static constexpr const char* kInUseQuestion = "message_text_2";
  static constexpr const char* kTakenName = "message_text_5";
  static constexpr const char* kImportFailed = "macro_import_failed_text";
  static constexpr const char* kListFull = "macro_list_full_text";
  static constexpr const char* kExportFailed = "macro_export_failed_text";
  static constexpr const char* kDeleteFailed = "macro_delete_failed_text";
  static constexpr const char* kRenameFailed = "macro_rename_failed_text";
  static constexpr const char* kRowMenu = "XML\\Menus\\macro_action_menu.xml";

  // menuOwner: the window the row menu reports its items to.
  CMacroEditor(std::function<UserPrompts&()> prompts, std::function<ui::WindowHandle()> menuOwner = {});
  ~CMacroEditor() override;

  void OnRoute(const editors::RoutedNotify& notify) override;
  void OnMenuItem(const ui::MenuCmd& command) override;
  void OnPageRefreshed(controls::CDevicePageUI& page) override;

  // The row menu while it is open (or until the next one replaces it); null before the first.
  ui::CMenuWnd* RowMenu() const { return rowMenu_.get(); }

  // The panel of a page; null when the page has none.
  static editors::CMacroControlUI* PanelOf(controls::CDevicePageUI& page);

 private:
  // Runs action on the page after the current signal, if the page is still there.
  void Post(controls::CDevicePageUI& page, std::function<void(controls::CDevicePageUI&)> action);
  void Add(controls::CDevicePageUI& page);
  void Delete(controls::CDevicePageUI& page);
  void Rename(controls::CDevicePageUI& page);
  void Import(controls::CDevicePageUI& page);
  void Export(controls::CDevicePageUI& page);
  void OpenRowMenu(controls::CDevicePageUI& page);

  std::function<UserPrompts&()> prompts_;
  std::function<ui::WindowHandle()> menuOwner_;
  std::unique_ptr<ui::CMenuWnd> rowMenu_;
  // The page whose step the menu was opened on.
  QPointer<controls::CDevicePageUI> menuPage_;
};

}  // namespace norvane::app
