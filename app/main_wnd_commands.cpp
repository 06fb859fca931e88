// The setting commands norvanectl hands the running window: the tool's own command code, on the devices of
// the window's pages.
#include "app/main_wnd.h"
#include "app/window_devices.h"
#include "tools/norvanectl/cli_commands.h"
#include "tools/norvanectl/english_texts.h"
#include "uilib/resource_manager.h"
#include "tools/norvanectl/setting_commands.h"

namespace norvane::app {

cli::CommandOutput CMainWnd::RunBusCommand(const std::vector<std::string>& words) {
  if (!devices_) return cli::Failed(cli::kExitFailure, "the window has no devices open");
  // Keys are named by the captions of the skin the window shows.
  const ui::CDuiString skin = ui::CResourceManager::GetInstance().GetResourcePath();
  if (!skin.isEmpty()) cli::SetSkinFolderOverride(skin.toStdString());
  WindowDeviceProvider provider(devices_->Pages());
  return cli::RunSettingCommand(words, false, provider);
}

}  // namespace norvane::app
