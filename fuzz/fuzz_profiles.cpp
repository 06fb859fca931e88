// Arbitrary bytes as a profile document of each kind, as the default profile that completes it, as the light
// configuration, as a custom light file and as the profile list, all read from memory. Nothing may crash or
// hang; what a save would write reads back as a profile document holding the entry.
// libFuzzer: -max_len=2048
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_require.h"
#include "profiles/hs6533_profiledata.h"
#include "profiles/json_file_util.h"
#include "profiles/keyboard_profiledata.h"
#include "profiles/mouse_profiledata.h"
#include "profiles/profile_document_io.h"
#include "profiles/profile_list.h"

using norvane::fuzz::Require;

namespace {

using norvane::JsonFileUtil;

void ExerciseBase(norvane::CBasicProfiledata& document) {
  const norvane::LightEffect light = document.GetLightInfo();
  document.GetAudioLightInfo();
  document.GetLightList();
  auto keys = document.GetKeyList();
  if (!keys.empty()) keys.front().current = {0x20, 0, 4};
  document.SetKeyList(keys);
  document.SetLightInfo(light);
}

// The light configuration and the custom light file it names; the same for every kind.
void ExerciseLightConfiguration(norvane::CBasicProfiledata& document, std::string_view bytes) {
  // Never read: the steps come from the bytes below.
  document.SetLightConfigPath("/nonexistent/norvane-fuzz/vexor_light.config");
  document.LoadLightConfigFromText(bytes);
  const std::filesystem::path steps = document.CustomLightStepsFile();
  Require(steps.empty() || steps.parent_path() == "/nonexistent/norvane-fuzz");
  (void)norvane::CBasicProfiledata::ParseLightSteps(bytes);
}

// What Save would write into a file holding the profile: the document with the entry put in, which reads
// back as a profile document holding the entry.
void SaveInMemory(const norvane::CBasicProfiledata& document, const norvane::ParsedProfileDocument& file) {
  Json::Value saved = file.document;
  norvane::PutDeviceEntry(saved, document.GetDeviceIndex(), document.GetEntry());
  Json::Value back;
  Require(JsonFileUtil::TryParseJson(JsonFileUtil::StyledText(saved), back));
  Require(back["Device"].isArray() && back["Device"].size() > Json::ArrayIndex(document.GetDeviceIndex()));
}

void ExerciseKeyboard(std::string_view profile, const Json::Value& defaults,
                      const norvane::ParsedProfileDocument& file) {
  norvane::CKeyboardProfiledata keyboard;
  keyboard.LoadEntryFromText(profile, defaults);
  ExerciseBase(keyboard);
  keyboard.SetSystemStages(keyboard.GetSystemStages());
  const std::int32_t group = keyboard.GetLightColorGroup();
  // A few keys: every key's colour is read and filled in by the same code, and 170 of them would cost the
  // target most of its time.
  keyboard.SetLightColors(keyboard.GetLightColors(group, 1 + static_cast<std::int32_t>(profile.size() % 16)), group);
  SaveInMemory(keyboard, file);
}

void ExerciseMouse(std::string_view profile, const Json::Value& defaults, const norvane::ParsedProfileDocument& file) {
  norvane::CMouseProfiledata mouse;
  mouse.LoadEntryFromText(profile, defaults);
  ExerciseBase(mouse);
  mouse.SetDpiStages(mouse.GetDpiStages());
  mouse.SetActiveDpiStage(mouse.GetActiveDpiStage());
  mouse.SetSystemStages(mouse.GetSystemStages());
  mouse.GetCorrectInfo();
  SaveInMemory(mouse, file);
}

void ExerciseHeadset(std::string_view profile, const Json::Value& defaults,
                     const norvane::ParsedProfileDocument& file) {
  norvane::CHs6533Profiledata headset;
  headset.LoadEntryFromText(profile, defaults);
  ExerciseBase(headset);
  const norvane::HeadsetSystemSetStages stages = headset.GetSystemSetStages();
  headset.SetSystemSetStages(stages);
  headset.SetEqValues(stages.eq_type, headset.GetEqValues(stages.eq_type));
  headset.SetCustomEqNames(headset.GetCustomEqNames());
  headset.SetCustomEqValues(stages.custom_eq_select_index,
                            headset.GetCustomEqValues(stages.custom_eq_select_index));
  SaveInMemory(headset, file);
}

void ExerciseList(std::string_view bytes, const Json::Value& document) {
  norvane::CDeviceProfileList list;
  list.SetDeviceKind(7);
  (void)list.ReadProfileListText(bytes);
  const std::vector<std::string> names = list.Names();
  const std::vector<std::string> ids = list.Identifiers();
  Require(names.size() == ids.size() && static_cast<int>(ids.size()) == list.GetProfileCount());
  Require(list.GetProfileCount() == 0 ? list.GetSelectedIndex() == -1
                                      : list.GetSelectedIndex() >= 0 && list.GetSelectedIndex() < list.GetProfileCount());
  for (int i = 0; i < list.GetProfileCount(); ++i) {
    // Only plain names: a profile file never lies outside the device folder.
    Require(list.GetProfilePath(i).parent_path().empty());
  }
  (void)list.GetNameText();
  (void)norvane::CDeviceProfileList::IsProfileDocument(document);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // One reader per input, picked by its length, so that every reader sees inputs of every shape over a run
  // and an input costs one reader's time.
  switch (size % 6) {
    case 0:
    case 1:
    case 2: {
      const Json::Value document = JsonFileUtil::ParseJson(bytes);
      const norvane::ParsedProfileDocument file = norvane::ParseProfileDocumentForUpdate(bytes);
      Require(file.document.isObject());
      if (size % 6 == 0) ExerciseKeyboard(bytes, document, file);
      if (size % 6 == 1) ExerciseMouse(bytes, document, file);
      if (size % 6 == 2) ExerciseHeadset(bytes, document, file);
      break;
    }
    case 3: {
      // The same bytes as the default that completes a missing profile (the completion is every kind's).
      norvane::CKeyboardProfiledata seeded;
      seeded.LoadEntryFromText({}, JsonFileUtil::ParseJson(bytes));
      ExerciseBase(seeded);
      break;
    }
    case 4: {
      norvane::CKeyboardProfiledata configured;
      ExerciseLightConfiguration(configured, bytes);
      break;
    }
    default:
      ExerciseList(bytes, JsonFileUtil::ParseJson(bytes));
      break;
  }
  return 0;
}
