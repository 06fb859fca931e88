#pragma once
// Colour values as skins write them: "#RRGGBB", "#AARRGGBB" or "0xAARRGGBB" (six digits mean opaque).

#include <QString>
#include <optional>

#include "uilib/types.h"

namespace norvane::ui {

std::optional<DWORD> ParseColorValue(const QString& text);

}  // namespace norvane::ui
