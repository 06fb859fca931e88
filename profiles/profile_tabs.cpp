#include "profiles/profile_tabs.h"

namespace norvane {

std::string_view ProfileTabName(int number) {
  if (number < 1 || number > static_cast<int>(kProfileTabNames.size())) return {};
  return kProfileTabNames[static_cast<std::size_t>(number - 1)];
}

bool IsProfileTabVisible(int device_kind, std::string_view tab_name) {
  const bool headset = device_kind == 7;
  if (tab_name == "6533_voice_Op_tab" || tab_name == "magic_Op_tab" || tab_name == "Virtual7.1_Op_tab") {
    return headset;
  }
  const bool mouse = device_kind == 2 || device_kind == 6;
  const bool lighting_only = device_kind == 3 || device_kind == 5 || headset;
  if (tab_name == "cursor_Op_tab") return mouse;
  if (tab_name == "key_Op_tab" || tab_name == "macro_Op_tab") return !lighting_only && device_kind != 4;
  if (tab_name == "system_Op_tab") return !lighting_only;
  return true;
}

}  // namespace norvane
