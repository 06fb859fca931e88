#pragma once
// What the main window needs of its device side: the pages, the tab strip and the scan thread. The program
// uses the device host (MakeDeviceHostService); tests may give the window a stand-in.

#include <functional>
#include <memory>
#include <vector>

#include "app/device_host.h"
#include "uilib/paint_manager.h"
#include "uilib/types.h"
#include "update/update_entries.h"

namespace norvane::app {

class IDeviceService {
 public:
  virtual ~IDeviceService() = default;

  virtual void CreateStartupPages() = 0;
  // The scan thread; its first complete pass ends in the hooks' showAndRaise.
  virtual void StartScan() = 0;
  // Ends the scan thread within its own bound; safe to call twice.
  virtual void StopScan() = 0;
  virtual void HandleTabLinkMessage(ui::WPARAM wParam, ui::LPARAM lParam) = 0;
  virtual void SetWindowActive(bool active) = 0;
  virtual void SetSuspended(bool suspended) = 0;
  // Whether any device tab is visible (the "No_device_Link" notice is shown when none is).
  virtual bool AnyTabVisible() const = 0;
  virtual void Teardown() = 0;
  // The page of the first visible, selected device tab; null when none.
  virtual controls::CDevicePageUI* CurrentPage() const { return nullptr; }
  // Every device page, in creation order.
  virtual std::vector<controls::CDevicePageUI*> Pages() const { return {}; }
  // What each device tab tells the update list, in tab order: its page's model row, link and the USB
  // release numbers of its interfaces.
  virtual std::vector<update::TabVersion> TabVersions() const { return {}; }
};

using DeviceServiceFactory =
    std::function<std::unique_ptr<IDeviceService>(ui::CPaintManagerUI& manager, DeviceHostHooks hooks)>;

// The device host behind the interface.
std::unique_ptr<IDeviceService> MakeDeviceHostService(ui::CPaintManagerUI& manager, DeviceHostHooks hooks);

}  // namespace norvane::app
