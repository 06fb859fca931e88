// Arbitrary bytes as "Language.config" and as the settings key that names the saved language. Nothing may
// crash; the saved language's index is always one the list has (or 0).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "app/language_config.h"
#include "fuzz/fuzz_scratch_folder.h"
#include <fstream>
#include <string>
#include "platform/registry_settings.h"

namespace {

const std::filesystem::path& ScratchFolder() {
  static const norvane::fuzz::ScratchFolderOwner owner("languages");
  return owner.path();
}

void Require(bool condition) {
  if (!condition) std::abort();
}

// A plain write: the program's own atomic write flushes to disk, which would dominate the run time.
void Write(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path config = ScratchFolder() / "Language.config";
  const std::filesystem::path key = ScratchFolder() / "registry.ini";
  Write(config, bytes);
  const std::vector<norvane::app::LanguageEntry> entries = norvane::app::ReadLanguageConfig(config);

  // The same bytes as the settings key, and a well-formed key naming each entry's id in turn.
  Write(key, bytes);
  const norvane::RegistrySettings settings(key);
  const int fromBytes = norvane::app::SavedLanguageIndex(settings, entries);
  Require(fromBytes == 0 || (fromBytes > 0 && static_cast<std::size_t>(fromBytes) < entries.size()));
  for (std::size_t i = 0; i < entries.size() && i < 3; ++i) {
    if (entries[i].id < 0 || entries[i].id > 0xFFFFFFFFLL) continue;
    Write(key, "LANGUAGE=" + std::to_string(entries[i].id) + "\n");
    const int index = norvane::app::SavedLanguageIndex(settings, entries);
    Require(index >= 0 && static_cast<std::size_t>(index) <= i &&
            entries[static_cast<std::size_t>(index)].id == entries[i].id);
  }
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder(), ignored))
    std::filesystem::remove(entry.path(), ignored);
  return 0;
}
