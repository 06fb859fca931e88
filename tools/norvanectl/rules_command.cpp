#include "tools/norvanectl/rules_command.h"

#include <json/json.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

#include "platform/xdg_paths.h"
#include "profiles/profile_locations.h"
#include "profiles/profile_rules.h"
#include "tools/norvanectl/cli_commands.h"

namespace norvane::cli {
namespace {

struct DeviceFolder {
  std::string_view kind;    // as the command line names it
  std::string_view folder;  // below the user data folder
};

constexpr std::array<DeviceFolder, 4> kDevices = {{
    {"keyboard", kKeyboardFolder},
    {"mouse", kMouseFolder},
    {"mousepad", kMousePadFolder},
    {"headset", kHeadsetFolder},
}};

struct RulesArguments {
  std::string action;
  std::optional<DeviceFolder> device;
  std::vector<std::string> words;
  std::optional<RuleCondition> when;
  bool json = false;
  bool help = false;
  std::string error;
};

int Fail(const std::string& message, int code = kExitFailure) {
  std::fprintf(stderr, "norvanectl: %s\n", message.c_str());
  return code;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower;
}

RulesArguments Parse(const std::vector<std::string>& arguments, bool json) {
  RulesArguments parsed;
  parsed.json = json;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      parsed.help = true;
    } else if (argument == "--json") {
      parsed.json = true;
    } else if (argument == "--focus" || argument == "--running") {
      const RuleCondition when = argument == "--focus" ? RuleCondition::kFocused : RuleCondition::kRunning;
      if (parsed.when && *parsed.when != when) {
        parsed.error = "--focus and --running exclude each other";
        return parsed;
      }
      parsed.when = when;
    } else if (argument == "--device" || argument.starts_with("--device=")) {
      std::string kind;
      if (argument == "--device") {
        if (i + 1 >= arguments.size()) {
          parsed.error = "--device needs a kind: keyboard, mouse, mousepad or headset";
          return parsed;
        }
        kind = arguments[++i];
      } else {
        kind = argument.substr(std::string_view("--device=").size());
      }
      const auto found = std::find_if(kDevices.begin(), kDevices.end(),
                                      [&](const DeviceFolder& d) { return d.kind == Lower(kind); });
      if (found == kDevices.end()) {
        parsed.error = "unknown device kind \"" + kind + "\" (keyboard, mouse, mousepad or headset)";
        return parsed;
      }
      parsed.device = *found;
    } else if (argument.starts_with("--")) {
      parsed.error = "unknown option " + argument + " for rules";
      return parsed;
    } else if (parsed.action.empty()) {
      parsed.action = argument;
    } else {
      parsed.words.push_back(argument);
    }
  }
  if (parsed.help) return parsed;
  const std::size_t wanted = parsed.action == "add" ? 2 : parsed.action == "remove" ? 1 : 0;
  if (parsed.action != "list" && parsed.action != "add" && parsed.action != "remove") {
    parsed.error =
        parsed.action.empty() ? "rules needs list, add or remove" : "unknown rules action " + parsed.action;
  } else if (parsed.words.size() != wanted) {
    parsed.error = parsed.action == "add"      ? "rules add needs a program and a profile"
                   : parsed.action == "remove" ? "rules remove needs a rule number"
                                               : "rules list takes no words";
  } else if (parsed.action != "list" && !parsed.device) {
    parsed.error = "rules " + parsed.action + " needs --device KIND";
  } else if (parsed.action != "add" && parsed.when) {
    parsed.error = "--focus and --running belong to rules add";
  }
  return parsed;
}

std::filesystem::path FolderOf(const DeviceFolder& device) {
  return UserDataFolder() / std::string(device.folder);
}

const char* ConditionText(RuleCondition when) {
  return when == RuleCondition::kFocused ? "while it has the focus" : "while it runs";
}

std::string ProfileName(const std::vector<ListedProfile>& profiles, const std::string& id) {
  for (const ListedProfile& profile : profiles) {
    if (profile.id == id) return profile.name;
  }
  return id;
}

