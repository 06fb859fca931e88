#pragma once
// CSetWnd: the settings window (630 x 500, skin "setwnd.xml"). It offers the languages of "Language.config"
// in "Language_combox_info" and lists the program and the connected devices in "device_update_list_info",
// with what the update service knows about each; the user checks items and starts their update there.
//
// A chosen language goes to the main window (message 3089 with the language's index), which switches the
// whole program and tells this window to redraw (3089 with 0). The update work (update::UpdateWork) runs
// while the window is open; the window only ever reads its list on its own thread, on the news the workers
// post. The window does not close (Alt+F4, the system menu, the main window's close-all) while an update is
// under way; its own close button and "laterbtn" stop the work and close it.

#include <QPointer>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "uilib/window_handle.h"
#include "uilib/window_impl_base.h"
#include "update/update_info.h"
#include "update/update_work.h"

namespace norvane::app {

class CUpdateInfoListItemUI;

class CSetWnd : public ui::WindowImplBase {
 public:
  static constexpr int kWidth = 630;
  static constexpr int kHeight = 500;

  // What the main window hands over before the window runs.
  struct Setup {
    ui::WindowHandle mainWindow;
    int dpi = ui::kDefaultDpi;
    int languageIndex = -1;
    // The entries to list (those whose version is known).
    std::vector<update::UpdateEntry> entries;
    // The settings key that keeps the language; created when the user picks one.
    std::filesystem::path settingsFile;
    // How the update work is done; empty: the program's own (update::DefaultUpdateServices).
    std::function<update::UpdateServices()> services;
  };

  explicit CSetWnd(Setup setup);
  ~CSetWnd() override;  // stops the update work

  ui::CDuiString GetWindowClassName() const override { return "SetWnd"; }
  ui::CDuiString GetSkinFile() const override { return "setwnd.xml"; }
  void InitWindow() override;
  void OnClick(ui::TNotifyUI& msg) override;
  ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam, bool& handled) override;
  ui::LRESULT HandleMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam) override;

  // Runs a settings window modally over `parent`, centred on it or, when not, with its right edge 30 and its
  // top 60 scaled pixels inside the parent's top-right corner. `started` is called with the running window
  // (the main window keeps its handle for the messages it relays). Returns the close code, -1 when the
  // window could not be created.
  static int Run(ui::CWindowWnd* parent, bool centred, Setup setup,
                 const std::function<void(CSetWnd&)>& started = {});

  // Takes `dpi` when it is a supported step (48 to 192 in steps of 24), else 96 with a trace; the same value
  // again changes nothing.
  void SetDPI(int dpi);
  int GetDPI() const { return dpi_; }
  int LanguageIndex() const { return languageIndex_; }
  // The list's status code (update::UpdateStatus); -1 before the first.
  int PageCode() const { return pageCode_; }
  update::UpdateWork* Work() const { return work_.get(); }
  // Signals the update workers and waits a short bound for each.
  void StopUpdateWorkers();

 private:
  class Listener;
  void OnWindowInit();
  void FillLanguageList();
  void OnLanguageChosen(ui::TNotifyUI& msg);
  void OnSelectChanged(ui::TNotifyUI& msg);
  void OnItemAdded(int index);
  void OnItemChanged(int index);
  void SetUpdateStatus(int code);
  void RefreshUpdateButton();
  bool RefusesToClose() const;

  Setup setup_;
  int dpi_ = ui::kDefaultDpi;
  int languageIndex_ = -1;
  int pageCode_ = -1;
  std::shared_ptr<Listener> listener_;
  std::unique_ptr<update::UpdateWork> work_;
  std::vector<QPointer<CUpdateInfoListItemUI>> items_;
};

}  // namespace norvane::app
