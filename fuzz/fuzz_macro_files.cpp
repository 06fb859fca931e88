// Arbitrary bytes as a device folder's macro list, as a macro file (one of the list's or one to import) and
// as a profile whose keys play macros, all read from memory. Nothing may crash or hang; a macro named by
// anything but a plain file name has no file, and a profile renumbered after a macro goes reads back as a
// profile.
// libFuzzer: -max_len=4096
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_require.h"
#include "macro/event_kinds.h"
#include "macro/macro_files.h"
#include "macro/macro_library.h"
#include "profiles/json_file_util.h"
#include "profiles/macro_references.h"

using norvane::fuzz::Require;

namespace {

void ExerciseEvents(const std::vector<norvane::macro::MacroEvent>& events) {
  for (const norvane::macro::MacroEvent& event : events) {
    (void)norvane::macro::EncodeMacroEvent(event);
    (void)norvane::macro::EventNameId(event);
    (void)norvane::macro::ShownDelay(event.delay);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // Never touched: the library only names its files here.
  const std::filesystem::path folder = "/nonexistent/norvane-fuzz/macros";
  norvane::macro::MacroLibrary library(folder);
  library.LoadListText(bytes);
  Require(library.Count() <= norvane::macro::kMaxMacros && library.Names().size() == library.Count());
  for (int i = 0; i < static_cast<int>(library.Count()); ++i) {
    const std::filesystem::path file = library.FileOf(i);
    Require(file.empty() || file.parent_path() == folder);
  }
  ExerciseEvents(norvane::macro::ParseMacroEvents(bytes));

  for (const int removed : {0, 1}) {
    if (const std::optional<norvane::RenumberedProfile> renumbered = norvane::RenumberProfileText(bytes, removed)) {
      Json::Value back;
      Require(norvane::JsonFileUtil::TryParseJson(renumbered->text, back) && back["Device"].isArray());
    }
  }
  return 0;
}
