#pragma once
// The lists a device page offers: its effects with their device mode codes (the mode table), the area
// effects, the user's custom light lists and macros. Read from the default light list of the default-data
// folder, the light configuration and the macro list of the device folder, by the model's variant index.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <json/json.h>

#include "macro/macro_files.h"

namespace norvane::devices {

class CNorvaneUSBDevice;

struct EffectLists {
  std::vector<std::string> effectNames;
  std::vector<std::uint8_t> effectVisible;
  std::vector<std::uint8_t> modeTable;  // device mode code per effect, in list order
  std::vector<std::string> areaNames;
  std::vector<std::string> customLightNames;
  std::vector<std::string> macroNames;
};

// Missing or damaged files give empty lists; an element without a usable "value" keeps its own index as
// code, so an effect is never written as another one.
EffectLists ReadEffectLists(const std::filesystem::path& defaultLightFile,
                            const std::filesystem::path& lightConfigFile,
                            const std::filesystem::path& macroFolder, int variant);

// The same from the parsed default light list and light configuration and the macro list's entries.
EffectLists EffectListsOf(const Json::Value& defaultLight, const Json::Value& lightConfig,
                          const std::vector<macro::MacroEntry>& macros, int variant);

// The lists of a device page: the default light list by its variant, its own light configuration and macros.
EffectLists ReadPageEffectLists(const CNorvaneUSBDevice& device);

}  // namespace norvane::devices
