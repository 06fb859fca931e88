#pragma once
// Which face the program's texts are drawn in for a language, and when a language switch rebuilds the font
// table. A face is a name the languages agree on; it is drawn with the fonts the program ships or the
// system has, always ending in one that has Chinese characters, so that no text shows as boxes.

#include <QStringList>
#include <cstdint>
#include <string_view>

namespace norvane::app {

// The rebuild rule of a language switch from language index `current` (-1 before the first) to `next`:
// when the new index is 0, 2 or 15, or the current one is 15, -1, 2 or 0.
[[nodiscard]] bool NeedsFontRebuild(int next, int current);

// The face for a language, by its "Language_ID": Simplified Chinese (2052) "汉仪菱心体简", Traditional
// Chinese (1028, 3076, 5124) "Noto Sans CJK TC Regular", Thai (1054) "Noto Sans Thai", every other
// "Verdana Unicode MS".
[[nodiscard]] std::string_view FaceForLanguage(std::int64_t languageId);

// The installed families that draw `face`, best first; never empty while the system has any font.
[[nodiscard]] QStringList FamiliesForFace(std::string_view face);

// Rebuilds the font table in `face` (every open window follows).
void RebuildFontTable(std::string_view face);
// The face of the last rebuild; empty before the first.
[[nodiscard]] std::string_view CurrentFontFace();

}  // namespace norvane::app
