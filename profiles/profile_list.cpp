#include "profiles/profile_list.h"

#include <algorithm>
#include <system_error>

#include "platform/trace.h"
#include "platform/xdg_paths.h"
#include "profiles/json_access.h"
#include "profiles/profile_document_io.h"
#include "profiles/profile_names.h"

namespace norvane {

using json::Element;
using json::Member;

namespace {

ProfileListResult NothingDone() {
  return {ProfileListResult::kNothingDone, {}};
}
ProfileListResult Done() {
  return {};
}
ProfileListResult FileError(std::string error) {
  return {ProfileListResult::kFileError, std::move(error)};
}
ProfileListResult FromFile(const FileResult& result) {
  return result ? Done() : FileError(result.error);
}

void RemoveQuietly(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

}  // namespace

CDeviceProfileList::CDeviceProfileList(const TimeSource& time) : time_(&time), file_util_(time) {}

void CDeviceProfileList::SetFolders(const std::filesystem::path& data_folder,
                                    const std::filesystem::path& default_template) {
  data_folder_ = data_folder;
  default_template_ = default_template;
}

std::filesystem::path CDeviceProfileList::ListPath() const {
  return data_folder_ / kListFileName;
}

std::filesystem::path CDeviceProfileList::PathOfId(const std::string& id) const {
  return data_folder_ / (id + kProfileExtension);
}

std::filesystem::path CDeviceProfileList::GetProfilePath(int index) const {
  if (index < 0 || index >= GetProfileCount()) return {};
  return PathOfId(entries_[static_cast<std::size_t>(index)].id);
}

std::vector<std::string> CDeviceProfileList::Names() const {
  std::vector<std::string> names;
  names.reserve(entries_.size());
  for (const Entry& entry : entries_) names.push_back(entry.name);
  return names;
}

std::string CDeviceProfileList::GetNameText() const {
  return selected_ >= 0 ? entries_[static_cast<std::size_t>(selected_)].name : std::string();
}

std::string CDeviceProfileList::NewIdentifier() const {
  // Identifiers are millisecond time stamps; two profiles made within one millisecond (or a clock that went
  // back) would share a file, so the stamp moves on until it is unused.
  auto when = time_->Now();
  for (;;) {
    std::string id = JsonFileUtil::MakeTimeName(when);
    const bool listed =
        std::any_of(entries_.begin(), entries_.end(), [&](const Entry& entry) { return entry.id == id; });
    std::error_code error;
    if (!listed && !std::filesystem::exists(PathOfId(id), error)) return id;
    when += std::chrono::milliseconds(1);
  }
}

Json::Value CDeviceProfileList::ListDocument(const std::vector<Entry>& entries, int select) const {
  Json::Value document = list_document_.isObject() ? list_document_ : Json::Value(Json::objectValue);
  Json::Value list(Json::arrayValue);
  for (const Entry& entry : entries) {
    Json::Value item = entry.stored.isObject() ? entry.stored : Json::Value(Json::objectValue);
    item["profilename"] = entry.name;
    item["profileUUID"] = entry.id;
    item["profileislink"] = 0;
    item["profilelinkmame"] = "";
    list.append(std::move(item));
  }
  document["profilelist"] = std::move(list);
  document["profileselect"] = select;
  return document;
}

ProfileListResult CDeviceProfileList::WriteList(const std::vector<Entry>& entries, int select) {
  Json::Value document = ListDocument(entries, select);
  const FileResult result = file_util_.WriteJsonValue(ListPath(), document);
  if (result) list_document_ = std::move(document);
  return FromFile(result);
}

ProfileListResult CDeviceProfileList::WriteProfileFile(Json::Value document, const std::string& name,
                                                       const std::string& id) {
  if (!document.isObject()) document = Json::Value(Json::objectValue);
  document["profilename"] = name;
  document["profileUUID"] = id;
  return FromFile(file_util_.WriteJsonValue(PathOfId(id), document));
}

ProfileListResult CDeviceProfileList::AppendWrittenEntry(Entry entry) {
  std::vector<Entry> entries = entries_;
  const std::string id = entry.id;
  entries.push_back(std::move(entry));
  ProfileListResult result = WriteList(entries, selected_);
  if (!result.done()) {
    RemoveQuietly(PathOfId(id));
    return result;
  }
  entries_ = std::move(entries);
  return result;
}

void CDeviceProfileList::ApplySelection(int index) {
  selected_ = index;
  current_id_ = index >= 0 ? entries_[static_cast<std::size_t>(index)].id : std::string();
}

ProfileListResult CDeviceProfileList::CreateFirstProfile() {
  entries_.clear();
  ApplySelection(-1);
  Entry first{"Profile1", NewIdentifier(), Json::Value()};
  ProfileListResult written =
      WriteProfileFile(file_util_.ReadJsonValue(default_template_), first.name, first.id);
  if (!written.done()) return written;
  entries_.push_back(first);
  if (ProfileListResult listed = WriteList(entries_, 0); !listed.done()) {
    // The profile stays usable for this session; the list is written again by the next operation.
    ApplySelection(0);
    return listed;
  }
  ApplySelection(0);
  return Done();
}

ProfileListResult CDeviceProfileList::LoadProfileList() {
  if (!EnsureFolder(data_folder_)) {
    return FileError("Cannot create the profile folder \"" + data_folder_.string() + "\"");
  }
  const bool settled = ReadProfileListText(file_util_.readjsonFile(ListPath()));
  if (entries_.empty()) return CreateFirstProfile();
  if (settled) return Done();
  return WriteList(entries_, selected_);
}

bool CDeviceProfileList::ReadProfileListText(std::string_view text) {
  const Json::Value document = JsonFileUtil::ParseJson(text);
  list_document_ = document.isObject() ? document : Json::Value(Json::objectValue);
  entries_.clear();
  ApplySelection(-1);

  bool dropped = false;
  const Json::Value& list = Member(document, "profilelist");
  for (std::int64_t i = 0; i < json::ArraySize(list); ++i) {
    const Json::Value& item = Element(list, i);
    const std::string id = json::ReadString(item, "profileUUID");
    const bool duplicate =
        std::any_of(entries_.begin(), entries_.end(), [&](const Entry& entry) { return entry.id == id; });
    if (!IsPlainFileName(id) || duplicate) {
      // An identifier that is not a plain name could reach files outside the folder; a repeated one would
      // let two profiles share (and delete) one file. Such entries are left out.
      Trace("ProfileList: refused the profile identifier \"" + id + "\"");
      dropped = true;
      continue;
    }
    std::string name = json::ReadString(item, "profilename");
    if (IsBlankName(name)) name = NameForNewProfile(Names());
    entries_.push_back({std::move(name), id, item});
  }
  if (entries_.empty()) return false;

  const std::int64_t stored = json::ToInteger(Member(document, "profileselect")).value_or(-1);
  const bool stored_valid = stored >= 0 && stored < GetProfileCount();
  ApplySelection(stored_valid ? static_cast<int>(stored) : 0);
  return stored_valid && !dropped;
}

ProfileListResult CDeviceProfileList::SelectProfile(int index) {
  if (entries_.empty()) return NothingDone();
  if (index < 0 || index >= GetProfileCount()) index = 0;
  ApplySelection(index);
  return WriteList(entries_, selected_);
}

ProfileListResult CDeviceProfileList::AddProfile() {
  if (entries_.size() >= kMaxProfilesForAdd) return NothingDone();
  Entry entry{NameForNewProfile(Names()), NewIdentifier(), Json::Value()};
  ProfileListResult written =
      WriteProfileFile(file_util_.ReadJsonValue(default_template_), entry.name, entry.id);
  if (!written.done()) return written;
  return AppendWrittenEntry(std::move(entry));
}

ProfileListResult CDeviceProfileList::DeleteProfile() {
  if (selected_ < 0 || entries_.size() <= 1) return NothingDone();
  const int new_selection = selected_ == 0 ? 0 : selected_ - 1;
  std::vector<Entry> entries = entries_;
  const Entry removed = entries[static_cast<std::size_t>(selected_)];
  entries.erase(entries.begin() + selected_);
  if (ProfileListResult listed = WriteList(entries, new_selection); !listed.done()) return listed;
  entries_ = std::move(entries);
  ApplySelection(new_selection);
  std::error_code error;
  std::filesystem::remove(PathOfId(removed.id), error);
  if (error) {
    // The list no longer names the file; a stray file is harmless, so the deletion stands.
    LogFileFailure(
        FileResult::Failure("Cannot delete \"" + PathOfId(removed.id).string() + "\": " + error.message()));
  }
  return Done();
}

ProfileListResult CDeviceProfileList::CopyProfile() {
  if (selected_ < 0) return NothingDone();
  const Entry& source = entries_[static_cast<std::size_t>(selected_)];
  Entry entry{NameForCopy(source.name, Names()), NewIdentifier(), Json::Value()};
  ProfileListResult written =
      WriteProfileFile(file_util_.ReadJsonValue(PathOfId(source.id)), entry.name, entry.id);
  if (!written.done()) return written;
  return AppendWrittenEntry(std::move(entry));
}

ProfileListResult CDeviceProfileList::ImportProfile(const std::filesystem::path& path) {
  const Json::Value document = file_util_.ReadJsonValue(path);
  if (!IsProfileDocument(document)) return NothingDone();
  std::string stem = JsonFileUtil::FileStem(path);
  if (IsBlankName(stem)) stem = NameForNewProfile(Names());
  Entry entry{NameForImport(stem, Names()), NewIdentifier(), Json::Value()};
  ProfileListResult written = WriteProfileFile(document, entry.name, entry.id);
  if (!written.done()) return written;
  return AppendWrittenEntry(std::move(entry));
}

bool CDeviceProfileList::IsProfileDocument(const Json::Value& document) {
  return document.isObject() && !Member(document, "profilename").isNull() &&
         !Member(document, "profileUUID").isNull();
}

ProfileListResult CDeviceProfileList::ExportProfile(const std::filesystem::path& path) {
  return ExportProfileAt(selected_, path);
}

std::vector<std::string> CDeviceProfileList::Identifiers() const {
  std::vector<std::string> ids;
  for (const Entry& entry : entries_) ids.push_back(entry.id);
  return ids;
}

ProfileListResult CDeviceProfileList::ExportProfileAt(int index, const std::filesystem::path& path) {
  if (index < 0 || index >= GetProfileCount()) return NothingDone();
  const std::filesystem::path source = GetProfilePath(index);
  const Json::Value document = file_util_.ReadJsonValue(source);
  if (!document.isObject()) return FileError("Cannot read the profile \"" + source.string() + "\"");
  return FromFile(file_util_.WriteJsonValue(path, document));
}

ProfileListResult CDeviceProfileList::ResetProfile() {
  if (selected_ < 0) return NothingDone();
  const Entry& entry = entries_[static_cast<std::size_t>(selected_)];
  Json::Value document = file_util_.ReadJsonValue(default_template_);
  if (!document.isObject()) {
    return FileError("Cannot read the default profile \"" + default_template_.string() + "\"");
  }
  constexpr int kHeadset = 7;
  if (kind_ == kHeadset) {
    // The user's own equalizer presets survive a reset.
    const Json::Value existing = file_util_.ReadJsonValue(PathOfId(entry.id));
    const Json::Value& old_entry = Element(Member(existing, "Device"), 0);
    Json::Value new_entry = Element(Member(document, "Device"), 0);
    for (const char* key : {"CustomEQNameInfo", "CustomEQHzValueInfo"}) {
      const Json::Value& kept = Member(old_entry, key);
      if (!kept.isNull()) json::MemberForWrite(new_entry, key) = kept;
    }
    if (!Member(document, "Device").isArray()) document["Device"] = Json::Value(Json::arrayValue);
    PutDeviceEntry(document, 0, new_entry);
  }
  return WriteProfileFile(std::move(document), entry.name, entry.id);
}

ProfileListResult CDeviceProfileList::RenameProfile(const std::string& name) {
  if (name.find('&') != std::string::npos) return {ProfileListResult::kAmpersandInName, {}};
  if (selected_ < 0) return NothingDone();
  if (IsBlankName(name)) return {ProfileListResult::kBlankName, {}};
  for (int i = 0; i < GetProfileCount(); ++i) {
    if (i != selected_ && SameNameIgnoringCase(entries_[static_cast<std::size_t>(i)].name, name)) {
      return NothingDone();
    }
  }
  std::vector<Entry> entries = entries_;
  Entry& renamed = entries[static_cast<std::size_t>(selected_)];
  const std::string old_name = renamed.name;
  renamed.name = name;

  const std::filesystem::path profile_path = PathOfId(renamed.id);
  ProfileDocumentForUpdate file = ReadProfileDocumentForUpdate(profile_path);
  if (!file.writable) return FileError(file.writable.error);
  const Json::Value& document = file.document;
  if (ProfileListResult written = WriteProfileFile(document, name, renamed.id); !written.done())
    return written;
  if (ProfileListResult listed = WriteList(entries, selected_); !listed.done()) {
    // Put the old name back into the profile file so that list and file keep agreeing.
    LogFileFailure(file_util_.WriteJsonValue(profile_path, [&] {
      Json::Value restored = document;
      restored["profilename"] = old_name;
      restored["profileUUID"] = renamed.id;
      return restored;
    }()));
    return listed;
  }
  entries_ = std::move(entries);
  return Done();
}

}  // namespace norvane
