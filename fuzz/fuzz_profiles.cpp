// Arbitrary bytes as every kind of profile document, as the default profile that completes it, as the
// light configuration and as the profile list. Nothing may crash, hang or write outside the scratch folder.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_scratch_folder.h"
#include "platform/atomic_file.h"
#include "profiles/hs6533_profiledata.h"
#include "profiles/keyboard_profiledata.h"
#include "profiles/mouse_profiledata.h"
#include "profiles/profile_list.h"

namespace {

using norvane::WriteFileAtomically;

const std::filesystem::path& ScratchFolder() {
  static const norvane::fuzz::ScratchFolderOwner owner("profiles");
  return owner.path();
}

void ExerciseBase(norvane::CBasicProfiledata& document, const std::filesystem::path& folder) {
  const norvane::LightEffect light = document.GetLightInfo();
  document.GetAudioLightInfo();
  document.GetLightList();
  document.SetLightConfigPath(folder / "vexor_light.config");
  document.LoadLightConfig(folder / "vexor_light.config");
  document.GetCustomLightSteps();
  auto keys = document.GetKeyList();
  if (!keys.empty()) keys.front().current = {0x20, 0, 4};
  document.SetKeyList(keys);
  document.SetLightInfo(light);
}

void LoadAsEveryKind(const std::filesystem::path& folder, const std::filesystem::path& profile,
                     const std::filesystem::path& defaults) {
  norvane::CKeyboardProfiledata keyboard;
  keyboard.SetDefaultPath(defaults);
  keyboard.SetFilePath(profile);
  keyboard.LoadEntry(profile);
  ExerciseBase(keyboard, folder);
  keyboard.SetSystemStages(keyboard.GetSystemStages());
  const std::int32_t group = keyboard.GetLightColorGroup();
  keyboard.SetLightColors(keyboard.GetLightColors(group, 170), group);
  keyboard.Save();

  norvane::CMouseProfiledata mouse;
  mouse.SetDefaultPath(defaults);
  mouse.SetFilePath(profile);
  mouse.LoadEntry(profile);
  ExerciseBase(mouse, folder);
  mouse.SetDpiStages(mouse.GetDpiStages());
  mouse.SetActiveDpiStage(mouse.GetActiveDpiStage());
  mouse.SetSystemStages(mouse.GetSystemStages());
  mouse.GetCorrectInfo();
  mouse.Save();

  norvane::CHs6533Profiledata headset;
  headset.SetDefaultPath(defaults);
  headset.SetFilePath(profile);
  headset.LoadEntry(profile);
  ExerciseBase(headset, folder);
  const norvane::HeadsetSystemSetStages stages = headset.GetSystemSetStages();
  headset.SetSystemSetStages(stages);
  headset.SetEqValues(stages.eq_type, headset.GetEqValues(stages.eq_type));
  headset.SetCustomEqNames(headset.GetCustomEqNames());
  headset.SetCustomEqValues(stages.custom_eq_select_index,
                            headset.GetCustomEqValues(stages.custom_eq_select_index));
  headset.Save();
}

void ExerciseList(const std::filesystem::path& folder, const std::filesystem::path& defaults,
                  const std::filesystem::path& import) {
  norvane::CDeviceProfileList list;
  list.SetDeviceKind(7);
  list.SetFolders(folder, defaults);
  list.LoadProfileList();
  list.AddProfile();
  list.CopyProfile();
  list.ImportProfile(import);
  list.RenameProfile("renamed");
  list.SelectProfile(list.GetProfileCount() - 1);
  list.ResetProfile();
  list.ExportProfile(folder / "export.json");
  list.DeleteProfile();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path folder = ScratchFolder() / "device";
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder);

  const auto profile = folder / "profile.Json";
  const auto defaults = folder / "default.Json";
  WriteFileAtomically(profile, bytes);
  WriteFileAtomically(defaults, bytes);
  WriteFileAtomically(folder / "vexor_light.config", bytes);
  WriteFileAtomically(folder / "custom_light_1.light", bytes);
  LoadAsEveryKind(folder, profile, defaults);

  // The same bytes as the default that completes a missing profile.
  LoadAsEveryKind(folder, folder / "missing.Json", defaults);

  WriteFileAtomically(folder / "ProfileList.ini", bytes);
  ExerciseList(folder, defaults, profile);

  std::filesystem::remove_all(folder, ignored);
  return 0;
}
