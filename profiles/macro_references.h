#pragma once
// Keys that play a macro name it by its position in the device folder's macro list: type 0x70 (with an
// end mode) or 0x71 (with a cycle count), data1 the position. Deleting a macro therefore changes profiles:
// keys on the deleted macro get their default function back and keys on later macros move down by one.
//
// It happens in two steps so that the editor can ask first. PlanMacroRemoval works out every changed
// profile without writing anything; dropping the plan changes nothing anywhere. CommitMacroRemoval writes
// every changed profile beside itself, then moves them all into place, and only then lets the macro go;
// on any failure every profile is left (or put back) as it was.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/profile_list.h"
#include "profiles/profile_records.h"

namespace norvane {

inline constexpr std::uint8_t kMacroFunctionType = 0x70;
inline constexpr std::uint8_t kMacroCycleFunctionType = 0x71;

[[nodiscard]] constexpr bool PlaysMacro(KeyFunction function) {
  return function.type == kMacroFunctionType || function.type == kMacroCycleFunctionType;
}

// The function a key has once macro `removed` is deleted: its default when it plays that macro, the same
// function on the macro one lower when it plays a later one, else unchanged.
[[nodiscard]] KeyFunction FunctionAfterMacroRemoval(const KeyAssignment& key, int removed);

struct ProfileRewrite {
  std::filesystem::path path;
  std::string original;     // the file's bytes when the plan was made
  std::string replacement;  // what the file becomes
};

struct MacroRemovalPlan {
  int removedMacro = -1;
  std::vector<ProfileRewrite> changed;  // only profiles with a key that changes
  // A key of the current profile plays the deleted macro and would get its default function back.
  bool currentUsesMacro = false;
};

// What a profile file's text becomes once macro `removed` is deleted, and whether a key played that macro;
// nullopt when the text is no profile or no key's function changes.
struct RenumberedProfile {
  std::string text;
  bool usesMacro = false;
};
[[nodiscard]] std::optional<RenumberedProfile> RenumberProfileText(std::string_view text, int removed);

// Reads every profile file (each "Device" entry's "KeyList") and works out the change. Files that cannot
// be read or parsed, and keys whose functions do not change, are left out.
[[nodiscard]] MacroRemovalPlan PlanMacroRemoval(std::span<const std::filesystem::path> profiles,
                                                const std::filesystem::path& current, int removed);
// The same over the profiles of a loaded list, its selected profile being the current one.
[[nodiscard]] MacroRemovalPlan PlanMacroRemoval(const CDeviceProfileList& list, int removed);

// Carries the plan out: checks that no changed profile was written since the plan, writes every
// replacement beside its profile, renames them all into place and then calls remove_macro. On the first
// failure (a profile changed meanwhile, a write or rename failing, remove_macro returning false) it
// stops, puts back the profiles it had replaced, removes its temporary files and returns false.
[[nodiscard]] bool CommitMacroRemoval(const MacroRemovalPlan& plan,
                                      const std::function<bool()>& remove_macro);

}  // namespace norvane
