#include "tools/norvanectl/english_texts.h"

#include <array>
#include <fstream>
#include <optional>
#include <sstream>
#include <utility>

#include "platform/xdg_paths.h"

namespace norvane::cli {
namespace {

std::string DecodeEntities(std::string_view raw) {
  static constexpr std::array<std::pair<std::string_view, char>, 5> kEntities = {{
      {"&quot;", '"'}, {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''},
  }};
  std::string decoded;
  for (std::size_t i = 0; i < raw.size();) {
    bool replaced = false;
    for (const auto& [entity, character] : kEntities) {
      if (raw.substr(i).starts_with(entity)) {
        decoded += character;
        i += entity.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) decoded += raw[i++];
  }
  return decoded;
}

// The value of attribute `name` inside one element's text; nullopt when missing or unterminated.
std::optional<std::string_view> Attribute(std::string_view element, std::string_view name) {
  const std::string opening = " " + std::string(name) + "=\"";
  const std::size_t at = element.find(opening);
  if (at == std::string_view::npos) return std::nullopt;
  const std::size_t begin = at + opening.size();
  const std::size_t end = element.find('"', begin);
  if (end == std::string_view::npos) return std::nullopt;
  return element.substr(begin, end - begin);
}

}  // namespace

TextTable ParseLanguageTexts(std::string_view text) {
  TextTable texts;
  constexpr std::string_view kOpening = "<Text ";
  for (std::size_t at = text.find(kOpening); at != std::string_view::npos; at = text.find(kOpening, at + 1)) {
    const std::size_t end = text.find('>', at);
    if (end == std::string_view::npos) break;
    const std::string_view element = text.substr(at, end - at);
    const std::optional<std::string_view> id = Attribute(element, "id");
    const std::optional<std::string_view> value = Attribute(element, "value");
    if (id && value) texts.emplace(DecodeEntities(*id), DecodeEntities(*value));
  }
  return texts;
}

namespace {
std::filesystem::path& SkinOverride() {
  static std::filesystem::path folder;
  return folder;
}
}  // namespace

void SetSkinFolderOverride(const std::filesystem::path& folder) {
  SkinOverride() = folder;
}

const TextTable& EnglishTexts() {
  static std::map<std::filesystem::path, TextTable> read;
  const std::filesystem::path folder = SkinOverride().empty() ? ProgramDataFolder() / "skin" : SkinOverride();
  if (const auto found = read.find(folder); found != read.end()) return found->second;
  std::ifstream in(folder / "lan_en.xml", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return read.emplace(folder, ParseLanguageTexts(text.str())).first->second;
}

}  // namespace norvane::cli
