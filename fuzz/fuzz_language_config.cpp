// Arbitrary bytes as "Language.config" and as the settings key that names the saved language, read from
// memory. Nothing may crash; the saved language's index is always one the list has (or 0).
// libFuzzer: -max_len=2048
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/language_config.h"
#include "fuzz/fuzz_require.h"
#include "platform/registry_settings.h"

using norvane::fuzz::Require;

namespace {

int IndexFromKey(std::string_view key, const std::vector<norvane::app::LanguageEntry>& entries) {
  return norvane::app::SavedLanguageIndex(norvane::RegistrySettings::ReadValueFromText(key, "LANGUAGE"), entries);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<norvane::app::LanguageEntry> entries = norvane::app::ParseLanguageConfig(bytes);

  // The same bytes as the settings key, and a well-formed key naming each entry's id in turn.
  const int fromBytes = IndexFromKey(bytes, entries);
  Require(fromBytes == 0 || (fromBytes > 0 && static_cast<std::size_t>(fromBytes) < entries.size()));
  for (std::size_t i = 0; i < entries.size() && i < 3; ++i) {
    if (entries[i].id < 0 || entries[i].id > 0xFFFFFFFFLL) continue;
    const int index = IndexFromKey("LANGUAGE=" + std::to_string(entries[i].id) + "\n", entries);
    Require(index >= 0 && static_cast<std::size_t>(index) <= i &&
            entries[static_cast<std::size_t>(index)].id == entries[i].id);
  }
  return 0;
}
