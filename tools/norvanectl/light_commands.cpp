// light show and light set: a device's lighting effect and its parameters, changed the way the lighting
// editor changes them.
#include <cstdio>
#include <optional>

#include "devices/effect_lists.h"
#include "devices/light_writes.h"
#include "protocol/command_codes.h"
#include "tools/norvanectl/cli_commands.h"
#include "tools/norvanectl/command_parts.h"
#include "tools/norvanectl/english_texts.h"
#include "tools/norvanectl/info_reader.h"

namespace norvane::cli {
namespace {

constexpr int kHighestLevel = 4;

std::string EffectName(const std::string& nameKey) {
  const TextTable& english = EnglishTexts();
  const auto found = english.find(nameKey);
  return found != english.end() && !found->second.empty() ? found->second : nameKey;
}

struct LightChange {
  std::string mode;
  std::optional<unsigned> colour;
  std::optional<int> brightness;
  std::optional<int> speed;
  std::optional<int> direction;  // the page's value: 1 left, 0 right
};

// The effect a user names: its index in the default light list, or its English name (any case, spaces or
// '-'), or its name key.
std::optional<int> EffectNamed(const devices::EffectLists& lists, const std::string& wanted) {
  if (const std::optional<int> index = WholeNumber(wanted, 0, int(lists.effectNames.size()) - 1)) return index;
  const auto spelled = [](std::string text) {
    text = Lower(text);
    for (char& c : text) {
      if (c == ' ') c = '-';
    }
    return text;
  };
  for (std::size_t i = 0; i < lists.effectNames.size(); ++i) {
    const std::string& key = lists.effectNames[i];
    if (spelled(EffectName(key)) == spelled(wanted) || Lower(key) == Lower(wanted)) return int(i);
  }
  return std::nullopt;
}

CommandOutput ShowLight(OpenedDevice& opened, bool json) {
  devices::CNorvaneUSBDevice& device = *opened.device;
  const devices::EffectLists lists = devices::ReadPageEffectLists(device);
  const lighting::LightParams p = device.GetLightParams();
  const std::string mode = p.mode < lists.effectNames.size() ? EffectName(lists.effectNames[p.mode]) : "";
  char colour[8];
  std::snprintf(colour, sizeof colour, "%02x%02x%02x", p.red, p.green, p.blue);
  if (json) {
    Json::Value root;
    root["mode"] = p.mode;
    root["name"] = mode;
    root["brightness"] = p.brightness;
    root["speed"] = p.speed;
    root["direction"] = p.direction ? "left" : "right";
    root["colour"] = colour;
    root["multicolour"] = p.multiColour != 0;
    Json::Value effects(Json::arrayValue);
    for (std::size_t i = 0; i < lists.effectNames.size(); ++i) {
      if (i < lists.effectVisible.size() && lists.effectVisible[i] == 0) continue;
      Json::Value effect;
      effect["index"] = Json::UInt64(i);
      effect["name"] = EffectName(lists.effectNames[i]);
      effects.append(effect);
    }
    root["effects"] = effects;
    return {kExitOk, WriteJson(root), {}};
  }
  std::string text = "mode: " + std::to_string(p.mode) + " " + mode + "\nbrightness: " +
                     std::to_string(p.brightness) + "\nspeed: " + std::to_string(p.speed) +
                     "\ndirection: " + (p.direction ? "left" : "right") + "\ncolour: " +
                     (p.multiColour ? std::string("multicolour") : std::string(colour)) + "\neffects:";
  for (std::size_t i = 0; i < lists.effectNames.size(); ++i) {
    if (i < lists.effectVisible.size() && lists.effectVisible[i] == 0) continue;
    text += " " + std::to_string(i) + " " + EffectName(lists.effectNames[i]) + ";";
  }
  return {kExitOk, text + "\n", {}};
}

CommandOutput SetLight(OpenedDevice& opened, const LightChange& change) {
  devices::CNorvaneUSBDevice& device = *opened.device;
  const std::string name = KindName(devices::PageKindCode(opened.plan.linkKind));
  const devices::EffectLists lists = devices::ReadPageEffectLists(device);
  const std::optional<int> mode = EffectNamed(lists, change.mode);
  if (!mode) return Failed(kExitUsage, "the " + name + " has no effect \"" + change.mode + "\" (norvanectl light show)");
  lighting::LightParams p = device.GetLightParams();
  p.mode = std::uint8_t(*mode);
  if (change.colour) {
    p.red = std::uint8_t(*change.colour >> 16);
    p.green = std::uint8_t(*change.colour >> 8);
    p.blue = std::uint8_t(*change.colour);
    p.multiColour = 0;
  }
  if (change.brightness) p.brightness = std::uint8_t(*change.brightness);
  if (change.speed) p.speed = std::uint8_t(*change.speed);
  if (change.direction) p.direction = std::uint8_t(*change.direction);
  const devices::LightWrite write = devices::StoreAndSendLight(device, p);
  if (!write.saved) return Failed(kExitFailure, "the profile could not be saved: " + write.saved.error);
  if (write.written != protocol::kResultOk) {
    return Failed(kExitFailure, "the profile holds the change, but the " + name + " did not take it: " +
                                    DescribeFailure(write.written, device.CommandChannel()));
  }
  return {kExitOk, "light: " + EffectName(lists.effectNames[std::size_t(*mode)]) + "\n", {}};
}

}  // namespace

Prepared PrepareLight(const CommandWords& words) {
  const std::vector<std::string>& w = words.words;
  const std::string action = w.size() > 1 ? w[1] : "show";
  if (action == "show") {
    if (w.size() > 2) return Wrong("light show takes no more words");
    return {[json = words.json](OpenedDevice& opened) { return ShowLight(opened, json); }, {}};
  }
  if (action != "set") return Wrong("unknown light action \"" + action + "\" (show or set)");
  if (w.size() != 3) return Wrong("light set needs one MODE");
  LightChange change{w[2], {}, {}, {}, {}};
  for (const auto& [option, value] : words.options) {
    if (option == "--colour") {
      change.colour = HexColour(value);
      if (!change.colour) return Wrong("\"" + value + "\" is not a colour: give RRGGBB in hexadecimal");
    } else if (option == "--brightness" || option == "--speed") {
      const std::optional<int> level = WholeNumber(value, 0, kHighestLevel);
      if (!level) return Wrong(option + " takes a level from 0 to 4, not \"" + value + "\"");
      (option == "--brightness" ? change.brightness : change.speed) = level;
    } else if (option == "--direction") {
      const std::string direction = Lower(value);
      if (direction != "left" && direction != "right") return Wrong("--direction is left or right");
      change.direction = direction == "left" ? 1 : 0;
    }
  }
  return {[change](OpenedDevice& opened) { return SetLight(opened, change); }, {}};
}

}  // namespace norvane::cli
