#pragma once
// The devices of the window's pages, handed to the setting commands norvanectl passes to the window. A
// command works on the page's own device object, as the page's editors do, and the page shows what it
// changed as soon as it is done.

#include <vector>

#include "tools/norvanectl/device_session.h"

namespace norvane::controls {
class CDevicePageUI;
}

namespace norvane::app {

class WindowDeviceProvider final : public cli::DeviceProvider {
 public:
  explicit WindowDeviceProvider(std::vector<controls::CDevicePageUI*> pages) : pages_(std::move(pages)) {}

  // Among the pages whose device is connected (its command interface open), chosen as norvanectl chooses.
  cli::OpenOutcome Provide(const std::optional<std::string>& selector, const cli::KindFilter& wanted,
                           const std::string& setting) override;
  // The page shows the device's state again: its profile bar the list on disk, its keys their labels,
  // its editors their values.
  void CommandDone(cli::OpenedDevice& device, std::string_view command) override;

 private:
  std::vector<controls::CDevicePageUI*> pages_;
};

}  // namespace norvane::app
