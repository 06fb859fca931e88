#pragma once
// What the benchmarks share: the emulated device's command collection, and the set-up of the benchmarks
// that build real widgets (a QApplication without a display on the shipped skins, texts and default data).

#include <string>

#include "devices/keyboard/keyboard_device.h"
#include "hid/hid_device.h"
#include "hid/interface_table.h"

namespace norvane::bench {

// The first vendor command collection on the active HID backend; empty when there is none.
inline std::string FirstCommandPath() {
  hid::HidDevice walker;
  walker.EnumerateInterfaces();
  while (const std::string* path = walker.NextInterfacePath()) {
    const auto row =
        hid::FindCandidateRow(hid::ParseVendorId(*path), hid::ParseProductId(*path),
                              hid::ParseInterfaceNumber(*path), hid::ParseCollectionNumber(*path));
    if (row && hid::InterfaceTable()[*row].IsVendorCommandInterface()) return *path;
  }
  return {};
}

// A keyboard as the page builder sets one up: its counts, its device folder and its file stems.
inline void SetUpKeyboard(devices::CNorvaneKeyboardDevice& keyboard) {
  keyboard.SetKeyCount(170);
  keyboard.SetLedCount(170);
  keyboard.SetDeviceFolder("keyboard");
  keyboard.SetProfileStem("Profile1");
  keyboard.SetLightListStem("vexor_light");
}

}  // namespace norvane::bench
