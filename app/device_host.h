#pragma once
// DeviceHost: the main window's half of the device catalogue. It owns the device pages (one per device model,
// created hidden and kept until teardown), their tabs in "device_select_layout", their pages in
// "device_switch" and power pages in "device_power_switch", and the scan thread. Arrivals and removals that
// the scan thread finds run here on the UI thread: a command interface opens the page's channel and shows its
// tab, an event interface starts the page's sync thread, a wired keyboard or mouse plugged in next to its
// receiver moves the page onto the wired link (and back when it is unplugged again).
//
// Everything runs on the UI thread; the scan thread reaches it only through posted calls it waits for.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "controls/device_strip.h"
#include "devices/paired_link.h"
#include "hid/catalogue/device_scanner.h"
#include "hid/interface_table.h"
#include "uilib/paint_manager.h"
#include "uilib/types.h"

namespace norvane::controls {
class CDevicePageUI;
}

namespace norvane::app {

// What the host asks of its window.
struct DeviceHostHooks {
  // The first scan pass is done, or a device arrived: restore the window and bring it to the front.
  std::function<void()> showAndRaise;
  // The selected tab is about to lose its selection: close child windows, end a macro recording.
  std::function<void()> beforeLosingSelection;
  // A page moved between its wired and receiver link: the settings window shows stale values.
  std::function<void()> closeSettingsWindow;
  // What the user should know about a device (language text id, and the number of a text that is a
  // format): a page that could not read its device (the page's own notice says it too), a failed write.
  std::function<void(const ui::CDuiString& textId, std::optional<int> value)> showMessage;
  // A page was created (its editors may want to hear of its refreshes).
  std::function<void(controls::CDevicePageUI& page)> pageCreated;
};

// Timings the host works with; the defaults are the program's own, tests shorten them.
struct DeviceHostOptions {
  hid::catalogue::DeviceScanner::Options scan;
  // How long a page that moves onto a receiver waits for the device behind it.
  devices::LinkWaitOptions linkWait;
};

class DeviceHost {
 public:
  // `manager` is the main window's: the strip's containers are found in it by name. The window registers
  // RegisterDeviceControls and RegisterPageControls before it builds its skin, and destroys the host (or
  // calls Teardown) before its controls and its paint manager go.
  DeviceHost(ui::CPaintManagerUI& manager, DeviceHostHooks hooks);
  DeviceHost(ui::CPaintManagerUI& manager, DeviceHostHooks hooks, DeviceHostOptions options);
  ~DeviceHost();  // stops the scan and tears every page down
  DeviceHost(const DeviceHost&) = delete;
  DeviceHost& operator=(const DeviceHost&) = delete;

  // The mouse and keyboard pages, created hidden at start-up.
  void CreateStartupPages();
  // The scan thread. StopScan waits for it within its bound; safe to call twice.
  void StartScan();
  void StopScan();

  // Arrival and removal handling for interface-list entry `index` (what the scan thread triggers).
  void OnInterfaceFound(std::size_t index);
  void OnInterfaceLost(std::size_t index);
  // Message 3331 from a tab: wParam tab index, lParam 0 hide / 1 show.
  void HandleTabLinkMessage(ui::WPARAM wParam, ui::LPARAM lParam);

  // Stops the scan, then removes every page, power page and tab (main window destruction). The pages'
  // threads have stopped when it returns.
  void Teardown();

  // The window was hidden to the tray or shown again (passed to every page); the system is suspending or
  // resumed (the scan pauses meanwhile and looks again on resume).
  void SetWindowActive(bool active);
  void SetSuspended(bool suspended);

  std::vector<hid::InterfaceEntry> Entries() const;
  controls::DeviceStrip Strip() const;
  // All pages, in creation order.
  std::vector<controls::CDevicePageUI*> Pages() const;
  // The page of the first visible, selected tab; null when none.
  controls::CDevicePageUI* CurrentPage() const;
  // Enumeration passes of the scan so far (for diagnostics and benchmarks).
  std::size_t EnumerationCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace norvane::app
