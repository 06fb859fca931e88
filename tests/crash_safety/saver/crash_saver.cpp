// Saves a keyboard profile and a macro over and over until it is killed, the way the program saves them: the
// profile through its document (read, change the device entry, write the whole file back), the macro through
// the macro library. Each round is one generation, counted in the profile entry, so that whoever kills it
// can tell which saves it saw finish.
//
//   norvane_crash_saver FOLDER DEFAULT_PROFILE
//
// The profile is FOLDER/Profile1.Json, loaded first as the program loads it at start (a damaged file is kept
// aside as ".bak" and repaired from DEFAULT_PROFILE); the macro is the first of FOLDER's macro list. Exit
// status 1 when a save fails: the tests count that as a fault.

#include <cstdio>
#include <filesystem>
#include <vector>

#include "macro/macro_event.h"
#include "macro/macro_library.h"
#include "profiles/basic_profiledata.h"

namespace {

constexpr const char* kGenerationKey = "KillTestGeneration";

std::vector<norvane::macro::MacroEvent> EventsOf(long long generation) {
  // A different length each round, so that an old and a new file differ in size as well as in content.
  std::vector<norvane::macro::MacroEvent> events;
  const long long count = 1 + generation % 40;
  for (long long i = 0; i < count; ++i) {
    events.push_back({i % 2 == 0 ? "down" : "up", 4 + static_cast<int>(i % 20), 10 + i, 1});
  }
  return events;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: norvane_crash_saver FOLDER DEFAULT_PROFILE\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::filesystem::path profilePath = folder / "Profile1.Json";

  norvane::CBasicProfiledata profile;
  profile.SetDefaultPath(argv[2]);
  Json::Value entry = profile.LoadEntry(profilePath);
  if (!profile.GetLastLoadResult() || !entry.isObject()) {
    std::fprintf(stderr, "norvane_crash_saver: cannot load %s\n", profilePath.c_str());
    return 1;
  }
  norvane::macro::MacroLibrary macros(folder);
  macros.Load();
  if (macros.Count() == 0 && macros.Add().empty()) {
    std::fprintf(stderr, "norvane_crash_saver: cannot add a macro in %s\n", folder.c_str());
    return 1;
  }

  for (long long generation = entry.get(kGenerationKey, 0).asInt64() + 1;; ++generation) {
    entry[kGenerationKey] = static_cast<Json::Int64>(generation);
    if (const norvane::FileResult saved = profile.SaveEntry(entry, profilePath); !saved) {
      std::fprintf(stderr, "norvane_crash_saver: %s\n", saved.error.c_str());
      return 1;
    }
    if (!macros.Save(0, EventsOf(generation))) {
      std::fprintf(stderr, "norvane_crash_saver: cannot save the macro\n");
      return 1;
    }
  }
}
