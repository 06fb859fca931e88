#include "profiles/profile_rules.h"

#include <algorithm>
#include <system_error>

#include "platform/trace.h"
#include "platform/xdg_paths.h"
#include "profiles/json_access.h"
#include "profiles/json_file_util.h"
#include "profiles/profile_list.h"

namespace norvane {
namespace {

using json::Member;

constexpr const char* kDefaultKey = "DefaultProfile";
constexpr const char* kRulesKey = "Rules";
constexpr const char* kProgramKey = "Program";
constexpr const char* kWhenKey = "When";
constexpr const char* kProfileKey = "Profile";
constexpr const char* kProfileNameKey = "ProfileName";

const ListedProfile* FindProfile(const std::vector<ListedProfile>& profiles, const std::string& id) {
  const auto it =
      std::find_if(profiles.begin(), profiles.end(), [&](const ListedProfile& p) { return p.id == id; });
  return it == profiles.end() ? nullptr : &*it;
}

ProfileRule ReadRule(const Json::Value& entry, const std::vector<ListedProfile>& profiles) {
  ProfileRule rule;
  rule.stored = entry;
  if (!entry.isObject()) {
    rule.broken = "not a rule";
    return rule;
  }
  rule.program = json::ReadString(entry, kProgramKey);
  rule.profileId = json::ReadString(entry, kProfileKey);
  rule.profileName = json::ReadString(entry, kProfileNameKey);
  const std::optional<RuleCondition> when = ConditionNamed(json::ReadString(entry, kWhenKey));
  if (rule.program.empty()) {
    rule.broken = "no program";
  } else if (!when) {
    rule.broken = "no condition";
  } else if (const ListedProfile* profile = FindProfile(profiles, rule.profileId); !profile) {
    rule.broken = "no such profile";
  } else {
    rule.when = *when;
    // The list's name is the one the user knows now.
    rule.profileName = profile->name;
  }
  return rule;
}

Json::Value RuleEntry(const ProfileRule& rule) {
  if (rule.IsBroken() && !rule.stored.isNull()) return rule.stored;
  Json::Value entry(Json::objectValue);
  entry[kProgramKey] = rule.program;
  entry[kWhenKey] = ConditionName(rule.when);
  entry[kProfileKey] = rule.profileId;
  entry[kProfileNameKey] = rule.profileName;
  return entry;
}

bool Holds(const ProfileRule& rule, const RuleSituation& situation) {
  const auto named = [&](const ProcessInfo& info) { return ProgramMatches(rule.program, info); };
  if (rule.when == RuleCondition::kFocused && situation.focusKnown) {
    return situation.focused && named(*situation.focused);
  }
  return std::any_of(situation.running.begin(), situation.running.end(), named);
}

}  // namespace

std::vector<ListedProfile> ReadListedProfiles(const std::filesystem::path& deviceFolder) {
  std::vector<ListedProfile> profiles;
  const Json::Value document = JsonFileUtil().ReadJsonValue(deviceFolder / CDeviceProfileList::kListFileName);
  const Json::Value& list = Member(document, "profilelist");
  for (std::int64_t i = 0; i < json::ArraySize(list); ++i) {
    const Json::Value& item = json::Element(list, i);
    ListedProfile profile{json::ReadString(item, "profilename"), json::ReadString(item, "profileUUID")};
    // The list itself refuses these; so do the rules.
    if (!IsPlainFileName(profile.id) || FindProfile(profiles, profile.id)) continue;
    profiles.push_back(std::move(profile));
  }
  return profiles;
}

const char* ConditionName(RuleCondition condition) {
  return condition == RuleCondition::kFocused ? "focus" : "running";
}

std::optional<RuleCondition> ConditionNamed(std::string_view name) {
  if (name == "running") return RuleCondition::kRunning;
  if (name == "focus") return RuleCondition::kFocused;
  return std::nullopt;
}

ProfileRuleFile::ProfileRuleFile(std::filesystem::path deviceFolder)
    : path_(std::move(deviceFolder) / kFileName) {}

ProfileRuleSet ProfileRuleFile::Read(const std::vector<ListedProfile>& profiles) const {
  ProfileRuleSet set;
  std::error_code error;
  if (!std::filesystem::exists(path_, error)) return set;
  std::string text;
  if (!ReadWholeFile(path_, text)) text.clear();
  set = ParseRules(text, profiles);
  if (set.damagedFile) Trace("profile rules: " + path_.string() + " cannot be read as rules");
  return set;
}

ProfileRuleSet ProfileRuleFile::ParseRules(std::string_view text, const std::vector<ListedProfile>& profiles) {
  ProfileRuleSet set;
  Json::Value document;
  if (!JsonFileUtil::TryParseJson(text, document) || !document.isObject()) {
    set.damagedFile = true;
    set.keepAsideBeforeWrite = true;
    return set;
  }
  const Json::Value& rules = Member(document, kRulesKey);
  if (!rules.isNull() && !rules.isArray()) set.keepAsideBeforeWrite = true;
  for (std::int64_t i = 0; i < json::ArraySize(rules); ++i) {
    set.rules.push_back(ReadRule(json::Element(rules, i), profiles));
    if (set.rules.back().IsBroken()) set.keepAsideBeforeWrite = true;
  }
  const Json::Value& defaultProfile = Member(document, kDefaultKey);
  if (!defaultProfile.isNull() && !defaultProfile.isString()) set.keepAsideBeforeWrite = true;
  set.defaultProfileId = json::ReadString(document, kDefaultKey);
  if (!set.defaultProfileId.empty() && !FindProfile(profiles, set.defaultProfileId)) {
    set.defaultBroken = true;
    set.keepAsideBeforeWrite = true;
  }
  return set;
}

FileResult ProfileRuleFile::Write(const ProfileRuleSet& set) const {
  std::error_code error;
  if (set.keepAsideBeforeWrite && std::filesystem::exists(path_, error)) {
    const FileResult kept = JsonFileUtil::KeepAside(path_);
    if (!kept) return kept;
  }
  return JsonFileUtil().WriteJsonValue(path_, RuleDocument(set));
}

Json::Value ProfileRuleFile::RuleDocument(const ProfileRuleSet& set) {
  Json::Value document(Json::objectValue);
  document[kDefaultKey] = set.defaultProfileId;
  Json::Value rules(Json::arrayValue);
  for (const ProfileRule& rule : set.rules) rules.append(RuleEntry(rule));
  document[kRulesKey] = std::move(rules);
  return document;
}

RuleDecision DecideProfile(const ProfileRuleSet& set, const RuleSituation& situation) {
  RuleDecision decision;
  for (std::size_t i = 0; i < set.rules.size(); ++i) {
    const ProfileRule& rule = set.rules[i];
    if (rule.IsBroken() || !Holds(rule, situation)) continue;
    decision.rule = static_cast<int>(i);
    decision.profileId = rule.profileId;
    return decision;
  }
  if (!set.defaultBroken) decision.profileId = set.defaultProfileId;
  return decision;
}

std::vector<std::string> RulePrograms(const ProfileRuleSet& set) {
  std::vector<std::string> programs;
  for (const ProfileRule& rule : set.rules) {
    if (rule.IsBroken()) continue;
    if (std::find(programs.begin(), programs.end(), rule.program) == programs.end())
      programs.push_back(rule.program);
  }
  return programs;
}

}  // namespace norvane
