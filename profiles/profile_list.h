#pragma once
// The list of a device's profiles ("ProfileList.ini" in the device folder) and the operations on it, free
// of any widget: the profile bar shows Names() in its combo box and calls these operations. Every
// operation keeps the list file, the profile files and the in-memory selection in step, writes files
// atomically, and reports a failed write to the caller with the state left as it was.
//
// Profile identifiers come from the list file and name the profile files. Only plain file names are
// accepted, so no file outside the device folder is ever read, written or deleted through the list.

#include <json/json.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/json_file_util.h"

namespace norvane {

// Outcome of a list operation. Codes: 1 done; 0 nothing done (refused as the rules say: the profile limit,
// no selection, a name in use, a file that is not a profile); RenameProfile also gives 2 (blank name) and
// 3 (name with "&"); -1 a file could not be read or written (error says which and why).
struct ProfileListResult {
  static constexpr int kDone = 1;
  static constexpr int kNothingDone = 0;
  static constexpr int kBlankName = 2;
  static constexpr int kAmpersandInName = 3;
  static constexpr int kFileError = -1;

  int code = kDone;
  std::string error;

  bool done() const { return code == kDone; }
};

class CDeviceProfileList {
 public:
  static constexpr std::size_t kMaxProfilesForAdd = 50;
  static constexpr const char* kListFileName = "ProfileList.ini";
  static constexpr const char* kProfileExtension = ".Json";

  explicit CDeviceProfileList(const TimeSource& time = TimeSource::System());

  // The owning device's DeviceKind code (1 keyboard, 2 mouse, 3 mouse pad, 7 headset, ...).
  void SetDeviceKind(int kind) { kind_ = kind; }
  int GetDeviceKind() const { return kind_; }
  // The device folder (created when missing) and the device model's default profile.
  void SetFolders(const std::filesystem::path& data_folder, const std::filesystem::path& default_template);

  // Reads the list; a missing, damaged or empty list becomes a new list with the single profile "Profile1"
  // made from the default profile. Then selects the stored "profileselect" (the first profile when it is
  // outside the list).
  ProfileListResult LoadProfileList();
  // Reads the list from the list file's text the way LoadProfileList does, without touching any file. False
  // when the list is to be written again: no usable entry (the list is then empty), entries left out, or a
  // stored selection outside the list.
  bool ReadProfileListText(std::string_view text);

  // Selects profile index (0 when outside the list) and stores the choice.
  ProfileListResult SelectProfile(int index);

  int GetSelectedIndex() const { return selected_; }
  const std::string& GetCurrentProfileId() const { return current_id_; }
  int GetProfileCount() const { return static_cast<int>(entries_.size()); }
  // Device folder + identifier + ".Json"; empty for an index outside the list.
  std::filesystem::path GetProfilePath(int index) const;
  // The file of the selected profile; empty when nothing is selected.
  std::filesystem::path GetCurrentProfilePath() const { return GetProfilePath(selected_); }
  std::vector<std::string> Names() const;
  // The selected profile's name; empty when nothing is selected.
  std::string GetNameText() const;

  // Appends "profileN" made from the default profile; refused at kMaxProfilesForAdd profiles. The
  // selection does not change.
  ProfileListResult AddProfile();
  // Deletes the selected profile and its file and selects its neighbour (the previous one, or the new
  // first). Refused without a selection or with a single profile. Callers load GetCurrentProfileId() next.
  ProfileListResult DeleteProfile();
  // Appends "<name> copy" with the content of the selected profile. Refused without a selection.
  ProfileListResult CopyProfile();
  // Appends the profile file at path under its file stem (made unique). Refused for files that are not
  // profile documents.
  ProfileListResult ImportProfile(const std::filesystem::path& path);
  // A JSON object with "profilename" and "profileUUID".
  static bool IsProfileDocument(const Json::Value& document);
  // Writes the selected profile's document to path. Refused without a selection.
  ProfileListResult ExportProfile(const std::filesystem::path& path);
  // Writes profile index's document to path. Refused for an index outside the list.
  ProfileListResult ExportProfileAt(int index, const std::filesystem::path& path);
  // The profile's identifiers, in list order.
  std::vector<std::string> Identifiers() const;
  // Replaces the selected profile's file by the default profile, keeping its name and identifier (and, on
  // headsets, the custom equalizer presets). Refused without a selection; fails when the default profile
  // cannot be read, leaving the profile as it was.
  ProfileListResult ResetProfile();
  // Renames the selected profile: 3 when name holds "&", 0 without a selection or when another profile
  // uses the name (ignoring case), 2 for a blank name, 1 when renamed.
  ProfileListResult RenameProfile(const std::string& name);

 private:
  struct Entry {
    std::string name;
    std::string id;
    Json::Value stored;  // the entry object as read, so that members we do not know survive
  };

  std::filesystem::path ListPath() const;
  std::filesystem::path PathOfId(const std::string& id) const;
  std::string NewIdentifier() const;
  Json::Value ListDocument(const std::vector<Entry>& entries, int select) const;
  ProfileListResult WriteList(const std::vector<Entry>& entries, int select);
  // Writes document as profile id's file after setting its name and identifier.
  ProfileListResult WriteProfileFile(Json::Value document, const std::string& name, const std::string& id);
  // Appends entry (whose file was just written) and stores the list; removes the file again on failure.
  ProfileListResult AppendWrittenEntry(Entry entry);
  void ApplySelection(int index);
  ProfileListResult CreateFirstProfile();

  const TimeSource* time_;
  JsonFileUtil file_util_;
  int kind_ = 0;
  std::filesystem::path data_folder_;
  std::filesystem::path default_template_;
  std::vector<Entry> entries_;
  int selected_ = -1;
  std::string current_id_;
  Json::Value list_document_{Json::objectValue};
};

}  // namespace norvane
