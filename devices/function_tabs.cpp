#include "devices/function_tabs.h"

namespace norvane::devices {

FunctionTabSelection SelectFunctionTabs(int code, hid::DeviceKind kind) {
  if (code == 4 && kind != hid::DeviceKind::kKeyboard && kind != hid::DeviceKind::kMouse) code = 7;
  switch (code) {
    case 2:
    case 6:
      return {0, 1};
    case 3:
    case 8:
      return {1, -1};
    case 4:
      return {3, -1};
    case 7:
      return {0, 2};
    case 5:
      return {2, -1};
    default:
      return {0, 0};
  }
}

}  // namespace norvane::devices
