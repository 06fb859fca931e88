#include "app/set_wnd_opener.h"

#include "app/main_wnd.h"
#include "app/set_wnd.h"
#include "update/update_entries.h"
#include "update/update_query.h"

namespace norvane::app {

void RunSettingsWindow(CMainWnd& main, bool centred, std::function<update::UpdateServices()> services) {
  CSetWnd::Setup setup;
  setup.mainWindow = main.GetHWND();
  setup.dpi = main.GetDPI();
  setup.languageIndex = main.LanguageIndex();
  const std::vector<update::TabVersion> tabs =
      main.Devices() ? main.Devices()->TabVersions() : std::vector<update::TabVersion>{};
  setup.entries = update::ListedEntries(update::BuildUpdateEntries(tabs, update::GetInstalledVersion()));
  setup.settingsFile = main.SettingsFile();
  setup.services = std::move(services);
  CSetWnd::Run(&main, centred, std::move(setup), [&main](CSetWnd& window) { main.SetSettingsWindow(window.GetHWND()); });
}

}  // namespace norvane::app
