// profiles; profile select, export and import: the device's profile list as the page's profile bar keeps
// it, and the device switched to a profile the way the bar switches it.
#include <filesystem>

#include "devices/profile_writes.h"
#include "protocol/command_codes.h"
#include "tools/norvanectl/cli_commands.h"
#include "tools/norvanectl/command_parts.h"
#include "tools/norvanectl/info_reader.h"

namespace norvane::cli {
namespace {

std::string DeviceName(const OpenedDevice& opened) {
  return KindName(devices::PageKindCode(opened.plan.linkKind));
}

// The index of the profile a user names by its name (any case) or identifier; -1 when none.
int ProfileNamed(const CDeviceProfileList& list, const std::string& wanted) {
  const std::vector<std::string> names = list.Names();
  const std::vector<std::string> ids = list.Identifiers();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (Lower(names[i]) == Lower(wanted) || ids[i] == wanted) return int(i);
  }
  return -1;
}

CommandOutput NoSuchProfile(const OpenedDevice& opened, const std::string& name) {
  return Failed(kExitFailure, "the " + DeviceName(opened) + " has no profile \"" + name +
                                  "\" (norvanectl profiles lists them)");
}

CommandOutput ListProfiles(const OpenedDevice& opened, bool json) {
  const CDeviceProfileList& list = *opened.profiles;
  const std::vector<std::string> names = list.Names();
  const std::vector<std::string> ids = list.Identifiers();
  Json::Value profiles(Json::arrayValue);
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool selected = int(i) == list.GetSelectedIndex();
    Json::Value entry;
    entry["name"] = names[i];
    entry["id"] = ids[i];
    entry["selected"] = selected;
    profiles.append(entry);
    text += std::string(selected ? "* " : "  ") + names[i] + "\n";
  }
  if (!json) return {kExitOk, text, {}};
  Json::Value root;
  root["device"] = DeviceName(opened);
  root["profiles"] = profiles;
  return {kExitOk, WriteJson(root), {}};
}

CommandOutput SelectProfile(OpenedDevice& opened, const std::string& name) {
  CDeviceProfileList& list = *opened.profiles;
  const int index = ProfileNamed(list, name);
  if (index < 0) return NoSuchProfile(opened, name);
  if (const ProfileListResult selected = list.SelectProfile(index); !selected.done()) {
    return Failed(kExitFailure, "the profile list could not be saved: " + selected.error);
  }
  devices::CNorvaneUSBDevice& device = *opened.device;
  device.SetProfileStem(list.GetCurrentProfileId());
  device.LoadProfile();
  const int written = devices::WriteProfileToDevice(device);
  if (written != protocol::kResultOk) {
    return Failed(kExitFailure, "the " + DeviceName(opened) + " works on \"" + list.GetNameText() +
                                    "\" now, but did not take its settings: " +
                                    DescribeFailure(written, device.CommandChannel()));
  }
  return {kExitOk, "selected profile: " + list.GetNameText() + "\n", {}};
}

CommandOutput ExportProfile(OpenedDevice& opened, const std::string& name, const std::string& file) {
  const CDeviceProfileList& list = *opened.profiles;
  const int index = ProfileNamed(list, name);
  if (index < 0) return NoSuchProfile(opened, name);
  const ProfileListResult exported = opened.profiles->ExportProfileAt(index, file);
  if (!exported.done()) return Failed(kExitFailure, "the profile could not be exported: " + exported.error);
  return {kExitOk, "exported \"" + list.Names()[std::size_t(index)] + "\" to " + file + "\n", {}};
}

CommandOutput ImportProfile(OpenedDevice& opened, const std::string& file) {
  CDeviceProfileList& list = *opened.profiles;
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return Failed(kExitFailure, "no such file: " + file);
  const ProfileListResult imported = list.ImportProfile(file);
  if (imported.code == ProfileListResult::kNothingDone) {
    return Failed(kExitFailure, file + " is not a profile (a JSON object with \"profilename\" and \"profileUUID\")");
  }
  if (!imported.done()) return Failed(kExitFailure, "the profile could not be imported: " + imported.error);
  return {kExitOk, "imported as \"" + list.Names().back() + "\"\n", {}};
}

}  // namespace

Prepared PrepareProfiles(const CommandWords& words) {
  if (words.words.size() > 1) return Wrong("profiles takes no more words (profile select|export|import acts)");
  const bool json = words.json;
  return {[json](OpenedDevice& opened) { return ListProfiles(opened, json); }, {}};
}

Prepared PrepareProfile(const CommandWords& words) {
  const std::vector<std::string>& w = words.words;
  const std::string action = w.size() > 1 ? w[1] : "";
  if (action == "select") {
    if (w.size() != 3) return Wrong("profile select needs one NAME");
    return {[name = w[2]](OpenedDevice& opened) { return SelectProfile(opened, name); }, {}};
  }
  if (action == "export") {
    if (w.size() != 4) return Wrong("profile export needs NAME and FILE");
    return {[name = w[2], file = w[3]](OpenedDevice& opened) { return ExportProfile(opened, name, file); }, {}};
  }
  if (action == "import") {
    if (w.size() != 3) return Wrong("profile import needs one FILE");
    return {[file = w[2]](OpenedDevice& opened) { return ImportProfile(opened, file); }, {}};
  }
  return Wrong(action.empty() ? "profile needs an action: select, export or import"
                              : "unknown profile action \"" + action + "\" (select, export or import)");
}

}  // namespace norvane::cli
