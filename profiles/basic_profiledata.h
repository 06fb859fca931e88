#pragma once
// A device's profile document: the loaded device entry of one profile file and typed access to its
// sections. The base holds what every kind has (lighting, key list, the custom light steps); the kinds add
// their own sections. Getters and setters work on the in-memory entry; Save writes it back into the file,
// keeping everything else in the file as it was.

#include <json/json.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"
#include "profiles/json_file_util.h"
#include "profiles/profile_records.h"

namespace norvane {

class CBasicProfiledata {
 public:
  // Every device uses entry 0; a handful of entries is the most any file may address.
  static constexpr std::int32_t kMaxDeviceIndex = 15;

  CBasicProfiledata() = default;
  virtual ~CBasicProfiledata() = default;
  CBasicProfiledata(const CBasicProfiledata&) = default;
  CBasicProfiledata& operator=(const CBasicProfiledata&) = default;

  // Writes the in-memory entry into the own file.
  virtual FileResult Save();
  // Reads the file at path, replaces "Device"[deviceIndex] with entry and writes the whole document back.
  virtual FileResult SaveEntry(const Json::Value& entry, const std::filesystem::path& path);
  // Saves the secondary entry into the file at path.
  virtual FileResult SaveSecondaryTo(const std::filesystem::path& path);
  // Writes value as the whole file at path.
  virtual FileResult WriteDocument(const Json::Value& value, const std::filesystem::path& path);

  // Empty arguments are ignored.
  void SetFilePath(const std::filesystem::path& path);
  const std::filesystem::path& GetFilePath() const { return file_path_; }
  void SetDefaultPath(const std::filesystem::path& path);
  const std::filesystem::path& GetDefaultPath() const { return default_path_; }
  // Indexes outside 0..kMaxDeviceIndex are ignored.
  void SetDeviceIndex(std::int32_t index);
  std::int32_t GetDeviceIndex() const { return device_index_; }

  // Loads "Device"[deviceIndex] of the file at path. When the entry is missing (no file, a damaged file, no
  // "Device" array or no such element) it is seeded from the default profile and the file is written at
  // once, keeping the rest of a readable document. A damaged file is kept aside as ".bak" first.
  Json::Value LoadEntry(const std::filesystem::path& path);
  // The entry that a profile file's text gives, completed from the default profile's document when
  // missing, the way LoadEntry reads it; nothing is written.
  Json::Value LoadEntryFromText(std::string_view text, const Json::Value& defaults);
  // The same into the secondary entry, used to change a profile that is not the current one.
  Json::Value LoadSecondary(const std::filesystem::path& path);
  // The outcome of the last file write LoadEntry/LoadSecondary had to make (success when none).
  const FileResult& GetLastLoadResult() const { return last_load_result_; }

  const Json::Value& GetEntry() const { return entry_; }
  const Json::Value& GetSecondaryEntry() const { return secondary_entry_; }

  LightEffect GetLightInfo();
  void SetLightInfo(const LightEffect& light);
  AudioLightInfo GetAudioLightInfo();
  void SetAudioLightInfo(const AudioLightInfo& audio);
  // "LightList" is read only; it comes from the default profile.
  std::vector<LightEffect> GetLightList();

  void SetLightConfigPath(const std::filesystem::path& path) { light_config_path_ = path; }
  const std::filesystem::path& GetLightConfigPath() const { return light_config_path_; }
  // Reads the light configuration ("vexor_light.config") from path into the document.
  Json::Value LoadLightConfig(const std::filesystem::path& path);
  // The same from the configuration's text.
  Json::Value LoadLightConfigFromText(std::string_view text);
  // The steps of the custom light file of the current light mode. The file name comes from the light
  // configuration's "Guid" and is resolved against the folder of the light configuration; only a plain name
  // in that folder is taken (no folders, no "..", nothing absolute), anything else reads as no steps.
  std::vector<LedStep> GetCustomLightSteps();
  // The custom light file GetCustomLightSteps reads; empty when the configuration names none it may read.
  std::filesystem::path CustomLightStepsFile() const;
  // The steps a custom light file's text holds.
  static std::vector<LedStep> ParseLightSteps(std::string_view text);

  std::vector<KeyAssignment> GetKeyList();
  // Writes "Assignment" of the first keys.size() elements; "DefaultAssignment" and later elements stay.
  void SetKeyList(const std::vector<KeyAssignment>& keys);
  std::vector<KeyAssignment> GetSecondaryKeyList();
  void SetSecondaryKeyList(const std::vector<KeyAssignment>& keys);

 protected:
  // The section key of the entry, or null when missing or the entry is not an object.
  const Json::Value& Section(std::string_view key) const;
  // The section key of the entry for writing; a missing or damaged entry becomes an object.
  Json::Value& SectionForWrite(std::string_view key);

  const JsonFileUtil& FileUtil() const { return file_util_; }

 private:
  Json::Value LoadInto(Json::Value& entry, const std::filesystem::path& path);
  // Sets entry to "Device"[deviceIndex] of document or, when the document lacks it, of the defaults (null
  // when they lack it too). True when the document had the entry.
  bool TakeEntry(Json::Value& entry, const Json::Value& document,
                 const std::function<Json::Value()>& defaults) const;
  static std::vector<KeyAssignment> ReadKeyList(const Json::Value& entry);
  static void WriteKeyList(Json::Value& entry, const std::vector<KeyAssignment>& keys);

  std::filesystem::path file_path_;
  std::filesystem::path default_path_;
  LightEffect current_light_;
  LightEffect default_light_;
  AudioLightInfo audio_light_;
  std::vector<LightEffect> light_list_;
  Json::Value entry_;
  JsonFileUtil file_util_;
  Json::Value secondary_entry_;
  std::filesystem::path light_config_path_;
  std::vector<LedStep> custom_light_steps_;
  Json::Value light_config_;
  std::vector<KeyAssignment> key_list_;
  std::vector<KeyAssignment> secondary_key_list_;
  std::int32_t device_index_ = 0;
  FileResult last_load_result_;
};

}  // namespace norvane
