#pragma once
// The device strip of the main window: the tabs in "device_select_layout", the device pages in
// "device_switch", the power pages in "device_power_switch" and the notice "No_device_Link" shown while
// no device is there. These functions keep exactly one visible tab selected and tell the pages how many
// tabs are visible.

#include <functional>

#include "controls/device_option.h"
#include "uilib/container.h"
#include "uilib/paint_manager.h"
#include "uilib/tab_layout.h"

namespace norvane::controls {

inline constexpr const char* kDeviceStripName = "device_select_layout";
inline constexpr const char* kNoDeviceNoticeName = "No_device_Link";

struct DeviceStrip {
  ui::CContainerUI* tabs = nullptr;
  ui::CTabLayoutUI* pages = nullptr;
  ui::CTabLayoutUI* powerPages = nullptr;
  ui::CControlUI* noDeviceNotice = nullptr;

  // The strip's containers in a window, found by their names (members stay null when missing).
  static DeviceStrip Find(const ui::CPaintManagerUI& manager);

  int TabCount() const;
  // The tab at index; null when out of range or that item is not a device tab.
  CDeviceOptionUI* Tab(int index) const;
};

// Sets tab t's visibility and, with select, selects it and shows its pages. Then updates the notice, the
// pages' more-than-one-tab flag and the synchro options (unchecked everywhere when fewer than two visible
// tabs have them checked).
void ShowDeviceTab(const DeviceStrip& strip, int tabIndex, bool visible, bool select);

// Hides tab t; when it was the visible selected tab, the first other visible tab becomes selected.
// beforeLosingSelection runs first in that case (the window closes its child windows and ends a macro
// recording there). Nothing for an index without a tab.
void HideDeviceTab(const DeviceStrip& strip, int tabIndex,
                   const std::function<void()>& beforeLosingSelection = {});

// Message 3331 from a tab or page: lParam 0 hides tab wParam (as HideDeviceTab, with the same callback);
// 1 shows it when hidden, selecting it when no tab was visible at all.
void HandleDeviceTabMessage(const DeviceStrip& strip, ui::WPARAM wParam, ui::LPARAM lParam,
                            const std::function<void()>& beforeLosingSelection = {});

// What the window remembers of the selected device after the user chose a tab.
struct SelectedDevice {
  int tabIndex = -1;
  int kind = 0;
  int variant = 0;
};
// The first tab whose device option is selected (index -1 when none), with its icon kind and variant.
SelectedDevice SelectedDeviceOf(const DeviceStrip& strip);

// The first visible tab whose device option is selected; -1 when none.
int SelectedDeviceTab(const DeviceStrip& strip);
// The page of that tab; null when none.
IDeviceTabPage* CurrentDevicePage(const DeviceStrip& strip);

// Selects the nearest visible tab before / after the selected one; false at either end.
bool SelectPreviousDevice(const DeviceStrip& strip);
bool SelectNextDevice(const DeviceStrip& strip);

}  // namespace norvane::controls
