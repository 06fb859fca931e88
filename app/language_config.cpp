#include "app/language_config.h"

#include "platform/trace.h"
#include "platform/xdg_paths.h"
#include "profiles/json_access.h"
#include "profiles/json_file_util.h"

namespace norvane::app {

using namespace norvane::json;

std::filesystem::path LanguageConfigFile() {
  return DefaultDataFolder() / "Language.config";
}

std::vector<LanguageEntry> ReadLanguageConfig(const std::filesystem::path& file) {
  return ParseLanguageConfig(JsonFileUtil().readjsonFile(file));
}

std::vector<LanguageEntry> ParseLanguageConfig(std::string_view text) {
  std::vector<LanguageEntry> entries;
  const Json::Value document = JsonFileUtil::ParseJson(text);
  const Json::Value& list = Member(document, "Language");
  for (std::int64_t i = 0; i < ArraySize(list); ++i) {
    const Json::Value& item = Element(list, i);
    LanguageEntry entry;
    entry.id = ToInteger(Member(item, "Language_ID")).value_or(0);
    entry.name = ReadString(item, "Language_name");
    entry.file = ReadString(item, "Language_file");
    entry.textId = ReadString(item, "Language_text");
    entries.push_back(std::move(entry));
  }
  return entries;
}

int SavedLanguageIndex(const RegistrySettings& settings, const std::vector<LanguageEntry>& entries) {
  return SavedLanguageIndex(settings.ReadValue(kLanguageValueName), entries);
}

int SavedLanguageIndex(const SettingsReadResult& read, const std::vector<LanguageEntry>& entries) {
  if (read.lookup == SettingsLookup::kKeyMissing) return 0;
  const std::int64_t id = read.lookup == SettingsLookup::kFound ? read.value : kDefaultLanguageId;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].id == id) return static_cast<int>(i);
  }
  return 0;
}

bool SaveLanguageId(const RegistrySettings& settings, std::int64_t id) {
  if (id < 0 || id > 0xFFFFFFFFLL) return false;
  if (!settings.WriteValue(kLanguageValueName, static_cast<std::uint32_t>(id)).ok) return false;
  Trace("language: saved " + std::to_string(id));
  return true;
}

}  // namespace norvane::app
