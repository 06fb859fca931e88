#pragma once
// Which tabs of a page's function switches a function-tab code shows.

#include "devices/page_view.h"
#include "hid/interface_table.h"

namespace norvane::devices {

// 2 or 6: functions 0 with key functions 1; 3 or 8: functions 1; 4: functions 3 on a wired keyboard or
// mouse, else as 7; 7: functions 0 with key functions 2; 5: functions 2; anything else: 0 and 0.
FunctionTabSelection SelectFunctionTabs(int code, hid::DeviceKind kind);

}  // namespace norvane::devices
