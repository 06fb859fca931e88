#pragma once
// Which function tabs of the profile bar a device kind shows. Tabs are numbered 1 to 8 in this order:
// "deng_Op_tab", "key_Op_tab", "macro_Op_tab", "system_Op_tab", "cursor_Op_tab", "6533_voice_Op_tab",
// "magic_Op_tab", "Virtual7.1_Op_tab".

#include <array>
#include <string_view>

namespace norvane {

inline constexpr std::array<std::string_view, 8> kProfileTabNames = {
    "deng_Op_tab",   "key_Op_tab",        "macro_Op_tab", "system_Op_tab",
    "cursor_Op_tab", "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"};

// The control name of tab number 1..8; empty for any other number.
std::string_view ProfileTabName(int number);

// Whether the profile bar of a device of this kind shows the named tab. The three headset tabs show only
// for the headset (kind 7); the others are hidden per kind: the pointer tab on everything but mice (2, 6),
// and the key, macro and system tabs on pads, hubs and headsets (the system tab stays for kind 4).
bool IsProfileTabVisible(int device_kind, std::string_view tab_name);

}  // namespace norvane
