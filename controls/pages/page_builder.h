#pragma once
// Creating the trio of a device page: its power panel in "device_power_switch", the page itself in
// "device_switch" and its tab (hidden) in the device strip, with the page's set-up from the catalogue in
// the order the pages expect it.

#include <optional>

#include "controls/device_option.h"
#include "controls/device_strip.h"
#include "controls/mp_device_power.h"
#include "controls/pages/device_page.h"
#include "hid/interface_table.h"
#include "uilib/dialog_builder.h"

namespace norvane::controls {

struct BuiltPage {
  CDevicePageUI* page = nullptr;
  CMpDevicePowerUI* power = nullptr;
  CDeviceOptionUI* tab = nullptr;
};

// The DevicePageTable row that serves InterfaceTable row `interfaceRow` with `variant`; -1 when none. A
// mouse receiver finds the wired mouse's row (through its partner); a keyboard receiver finds none.
int PageRowForInterface(int interfaceRow, int variant);

// Builds the page of InterfaceTable row `interfaceRow` into `strip` (every container must exist). Nothing
// is added when there is no page row or a skin cannot be built. `callback` builds the classes the control
// factory does not know (the main window's).
std::optional<BuiltPage> BuildDevicePage(const DeviceStrip& strip, int interfaceRow, int variant,
                                         ui::IDialogBuilderCallback* callback);

// Removes the trio of `page` from the strip and deletes it; later tabs' page and power indexes move down.
void RemoveDevicePage(const DeviceStrip& strip, CDevicePageUI* page);

}  // namespace norvane::controls
