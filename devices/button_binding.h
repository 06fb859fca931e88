#pragma once
// Which key or LED a page button stands for. Key buttons are named "key_" + key number (the prefix in any
// case); light buttons carry "light_" + LED number in their user data, and a second button of the same LED
// is named "light_0_" + LED number. The UI layer binds its buttons with
// these; a number at or beyond the page's count binds nothing.

#include <optional>
#include <string_view>

namespace norvane::devices {

// The key index of a button named like "key_12" / "KEY_12", when below key_count.
std::optional<int> KeyIndexFromName(std::string_view name, int key_count);

// The LED index of a button whose user data reads like "light_7", when below led_count.
std::optional<int> LedIndexFromUserData(std::string_view user_data, int led_count);

// The LED index of a second button of an LED, named like "light_0_7", when below led_count.
std::optional<int> MirrorLedIndexFromName(std::string_view name, int led_count);

}  // namespace norvane::devices
