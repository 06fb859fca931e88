// Arbitrary bytes as the default light list, as a device's light configuration with the custom light file
// it names, and as the macro list, read from memory: the effect, area, custom light and macro lists a page
// offers for every variant. Nothing may crash or hang; every effect has its visibility and its mode code,
// and a custom light file is only ever named inside the configuration's folder.
// libFuzzer: -max_len=4096
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

#include "devices/effect_lists.h"
#include "fuzz/fuzz_require.h"
#include "macro/macro_files.h"
#include "profiles/basic_profiledata.h"
#include "profiles/json_file_util.h"

using norvane::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Json::Value document = norvane::JsonFileUtil::ParseJson(bytes);
  const std::vector<norvane::macro::MacroEntry> macros = norvane::macro::ParseMacroList(bytes);
  for (int variant = -1; variant <= 4; ++variant) {
    const norvane::devices::EffectLists lists = norvane::devices::EffectListsOf(document, document, macros, variant);
    Require(lists.effectNames.size() == lists.modeTable.size() &&
            lists.effectNames.size() == lists.effectVisible.size());
    Require(lists.macroNames.size() == macros.size());
  }

  // The configuration names the custom light file of each light mode.
  const std::filesystem::path folder = "/nonexistent/norvane-fuzz/device";
  norvane::CBasicProfiledata profile;
  profile.SetLightConfigPath(folder / "vexor_light.config");
  profile.LoadLightConfigFromText(bytes);
  for (std::int32_t mode = 0; mode < 4; ++mode) {
    norvane::LightEffect light = profile.GetLightInfo();
    light.mode = static_cast<std::uint8_t>(mode);
    profile.SetLightInfo(light);
    const std::filesystem::path steps = profile.CustomLightStepsFile();
    Require(steps.empty() || steps.parent_path() == folder);
  }
  (void)norvane::CBasicProfiledata::ParseLightSteps(bytes);
  return 0;
}
