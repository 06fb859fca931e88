#pragma once
// Creating the trio of a device page: its power panel in "device_power_switch", the page itself in
// "device_switch" and its tab (hidden) in the device strip, with the page's set-up from the kinds table
// and the catalogue in the order the pages expect it.

#include <optional>

#include "controls/device_option.h"
#include "controls/device_strip.h"
#include "controls/mp_device_power.h"
#include "controls/pages/device_page.h"
#include "devices/device_kinds.h"
#include "hid/catalogue/device_catalogue.h"
#include "hid/interface_table.h"
#include "uilib/dialog_builder.h"

namespace norvane::controls {

struct BuiltPage {
  CDevicePageUI* page = nullptr;
  CMpDevicePowerUI* power = nullptr;
  CDeviceOptionUI* tab = nullptr;
};

// Everything a page is built from: its kind's row, its model's catalogue rows and the interface it is
// identified by.
struct PagePlan {
  const devices::DeviceKindRow* kind = nullptr;
  int modelIndex = 0;  // the catalogue row (also the page index of the start-up pages)
  hid::catalogue::DevicePageRow model;
  hid::catalogue::DevicePageFilesRow files;
  hid::InterfaceEntry identity;   // the wired entry, also for a page reached through its receiver
  std::uint16_t linkKind = 0;     // the kind code of the interface the page was made for
  int variant = 0;
};

// The DevicePageTable row that serves InterfaceTable row `interfaceRow` with `variant`; -1 when none. A
// receiver finds its wired partner's row.
int PageRowForInterface(int interfaceRow, int variant);

// The plan of the page of InterfaceTable row `interfaceRow`; nullopt when no page row or kind serves it.
std::optional<PagePlan> PlanForInterface(int interfaceRow, int variant);

// Builds the page into `strip` (every container must exist). Nothing is added when a skin cannot be built.
// `callback` builds the classes the control factory does not know (the main window's).
std::optional<BuiltPage> BuildDevicePage(const DeviceStrip& strip, const PagePlan& plan,
                                         ui::IDialogBuilderCallback* callback);
std::optional<BuiltPage> BuildDevicePage(const DeviceStrip& strip, int interfaceRow, int variant,
                                         ui::IDialogBuilderCallback* callback);

// Removes the trio of `page` from the strip and deletes it; later tabs' page and power indexes move down.
void RemoveDevicePage(const DeviceStrip& strip, CDevicePageUI* page);

}  // namespace norvane::controls
