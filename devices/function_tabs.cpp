#include "devices/function_tabs.h"

#include "devices/device_kinds.h"

namespace norvane::devices {

FunctionTabSelection SelectFunctionTabs(int code, hid::DeviceKind kind) {
  // The system tab is a wired page's of a kind that has one; the others show the surround switch instead.
  const auto code_of_kind = std::uint16_t(kind);
  if (code == 4 && (!ShowsFunctionTab(code_of_kind, 4) || PageKindCode(code_of_kind) != code_of_kind)) code = 7;
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
