#pragma once
// How a skin's control names carry a number: everything up to and including the last underscore is the
// prefix, the text after it the number. The number is the value of an all-digit text (never negative,
// capped at INT_MAX), else 0: "color_option_12" gives "color_option_" and 12, "key_butt_keysave" gives
// "key_butt_" and 0, "key_-1" gives "key_" and 0. A name without an underscore has no split. Skins are data
// from outside the program, so every caller still range-checks the number for what it indexes.

#include <optional>
#include <string_view>

#include "uilib/dui_string.h"

namespace norvane::ui {

struct ControlNameSplit {
  CDuiString prefix;  // keeps the underscore
  int number = 0;
};

std::optional<ControlNameSplit> SplitControlName(const CDuiString& name);

// The number of an all-digit text, capped at INT_MAX; 0 for an empty text or one with anything else in it.
int DigitsValue(QStringView digits);

}  // namespace norvane::ui
