// key list, key set and key reset: a key's function changed the way the key editor changes it (the
// assignment into the profile, then the key table and the macros the keys use written to the device).
#include "devices/key_assignment_rules.h"
#include "devices/key_labels.h"
#include "protocol/command_codes.h"
#include "tools/norvanectl/cli_commands.h"
#include "tools/norvanectl/command_parts.h"
#include "tools/norvanectl/english_texts.h"
#include "tools/norvanectl/info_reader.h"
#include "tools/norvanectl/key_spelling.h"

namespace norvane::cli {
namespace {

constexpr std::uint16_t kMousePage = 2;

std::string English(std::string_view nameKey) {
  const TextTable& english = EnglishTexts();
  const auto found = english.find(nameKey);
  return found != english.end() ? found->second : std::string(nameKey);
}

// The caption the page gives a key: the English name of its own (default) function.
std::string KeyCaption(const KeyAssignment& key) {
  if (const std::string_view own = devices::OwnKeyNameKey(key.default_function); !own.empty()) return English(own);
  if (const std::optional<devices::KeyLabel> label = devices::DeriveKeyLabel(key.default_function, {})) {
    return devices::ComposeKeyLabel(*label, [](std::string_view nameKey) { return English(nameKey); });
  }
  return {};
}

std::vector<std::string> MacroNamesOf(devices::CNorvaneUSBDevice& device) {
  return device.Macros() ? device.Macros()->MacroNames() : std::vector<std::string>{};
}

struct KeyFound {
  int index = -1;
  CommandOutput failure;
};

// KEY as a UI index or a caption (any case).
KeyFound FindKey(std::span<const KeyAssignment> keys, const std::string& wanted, const std::string& device) {
  if (const std::optional<int> index = WholeNumber(wanted, 0, int(keys.size()) - 1)) return {*index, {}};
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const std::string caption = KeyCaption(keys[i]);
    if (!caption.empty() && Lower(caption) == Lower(wanted)) return {int(i), {}};
  }
  return {-1, Failed(kExitUsage, "the " + device + " has no key \"" + wanted + "\" (norvanectl key list)")};
}

CommandOutput ListKeys(OpenedDevice& opened, bool json) {
  devices::KeyTableOps& table = *opened.device->KeyTable();
  const std::vector<std::string> macros = MacroNamesOf(*opened.device);
  Json::Value keys(Json::arrayValue);
  std::string text;
  const std::span<const KeyAssignment> list = table.KeyAssignments();
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string caption = KeyCaption(list[i]);
    const std::string function = SpellKeyFunction(list[i].current, macros);
    Json::Value entry;
    entry["index"] = int(i);
    entry["key"] = caption;
    entry["function"] = function;
    entry["default"] = list[i].current == list[i].default_function;
    keys.append(entry);
    char line[48];
    std::snprintf(line, sizeof line, "%3zu  %-18s ", i, caption.c_str());
    text += line + function + "\n";
  }
  if (!json) return {kExitOk, text, {}};
  Json::Value root;
  root["keys"] = keys;
  return {kExitOk, WriteJson(root), {}};
}

}  // namespace

CommandOutput SetKeyFunction(OpenedDevice& opened, const std::string& wanted, const std::string& spelling) {
  devices::CNorvaneUSBDevice& device = *opened.device;
  devices::KeyTableOps& table = *device.KeyTable();
  const std::uint16_t kind = devices::PageKindCode(opened.plan.linkKind);
  const std::string name = KindName(kind);
  const std::span<const KeyAssignment> list = table.KeyAssignments();
  const KeyFound key = FindKey(list, wanted, name);
  if (key.index < 0) return key.failure;
  KeyAssignment assignment = list[std::size_t(key.index)];
  if (spelling.empty()) {
    assignment.current = assignment.default_function;
  } else {
    const std::vector<std::string> macros = MacroNamesOf(device);
    const ParsedFunction parsed = ParseKeyFunction(spelling, {.mouse = kind == kMousePage, .macros = macros});
    if (!parsed.error.empty()) return Failed(kExitUsage, parsed.error);
    assignment.current = parsed.function.value_or(assignment.default_function);
  }
  if (kind == kMousePage && devices::IsLastLeftButton(list, std::size_t(key.index)) &&
      assignment.current != devices::kLeftButtonFunction) {
    return Failed(kExitUsage, "a mouse keeps its left button on one key at least: \"" + wanted + "\" is the last");
  }
  device.SelectKey(key.index);
  table.SetSelectedKeyAssignment(assignment);
  const int written = table.CommitKeyAssignments();
  if (written != protocol::kResultOk) {
    return Failed(kExitFailure, "the profile holds the change, but the " + name + " did not take it: " +
                                    DescribeFailure(written, device.CommandChannel()));
  }
  return {kExitOk, KeyCaption(assignment) + ": " + SpellKeyFunction(assignment.current, MacroNamesOf(device)) + "\n",
          {}};
}

Prepared PrepareKey(const CommandWords& words) {
  const std::vector<std::string>& w = words.words;
  const std::string action = w.size() > 1 ? w[1] : "list";
  if (action == "list") {
    if (w.size() > 2) return Wrong("key list takes no more words");
    return {[json = words.json](OpenedDevice& opened) { return ListKeys(opened, json); }, {}};
  }
  if (action == "set") {
    if (w.size() != 4) return Wrong("key set needs KEY and FUNCTION");
    // A spelling that cannot be right on any device is refused before the device is opened.
    if (const ParsedFunction parsed = ParseKeyFunction(w[3], {.mouse = true, .macros = {}});
        !parsed.error.empty() && !Lower(w[3]).starts_with("macro:")) {
      return Wrong(parsed.error);
    }
    return {[key = w[2], function = w[3]](OpenedDevice& opened) { return SetKeyFunction(opened, key, function); }, {}};
  }
  if (action == "reset") {
    if (w.size() != 3) return Wrong("key reset needs one KEY");
    return {[key = w[2]](OpenedDevice& opened) { return SetKeyFunction(opened, key, {}); }, {}};
  }
  return Wrong("unknown key action \"" + action + "\" (list, set or reset)");
}

}  // namespace norvane::cli
