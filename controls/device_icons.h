#pragma once
// The icons of a device tab, chosen by the device's kind code and variant.

#include <optional>

#include "uilib/dui_string.h"

namespace norvane::controls {

struct DeviceIconSet {
  ui::CDuiString normal;  // also the disabled image
  ui::CDuiString selected;
  ui::CDuiString synchroNormal;
  ui::CDuiString synchroSelected;
  ui::CDuiString tooltipTextId;
};

// The icon stem of a kind and variant: "kb", "ms", "hard_mp", "soft_mp", "hd", "hub" or "unknow". None for a
// mouse pad (kind 3) of an unknown variant: its tab keeps the icons it has.
std::optional<ui::CDuiString> DeviceIconStem(int kind, int variant);

// The image paths and tool tip id of a stem.
DeviceIconSet DeviceIconsForStem(const ui::CDuiString& stem);

// The set a tab starts with, before its kind is known.
inline DeviceIconSet UnknownDeviceIcons() {
  return DeviceIconsForStem("unknow");
}

}  // namespace norvane::controls
