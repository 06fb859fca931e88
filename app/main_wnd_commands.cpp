// The setting commands norvanectl hands the running window: the tool's own command code, on the devices of
// the window's pages.
#include "app/main_wnd.h"
#include "app/window_devices.h"
#include "tools/norvanectl/cli_commands.h"
#include "tools/norvanectl/setting_commands.h"

namespace norvane::app {

cli::CommandOutput CMainWnd::RunBusCommand(const std::vector<std::string>& words) {
  if (!devices_) return cli::Failed(cli::kExitFailure, "the window has no devices open");
  WindowDeviceProvider provider(devices_->Pages());
  return cli::RunSettingCommand(words, false, provider);
}

}  // namespace norvane::app