int List(const RulesArguments& arguments) {
  Json::Value json(Json::objectValue);
  std::string text;
  for (const DeviceFolder& device : kDevices) {
    if (arguments.device && arguments.device->kind != device.kind) continue;
    const std::filesystem::path folder = FolderOf(device);
    const std::vector<ListedProfile> profiles = ReadListedProfiles(folder);
    const ProfileRuleSet set = ProfileRuleFile(folder).Read(profiles);
    if (set.rules.empty() && set.defaultProfileId.empty() && !set.damagedFile && !arguments.device) continue;
    Json::Value entry(Json::objectValue);
    Json::Value rules(Json::arrayValue);
    const std::string kind(device.kind);
    if (set.damagedFile)
      text += kind + ": the rule file cannot be read; it is kept as .bak when rules are added\n";
    for (std::size_t i = 0; i < set.rules.size(); ++i) {
      const ProfileRule& rule = set.rules[i];
      Json::Value item(Json::objectValue);
      item["number"] = static_cast<int>(i + 1);
      item["program"] = rule.program;
      item["when"] = ConditionName(rule.when);
      item["profile"] = rule.profileName;
      item["profile_id"] = rule.profileId;
      item["broken"] = rule.broken;
      rules.append(item);
      text += kind + ": " + std::to_string(i + 1) + ". " + (rule.program.empty() ? "?" : rule.program) + " " +
              ConditionText(rule.when) + " -> " + (rule.profileName.empty() ? "?" : rule.profileName);
      if (rule.IsBroken()) text += "  [skipped: " + rule.broken + "]";
      text += "\n";
    }
    entry["rules"] = rules;
    const bool byHand = set.defaultProfileId.empty() || set.defaultBroken;
    entry["default_profile"] = byHand ? "" : ProfileName(profiles, set.defaultProfileId);
    text +=
        kind + ": otherwise -> " +
        (byHand ? std::string("the profile chosen by hand") : ProfileName(profiles, set.defaultProfileId)) +
        "\n";
    json[kind] = entry;
  }
  if (arguments.json) {
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "  ";
    std::printf("%s\n", Json::writeString(writer, json).c_str());
  } else {
    std::fputs(text.empty() ? "no rules\n" : text.c_str(), stdout);
  }
  return kExitOk;
}

int Add(const RulesArguments& arguments) {
  const std::filesystem::path folder = FolderOf(*arguments.device);
  const std::vector<ListedProfile> profiles = ReadListedProfiles(folder);
  const std::string kind(arguments.device->kind);
  if (profiles.empty()) return Fail("the " + kind + " has no profiles yet: start norvane with it once");
  const std::string& wanted = arguments.words[1];
  const auto profile = std::find_if(profiles.begin(), profiles.end(), [&](const ListedProfile& p) {
    return p.id == wanted || Lower(p.name) == Lower(wanted);
  });
  if (profile == profiles.end()) {
    std::string names;
    for (const ListedProfile& p : profiles) names += (names.empty() ? "" : ", ") + p.name;
    return Fail("the " + kind + " has no profile \"" + wanted + "\" (it has " + names + ")");
  }
  ProfileRuleFile file(folder);
  ProfileRuleSet set = file.Read(profiles);
  ProfileRule rule;
  rule.program = arguments.words[0];
  rule.when = arguments.when.value_or(RuleCondition::kRunning);
  rule.profileId = profile->id;
  rule.profileName = profile->name;
  set.rules.push_back(rule);
  if (const FileResult written = file.Write(set); !written) return Fail(written.error);
  std::printf("%s: rule %zu: %s %s -> %s\n", kind.c_str(), set.rules.size(), rule.program.c_str(),
              ConditionText(rule.when), rule.profileName.c_str());
  return kExitOk;
}

int Remove(const RulesArguments& arguments) {
  const std::string& text = arguments.words[0];
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < 1) {
    return Fail("\"" + text + "\" is not a rule number", kExitUsage);
  }
  const std::string kind(arguments.device->kind);
  ProfileRuleFile file(FolderOf(*arguments.device));
  ProfileRuleSet set = file.Read();
  if (static_cast<std::size_t>(number) > set.rules.size()) {
    return Fail("the " + kind + " has " + std::to_string(set.rules.size()) + " rules, no rule " + text);
  }
  set.rules.erase(set.rules.begin() + (number - 1));
  if (const FileResult written = file.Write(set); !written) return Fail(written.error);
  std::printf("%s: rule %d removed\n", kind.c_str(), number);
  return kExitOk;
}

}  // namespace

std::string RulesUsageText() {
  return "Usage: norvanectl rules list [--device KIND] [--json]\n"
         "       norvanectl rules add --device KIND PROGRAM PROFILE [--running | --focus]\n"
         "       norvanectl rules remove --device KIND NUMBER\n"
         "\n"
         "A rule switches a device to PROFILE while PROGRAM runs (--running, the default) or while its "
         "window\n"
         "has the focus (--focus; on Wayland, where the focus cannot be known, while it runs). The first "
         "rule\n"
         "that applies wins; when none does, the device goes back to its default profile, or to the one "
         "chosen\n"
         "by hand before. A running norvane follows the changes at once.\n"
         "\n"
         "  KIND     keyboard, mouse, mousepad or headset\n"
         "  PROGRAM  an executable's name (steam, Game.exe) or its full path\n"
         "  PROFILE  a profile's name, in any case, or its identifier\n"
         "  NUMBER   the rule's number as rules list shows it\n";
}

int RunRules(const CliOptions& options) {
  const RulesArguments arguments = Parse(options.commandArguments, options.json);
  if (arguments.help) {
    std::fputs(RulesUsageText().c_str(), stdout);
    return kExitOk;
  }
  if (!arguments.error.empty()) return Fail(arguments.error + " (try rules --help)", kExitUsage);
  if (arguments.action == "add") return Add(arguments);
  if (arguments.action == "remove") return Remove(arguments);
  return List(arguments);
}

}  // namespace norvane::cli
