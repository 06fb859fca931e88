// Loading and saving a full keyboard profile (170 keys, three colour groups), as every profile selection
// and every setting change does.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "profiles/keyboard_profiledata.h"

namespace {

const std::filesystem::path kDefaultKeyboard =
    std::filesystem::path(NORVANE_SOURCE_DIR) / "DefaultData" / "keyboard.Json";

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "norvane-bench-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

norvane::CKeyboardProfiledata PreparedProfile(const std::filesystem::path& file) {
  norvane::CKeyboardProfiledata document;
  document.SetDefaultPath(kDefaultKeyboard);
  document.SetFilePath(file);
  document.LoadEntry(file);  // creates the file from the default profile
  return document;
}

void BM_LoadKeyboardProfile(benchmark::State& state) {
  ScratchFolder folder;
  const auto file = folder.path() / "profile.Json";
  norvane::CKeyboardProfiledata document = PreparedProfile(file);
  for (auto _ : state) {
    document.LoadEntry(file);
    benchmark::DoNotOptimize(document.GetLightInfo());
    benchmark::DoNotOptimize(document.GetKeyList());
    benchmark::DoNotOptimize(document.GetSystemStages());
    benchmark::DoNotOptimize(document.GetLightColors(document.GetLightColorGroup(), 170));
  }
}
BENCHMARK(BM_LoadKeyboardProfile)->Unit(benchmark::kMillisecond);

void BM_SaveKeyboardProfile(benchmark::State& state) {
  ScratchFolder folder;
  const auto file = folder.path() / "profile.Json";
  norvane::CKeyboardProfiledata document = PreparedProfile(file);
  auto keys = document.GetKeyList();
  std::uint8_t value = 0;
  for (auto _ : state) {
    keys[0].current.data2 = ++value;
    document.SetKeyList(keys);
    if (!document.Save()) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveKeyboardProfile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
