#include "profiles/macro_references.h"

#include <optional>
#include <system_error>

#include "platform/atomic_file.h"
#include "profiles/json_access.h"
#include "profiles/json_file_util.h"

namespace norvane {
namespace {

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  const bool same = std::filesystem::equivalent(a, b, error);
  return error ? a.lexically_normal() == b.lexically_normal() : same;
}

struct KeyListChange {
  bool changed = false;
  bool usesMacro = false;
};

// Renumbers the keys of one "KeyList" in place.
KeyListChange RenumberKeyList(Json::Value& list, int removed) {
  KeyListChange change;
  for (std::int64_t i = 0; i < json::ArraySize(list); ++i) {
    Json::Value* element = json::ElementForWrite(list, i);
    if (element == nullptr || !element->isObject()) continue;
    const std::optional<std::int64_t> assignment = json::ToInteger(json::Member(*element, "Assignment"));
    if (!assignment) continue;
    KeyAssignment key;
    key.current = KeyFunction::Unpack(*assignment);
    key.default_function =
        KeyFunction::Unpack(json::ToInteger(json::Member(*element, "DefaultAssignment")).value_or(0));
    const KeyFunction after = FunctionAfterMacroRemoval(key, removed);
    if (after == key.current) continue;
    if (PlaysMacro(key.current) && key.current.data1 == removed) change.usesMacro = true;
    change.changed = true;
    json::MemberForWrite(*element, "Assignment") = static_cast<Json::Int64>(after.Pack());
  }
  return change;
}

// Puts back the first `count` profiles of the plan, as far as that goes.
void PutBack(const MacroRemovalPlan& plan, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    LogFileFailure(WriteFileAtomically(plan.changed[i].path, plan.changed[i].original));
  }
}

}  // namespace

KeyFunction FunctionAfterMacroRemoval(const KeyAssignment& key, int removed) {
  if (!PlaysMacro(key.current) || removed < 0) return key.current;
  if (key.current.data1 == removed) return key.default_function;
  if (key.current.data1 > removed) {
    KeyFunction lowered = key.current;
    --lowered.data1;
    return lowered;
  }
  return key.current;
}

std::optional<RenumberedProfile> RenumberProfileText(std::string_view text, int removed) {
  Json::Value document;
  if (!JsonFileUtil::TryParseJson(text, document) || !json::Member(document, "Device").isArray()) return {};
  KeyListChange change;
  Json::Value& devices = json::MemberForWrite(document, "Device");
  for (std::int64_t i = 0; i < json::ArraySize(devices); ++i) {
    Json::Value* entry = json::ElementForWrite(devices, i);
    if (entry == nullptr || !json::Member(*entry, "KeyList").isArray()) continue;
    const KeyListChange in_entry = RenumberKeyList(json::MemberForWrite(*entry, "KeyList"), removed);
    change.changed |= in_entry.changed;
    change.usesMacro |= in_entry.usesMacro;
  }
  if (!change.changed) return {};
  return RenumberedProfile{JsonFileUtil::StyledText(document), change.usesMacro};
}

MacroRemovalPlan PlanMacroRemoval(std::span<const std::filesystem::path> profiles,
                                  const std::filesystem::path& current, int removed) {
  MacroRemovalPlan plan;
  plan.removedMacro = removed;
  if (removed < 0) return plan;
  const JsonFileUtil files;
  for (const std::filesystem::path& path : profiles) {
    std::string original = files.readjsonFile(path);
    std::optional<RenumberedProfile> renumbered = RenumberProfileText(original, removed);
    if (!renumbered) continue;
    if (renumbered->usesMacro && !current.empty() && SameFile(path, current)) plan.currentUsesMacro = true;
    plan.changed.push_back({path, std::move(original), std::move(renumbered->text)});
  }
  return plan;
}

MacroRemovalPlan PlanMacroRemoval(const CDeviceProfileList& list, int removed) {
  std::vector<std::filesystem::path> profiles;
  for (int i = 0; i < list.GetProfileCount(); ++i) profiles.push_back(list.GetProfilePath(i));
  return PlanMacroRemoval(profiles, list.GetCurrentProfilePath(), removed);
}

bool CommitMacroRemoval(const MacroRemovalPlan& plan, const std::function<bool()>& remove_macro) {
  const JsonFileUtil files;
  for (const ProfileRewrite& rewrite : plan.changed) {
    // A profile saved since the plan was made would lose that save; the user is asked again instead.
    if (files.readjsonFile(rewrite.path) != rewrite.original) return false;
  }
  std::vector<StagedFile> staged;
  staged.reserve(plan.changed.size());
  for (const ProfileRewrite& rewrite : plan.changed) {
    staged.emplace_back(rewrite.path, rewrite.replacement);
    if (!staged.back().staged()) {
      LogFileFailure(staged.back().staged());
      return false;
    }
  }
  for (std::size_t i = 0; i < staged.size(); ++i) {
    if (FileResult moved = staged[i].Commit(); !moved) {
      LogFileFailure(moved);
      PutBack(plan, i);
      return false;
    }
  }
  if (remove_macro && !remove_macro()) {
    PutBack(plan, staged.size());
    return false;
  }
  return true;
}

}  // namespace norvane
