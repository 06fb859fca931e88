#include "profiles/basic_profiledata.h"

#include "platform/xdg_paths.h"
#include "profiles/json_access.h"
#include "profiles/light_sections.h"
#include "profiles/profile_document_io.h"

namespace norvane {

using json::Element;
using json::Member;
using json::MemberForWrite;

namespace {

// A "Guid" names a custom light file relative to the device folder. Only plain names (optionally below
// sub-folders) are accepted, so a damaged or hostile configuration cannot reach other files.
// A custom light file is named by a plain name in the light configuration's own folder: no folders, no
// way up, nothing absolute. Anything else reads as missing.
bool IsPlainStepFileName(const std::string& name) {
  if (name.empty() || name.find('\0') != std::string::npos || name.find('\\') != std::string::npos ||
      name.find('/') != std::string::npos)
    return false;
  return IsPlainFileName(name);
}

}  // namespace

FileResult CBasicProfiledata::Save() {
  return SaveEntry(entry_, file_path_);
}

FileResult CBasicProfiledata::SaveEntry(const Json::Value& entry, const std::filesystem::path& path) {
  if (path.empty()) return FileResult::Failure("No profile file is chosen to save into");
  ProfileDocumentForUpdate file = ReadProfileDocumentForUpdate(path);
  if (!file.writable) return file.writable;
  PutDeviceEntry(file.document, device_index_, entry);
  return file_util_.WriteJsonValue(path, file.document);
}

FileResult CBasicProfiledata::SaveSecondaryTo(const std::filesystem::path& path) {
  return SaveEntry(secondary_entry_, path);
}

FileResult CBasicProfiledata::WriteDocument(const Json::Value& value, const std::filesystem::path& path) {
  return file_util_.WriteJsonValue(path, value);
}

void CBasicProfiledata::SetFilePath(const std::filesystem::path& path) {
  if (!path.empty()) file_path_ = path;
}

void CBasicProfiledata::SetDefaultPath(const std::filesystem::path& path) {
  if (!path.empty()) default_path_ = path;
}

void CBasicProfiledata::SetDeviceIndex(std::int32_t index) {
  if (index >= 0 && index <= kMaxDeviceIndex) device_index_ = index;
}

bool CBasicProfiledata::TakeEntry(Json::Value& entry, const Json::Value& document,
                                  const std::function<Json::Value()>& defaults) const {
  entry = Element(Member(document, "Device"), device_index_);
  if (entry.isObject()) return true;
  const Json::Value seed = defaults();
  entry = Element(Member(seed, "Device"), device_index_);
  // Nothing to repair with: every getter gives its default.
  if (!entry.isObject()) entry = Json::Value();
  return false;
}

Json::Value CBasicProfiledata::LoadInto(Json::Value& entry, const std::filesystem::path& path) {
  last_load_result_ = FileResult::Success();
  ParsedProfileDocument file = ParseProfileDocumentForUpdate(file_util_.readjsonFile(path));
  const auto defaults = [&] {
    return default_path_.empty() ? Json::Value() : file_util_.ReadJsonValue(default_path_);
  };
  // The file stays as it is until saved when it has the entry or nothing can repair it.
  if (TakeEntry(entry, file.document, defaults) || entry.isNull()) return entry;
  if (file.keepAside) {
    FileResult kept = JsonFileUtil::KeepAside(path);
    LogFileFailure(kept);
    if (!kept) {
      last_load_result_ = std::move(kept);  // the seeded entry is used, but the file is left as it was
      return entry;
    }
  }
  PutDeviceEntry(file.document, device_index_, entry);
  last_load_result_ = file_util_.WriteJsonValue(path, file.document);
  return entry;
}

Json::Value CBasicProfiledata::LoadEntryFromText(std::string_view text, const Json::Value& defaults) {
  TakeEntry(entry_, ParseProfileDocumentForUpdate(text).document, [&] { return defaults; });
  return entry_;
}

Json::Value CBasicProfiledata::LoadEntry(const std::filesystem::path& path) {
  return LoadInto(entry_, path);
}

Json::Value CBasicProfiledata::LoadSecondary(const std::filesystem::path& path) {
  return LoadInto(secondary_entry_, path);
}

const Json::Value& CBasicProfiledata::Section(std::string_view key) const {
  return Member(entry_, key);
}

Json::Value& CBasicProfiledata::SectionForWrite(std::string_view key) {
  return MemberForWrite(entry_, key);
}

LightEffect CBasicProfiledata::GetLightInfo() {
  const Json::Value& section = Section("LightInfo");
  current_light_ = section.isObject() ? sections::ReadLightInfo(section) : default_light_;
  return current_light_;
}

void CBasicProfiledata::SetLightInfo(const LightEffect& light) {
  current_light_ = light;
  sections::WriteLightInfo(SectionForWrite("LightInfo"), light);
}

AudioLightInfo CBasicProfiledata::GetAudioLightInfo() {
  const Json::Value& section = Section("AudioLightInfo");
  audio_light_ = section.isObject() ? sections::ReadAudioLightInfo(section) : AudioLightInfo{};
  return audio_light_;
}

void CBasicProfiledata::SetAudioLightInfo(const AudioLightInfo& audio) {
  audio_light_ = audio;
  sections::WriteAudioLightInfo(SectionForWrite("AudioLightInfo"), audio);
}

std::vector<LightEffect> CBasicProfiledata::GetLightList() {
  const Json::Value& list = Section("LightList");
  light_list_.clear();
  for (std::int64_t i = 0; i < json::ArraySize(list); ++i) {
    light_list_.push_back(sections::ReadLightListElement(Element(list, i)));
  }
  return light_list_;
}

Json::Value CBasicProfiledata::LoadLightConfig(const std::filesystem::path& path) {
  return LoadLightConfigFromText(file_util_.readjsonFile(path));
}

Json::Value CBasicProfiledata::LoadLightConfigFromText(std::string_view text) {
  light_config_ = JsonFileUtil::ParseJson(text);
  return light_config_;
}

std::filesystem::path CBasicProfiledata::CustomLightStepsFile() const {
  if (light_config_.isNull()) return {};
  const Json::Value& modes = Element(Member(light_config_, "LightInfo"), device_index_);
  const std::string name = json::ReadString(Element(modes, current_light_.mode), "Guid");
  if (!IsPlainStepFileName(name)) return {};
  return light_config_path_.parent_path() / (name + ".light");
}

std::vector<LedStep> CBasicProfiledata::ParseLightSteps(std::string_view text) {
  const Json::Value steps = JsonFileUtil::ParseJson(text);
  const Json::Value& list = Member(steps, "LEDEffectList");
  std::vector<LedStep> parsed;
  for (std::int64_t i = 0; i < json::ArraySize(list); ++i) parsed.push_back(sections::ReadLedStep(Element(list, i)));
  return parsed;
}

std::vector<LedStep> CBasicProfiledata::GetCustomLightSteps() {
  const std::filesystem::path file = CustomLightStepsFile();
  custom_light_steps_ = file.empty() ? std::vector<LedStep>{} : ParseLightSteps(file_util_.readjsonFile(file));
  return custom_light_steps_;
}

std::vector<KeyAssignment> CBasicProfiledata::ReadKeyList(const Json::Value& entry) {
  const Json::Value& list = Member(entry, "KeyList");
  std::vector<KeyAssignment> keys;
  // A key index is 16 bits wide; a longer list cannot be addressed and is not read past that.
  const std::int64_t count = std::min<std::int64_t>(json::ArraySize(list), 65536);
  keys.reserve(static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i) {
    const Json::Value& element = Element(list, i);
    KeyAssignment key;
    key.key_index = static_cast<std::uint16_t>(i);
    key.default_key_index = static_cast<std::uint16_t>(i);
    key.current = KeyFunction::Unpack(json::ToInteger(Member(element, "Assignment")).value_or(0));
    key.default_function =
        KeyFunction::Unpack(json::ToInteger(Member(element, "DefaultAssignment")).value_or(0));
    keys.push_back(key);
  }
  return keys;
}

void CBasicProfiledata::WriteKeyList(Json::Value& entry, const std::vector<KeyAssignment>& keys) {
  Json::Value& list = MemberForWrite(entry, "KeyList");
  for (std::size_t i = 0; i < keys.size(); ++i) {
    Json::Value* element = json::ElementForWrite(list, static_cast<std::int64_t>(i));
    if (element == nullptr) break;
    MemberForWrite(*element, "Assignment") = static_cast<Json::Int64>(keys[i].current.Pack());
  }
}

std::vector<KeyAssignment> CBasicProfiledata::GetKeyList() {
  key_list_ = ReadKeyList(entry_);
  return key_list_;
}

void CBasicProfiledata::SetKeyList(const std::vector<KeyAssignment>& keys) {
  key_list_ = keys;
  WriteKeyList(entry_, keys);
}

std::vector<KeyAssignment> CBasicProfiledata::GetSecondaryKeyList() {
  secondary_key_list_ = ReadKeyList(secondary_entry_);
  return secondary_key_list_;
}

void CBasicProfiledata::SetSecondaryKeyList(const std::vector<KeyAssignment>& keys) {
  secondary_key_list_ = keys;
  WriteKeyList(secondary_entry_, keys);
}

}  // namespace norvane
