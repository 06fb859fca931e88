#include "devices/effect_lists.h"

#include "devices/usb_device.h"
#include "macro/macro_files.h"
#include "platform/xdg_paths.h"
#include "profiles/json_access.h"
#include "profiles/json_file_util.h"

namespace norvane::devices {
namespace {

std::vector<std::string> NamesOf(const Json::Value& array) {
  std::vector<std::string> names;
  for (std::int64_t i = 0; i < json::ArraySize(array); ++i) {
    names.push_back(json::ReadString(json::Element(array, i), "LightName"));
  }
  return names;
}

}  // namespace

EffectLists ReadEffectLists(const std::filesystem::path& defaultLightFile,
                            const std::filesystem::path& lightConfigFile,
                            const std::filesystem::path& macroFolder, int variant) {
  const JsonFileUtil files;
  return EffectListsOf(defaultLightFile.empty() ? Json::Value() : files.ReadJsonValue(defaultLightFile),
                       lightConfigFile.empty() ? Json::Value() : files.ReadJsonValue(lightConfigFile),
                       macroFolder.empty() ? std::vector<macro::MacroEntry>{} : macro::ReadMacroList(macroFolder),
                       variant);
}

EffectLists EffectListsOf(const Json::Value& defaults, const Json::Value& config,
                          const std::vector<macro::MacroEntry>& macros, int variant) {
  EffectLists lists;
  const Json::Value& effects = json::Element(json::Member(defaults, "DefaultLightName"), variant);
  for (std::int64_t i = 0; i < json::ArraySize(effects); ++i) {
    const Json::Value& effect = json::Element(effects, i);
    lists.effectNames.push_back(json::ReadString(effect, "LightName"));
    lists.effectVisible.push_back(json::ReadFlag(effect, "visible"));
    const auto code = json::ToInteger(json::Member(effect, "value"));
    lists.modeTable.push_back(static_cast<std::uint8_t>(code.value_or(i)));
  }
  lists.areaNames = NamesOf(json::Element(json::Member(defaults, "AreaLightName"), variant));
  lists.customLightNames = NamesOf(json::Element(json::Member(config, "LightInfo"), variant));
  for (const macro::MacroEntry& entry : macros) lists.macroNames.push_back(entry.name);
  return lists;
}

EffectLists ReadPageEffectLists(const CNorvaneUSBDevice& device) {
  return ReadEffectLists(DefaultDataFolder() / "default_light.json", device.LightListFile(),
                         device.UserProfileFolder(), device.GetVariantIndex());
}

}  // namespace norvane::devices
