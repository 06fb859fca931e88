#pragma once
// The profile rules of a device: which of its profiles it works on while a chosen program runs, or while
// that program's window has the focus. The rules live in the device folder beside the profile list, in
// "ProfileRules.json":
//
//   {
//      "DefaultProfile" : "2026_12_09_10_00_00_000",   the profile when no rule applies; "" for the one
//                                                      the user had chosen before a rule took over
//      "Rules" : [
//         { "Program" : "steam", "When" : "running",
//           "Profile" : "2026_12_09_10_05_00_000", "ProfileName" : "Games" },
//         ...
//      ]
//   }
//
// "Program" is an executable's name or path (ProgramMatches); "When" is "running" or "focus"; "Profile" is
// the profile's identifier ("profileUUID" of the list), "ProfileName" its name when the rule was made,
// shown when that profile is gone. Rules count in their order: the first that applies wins.
//
// A rule that cannot be read, or that names a profile the list no longer has, is broken: it is shown and
// skipped, and kept as it is in the file. When the file held anything broken, or could not be read at all,
// it is kept aside as "ProfileRules.json.bak" before it is first written again.

#include <json/json.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/process_info.h"

namespace norvane {

enum class RuleCondition { kRunning, kFocused };

struct ProfileRule {
  std::string program;
  RuleCondition when = RuleCondition::kRunning;
  std::string profileId;
  std::string profileName;
  // Why the rule is skipped; empty for a rule that works.
  std::string broken;
  // The entry as it was read, written back unchanged while the rule is broken.
  Json::Value stored;

  bool IsBroken() const { return !broken.empty(); }
};

struct ProfileRuleSet {
  std::vector<ProfileRule> rules;
  std::string defaultProfileId;
  // The default names a profile the list no longer has: no rule then means the profile chosen by hand.
  bool defaultBroken = false;
  // The file could not be read as rules (not JSON, or not the shape above); what it held is kept aside.
  bool damagedFile = false;
  // Something of the file was damaged or out of date: it is kept aside before the next write.
  bool keepAsideBeforeWrite = false;
};

// One profile of a device's list, as the rules refer to it.
struct ListedProfile {
  std::string name;
  std::string id;
};

// The profiles of the device folder's list, in list order, read without changing anything; empty when the
// list is missing or damaged.
std::vector<ListedProfile> ReadListedProfiles(const std::filesystem::path& deviceFolder);

// "running" / "focus", and back; nothing for another text.
const char* ConditionName(RuleCondition condition);
std::optional<RuleCondition> ConditionNamed(std::string_view name);

class ProfileRuleFile {
 public:
  static constexpr const char* kFileName = "ProfileRules.json";

  explicit ProfileRuleFile(std::filesystem::path deviceFolder);

  const std::filesystem::path& Path() const { return path_; }

  // The rules, checked against the device's profiles. A missing file is an empty set.
  ProfileRuleSet Read(const std::vector<ListedProfile>& profiles) const;
  ProfileRuleSet Read() const { return Read(ReadListedProfiles(path_.parent_path())); }

  // Writes the set whole, atomically, after keeping a damaged file aside (see the header comment).
  FileResult Write(const ProfileRuleSet& set) const;

  // The rules a file's text holds, checked against the device's profiles: what Read gives for a file
  // holding text.
  static ProfileRuleSet ParseRules(std::string_view text, const std::vector<ListedProfile>& profiles);
  // The document Write writes for set.
  static Json::Value RuleDocument(const ProfileRuleSet& set);

 private:
  std::filesystem::path path_;
};

// What a device's rules ask for in one situation.
struct RuleSituation {
  // Running processes of the rules' programs.
  std::vector<ProcessInfo> running;
  // The process whose window has the focus; nothing when no window has it or it is not known.
  std::optional<ProcessInfo> focused;
  // Whether the focus can be known at all (X11 with a window manager). Where it cannot (Wayland, a bare X
  // server), a rule for the focus applies while its program runs.
  bool focusKnown = true;
};

struct RuleDecision {
  int rule = -1;          // the index of the rule that applies; -1 when none does
  std::string profileId;  // the rule's profile, or the default one; empty: the one chosen by hand
};

RuleDecision DecideProfile(const ProfileRuleSet& set, const RuleSituation& situation);

// The programs the set's working rules name, each once.
std::vector<std::string> RulePrograms(const ProfileRuleSet& set);

}  // namespace norvane
