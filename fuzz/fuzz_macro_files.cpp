// Arbitrary bytes as a device folder's macro list, as the macro files it names, as a macro file to import
// and as a profile whose keys play macros. Nothing may crash, hang or touch a file outside the scratch
// folder.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "macro/event_kinds.h"
#include "macro/macro_library.h"
#include "fuzz/fuzz_scratch_folder.h"
#include "platform/atomic_file.h"
#include "profiles/macro_references.h"

namespace {

using norvane::WriteFileAtomically;

const std::filesystem::path& ScratchFolder() {
  static const norvane::fuzz::ScratchFolderOwner owner("macros");
  return owner.path();
}

void ExerciseEvents(const std::vector<norvane::macro::MacroEvent>& events) {
  for (const norvane::macro::MacroEvent& event : events) {
    (void)norvane::macro::EncodeMacroEvent(event);
    (void)norvane::macro::EventNameId(event);
    (void)norvane::macro::ShownDelay(event.delay);
  }
}

void ExerciseLibrary(const std::filesystem::path& folder, std::string_view bytes) {
  norvane::macro::MacroLibrary library(folder);
  library.Load();
  // The macros the list names get the same bytes as their files, as far as their names are plain.
  for (int i = 0; i < static_cast<int>(library.Count()) && i < 3; ++i) {
    const std::filesystem::path file = library.FileOf(i);
    if (!file.empty()) WriteFileAtomically(file, bytes);
  }
  for (int i = 0; i < static_cast<int>(library.Count()); ++i) {
    ExerciseEvents(library.Events(i));
    (void)library.Export(i, folder / "export.mac");
  }
  (void)library.Names();
  const std::vector<norvane::macro::MacroEvent> events =
      library.Count() > 0 ? library.Events(0) : std::vector<norvane::macro::MacroEvent>{};
  (void)library.Save(0, events);
  (void)library.Rename(0, "renamed");
  (void)library.Add();
  (void)library.Import(folder.parent_path() / "import.mac");
  (void)library.Delete(0);
  (void)library.Delete(static_cast<int>(library.Count()) - 1);
}

void ExerciseRemoval(const std::filesystem::path& folder) {
  const std::vector<std::filesystem::path> profiles = {folder / "profile.Json"};
  for (const int removed : {0, 1}) {
    const norvane::MacroRemovalPlan plan = norvane::PlanMacroRemoval(profiles, profiles.front(), removed);
    (void)norvane::CommitMacroRemoval(plan, [] { return true; });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path folder = ScratchFolder() / "device";
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder);

  WriteFileAtomically(folder / "macro.config", bytes);
  WriteFileAtomically(ScratchFolder() / "import.mac", bytes);
  WriteFileAtomically(folder / "profile.Json", bytes);
  ExerciseEvents(norvane::macro::ReadMacroEvents(ScratchFolder(), "import"));
  ExerciseLibrary(folder, bytes);
  ExerciseRemoval(folder);

  std::filesystem::remove_all(folder, ignored);
  return 0;
}
