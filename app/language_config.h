#pragma once
// The languages the program offers: "Language.config" in the default-data folder, a JSON document whose
// array "Language" lists them; a language's index is its place in that array. The chosen one is remembered
// as its "Language_ID" in the settings key's value "LANGUAGE".

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_settings.h"

namespace norvane::app {

struct LanguageEntry {
  std::int64_t id = 0;  // "Language_ID"
  std::string name;     // "Language_name", given to the resource manager
  std::string file;     // "Language_file", the language text file in the skin folder
  std::string textId;   // "Language_text", the entry's label in the settings window
};

// DefaultDataFolder() / "Language.config".
std::filesystem::path LanguageConfigFile();

// The entries in file order; none when the file is missing, does not parse or has no "Language" array.
// Entries with a wrong type of value read those values as missing (0 or empty).
std::vector<LanguageEntry> ReadLanguageConfig(const std::filesystem::path& file = LanguageConfigFile());
// The same from the file's text.
std::vector<LanguageEntry> ParseLanguageConfig(std::string_view text);

// The value read when the key exists without "LANGUAGE".
inline constexpr std::uint32_t kDefaultLanguageId = 520;

// The index of the saved language: 0 when the key is missing; the entry whose id is the stored value (520
// when the key has no such value); 0 when no entry carries it.
int SavedLanguageIndex(const RegistrySettings& settings, const std::vector<LanguageEntry>& entries);
// The same from the value as read.
int SavedLanguageIndex(const SettingsReadResult& read, const std::vector<LanguageEntry>& entries);

// Keeps `id` as the chosen language in an existing key (the key is never created here). False when there is
// no key, the id does not fit the value or the write failed.
bool SaveLanguageId(const RegistrySettings& settings, std::int64_t id);

}  // namespace norvane::app
