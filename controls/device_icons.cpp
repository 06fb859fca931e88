#include "controls/device_icons.h"

namespace norvane::controls {

std::optional<ui::CDuiString> DeviceIconStem(int kind, int variant) {
  switch (kind) {
    case 1:
      return ui::CDuiString("kb");
    case 2:
      return ui::CDuiString("ms");
    case 3:
      if (variant == 0) return ui::CDuiString("hard_mp");
      if (variant == 1) return ui::CDuiString("soft_mp");
      return std::nullopt;
    case 4:
    case 7:
      return ui::CDuiString("hd");
    case 5:
      return ui::CDuiString("hub");
    default:
      return ui::CDuiString("unknow");
  }
}

DeviceIconSet DeviceIconsForStem(const ui::CDuiString& stem) {
  const QString base = QStringLiteral("common/device_ico/") + stem;
  return DeviceIconSet{base + "_device_normal.svg", base + "_device_selected.svg",
                       base + "_device_synchro_normal.svg", base + "_device_synchro_selected.svg",
                       stem + "_device_name_text"};
}

}  // namespace norvane::controls
