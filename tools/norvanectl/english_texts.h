#pragma once
// The English texts of the program's language file ("lan_en.xml" in the skin folder), by text id: how
// norvanectl knows a key by the caption the page shows. A file that cannot be read gives no texts.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace norvane::cli {

using TextTable = std::map<std::string, std::string, std::less<>>;

// Every `<Text id="..." value="..."/>` of the text, the five XML entities decoded; anything else is
// passed over.
TextTable ParseLanguageTexts(std::string_view text);

// The program's English texts (read once per skin folder).
const TextTable& EnglishTexts();

// Reads the texts from another skin folder (tests, running from the source tree); empty: the program's.
void SetSkinFolderOverride(const std::filesystem::path& folder);

}  // namespace norvane::cli
