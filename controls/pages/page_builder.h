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
#include "devices/device_plan.h"
#include "hid/catalogue/device_catalogue.h"
#include "hid/interface_table.h"
#include "uilib/dialog_builder.h"

namespace norvane::controls {

struct BuiltPage {
  CDevicePageUI* page = nullptr;
  CMpDevicePowerUI* power = nullptr;
  CDeviceOptionUI* tab = nullptr;
};

// Everything a page is built from (shared with the device objects norvanectl sets up).
using PagePlan = devices::DevicePlan;
using devices::PageRowForInterface;
using devices::PlanForInterface;

// Builds the page into `strip` (every container must exist). Nothing is added when a skin cannot be built.
// `callback` builds the classes the control factory does not know (the main window's).
std::optional<BuiltPage> BuildDevicePage(const DeviceStrip& strip, const PagePlan& plan,
                                         ui::IDialogBuilderCallback* callback);
std::optional<BuiltPage> BuildDevicePage(const DeviceStrip& strip, int interfaceRow, int variant,
                                         ui::IDialogBuilderCallback* callback);

// Removes the trio of `page` from the strip and deletes it; later tabs' page and power indexes move down.
void RemoveDevicePage(const DeviceStrip& strip, CDevicePageUI* page);

}  // namespace norvane::controls
