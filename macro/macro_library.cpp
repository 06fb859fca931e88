#include "macro/macro_library.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "macro/macro_names.h"
#include "platform/atomic_file.h"
#include "platform/xdg_paths.h"
#include "profiles/profile_names.h"

namespace norvane::macro {
namespace {

void RemoveFile(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::remove(path, error);
  if (error) {
    // The list no longer names the file; a stray file is harmless, so the deletion stands.
    LogFileFailure(FileResult::Failure("Cannot delete \"" + path.string() + "\": " + error.message()));
  }
}

}  // namespace

std::string_view RenameResult::MessageId() const {
  switch (outcome) {
    case RenameOutcome::kAmpersand:
      return "message_text_30";
    case RenameOutcome::kBlank:
    case RenameOutcome::kTaken:
      return "message_text_5";
    default:
      return {};
  }
}

MacroLibrary::MacroLibrary(std::filesystem::path folder, const TimeSource& time)
    : folder_(std::move(folder)), time_(&time) {}

void MacroLibrary::Load() {
  entries_ = ReadMacroList(folder_);
}

void MacroLibrary::LoadListText(std::string_view text) {
  entries_ = ParseMacroList(text);
}

std::vector<std::string> MacroLibrary::Names() const {
  std::vector<std::string> names;
  names.reserve(entries_.size());
  for (const MacroEntry& entry : entries_) names.push_back(entry.name);
  return names;
}

bool MacroLibrary::InList(int index) const {
  return index >= 0 && static_cast<std::size_t>(index) < entries_.size();
}

std::filesystem::path MacroLibrary::FileOf(int index) const {
  if (!InList(index)) return {};
  return MacroFilePath(folder_, entries_[static_cast<std::size_t>(index)].guid);
}

std::string MacroLibrary::NewIdentifier() const {
  // Identifiers are millisecond time stamps; two macros made within one millisecond (or after the clock
  // went back) would share a file, so the stamp moves on until it is unused.
  auto when = time_->Now();
  for (;;) {
    std::string id = JsonFileUtil::MakeTimeName(when);
    const bool listed = std::any_of(entries_.begin(), entries_.end(),
                                    [&](const MacroEntry& entry) { return entry.guid == id; });
    std::error_code error;
    if (!listed && !std::filesystem::exists(MacroFilePath(folder_, id), error)) return id;
    when += std::chrono::milliseconds(1);
  }
}

bool MacroLibrary::WriteList(std::vector<MacroEntry> entries) {
  if (!EnsureFolder(folder_)) {
    LogFileFailure(FileResult::Failure("Cannot create the macro folder \"" + folder_.string() + "\""));
    return false;
  }
  Json::Value info(Json::arrayValue);
  for (const MacroEntry& entry : entries) {
    Json::Value item(Json::objectValue);
    item["Guid"] = entry.guid;
    item["MacroName"] = entry.name;
    info.append(std::move(item));
  }
  Json::Value document(Json::objectValue);
  document["MacroInfo"] = std::move(info);
  if (!file_util_.WriteJsonValue(folder_ / kMacroListFileName, document)) return false;
  entries_ = std::move(entries);
  return true;
}

std::string MacroLibrary::Add() {
  if (entries_.size() >= kMaxMacros) return {};
  MacroEntry entry{NameForNewMacro(Names()), NewIdentifier()};
  std::vector<MacroEntry> entries = entries_;
  entries.push_back(entry);
  if (!WriteList(std::move(entries))) return {};
  return entry.name;
}

RenameResult MacroLibrary::Rename(int index, std::string_view text) {
  if (!InList(index)) return {RenameOutcome::kNoSuchMacro};
  if (text.find('&') != std::string_view::npos) return {RenameOutcome::kAmpersand};
  const std::string_view name = TrimBlanks(text);
  if (name.empty()) return {RenameOutcome::kBlank};
  if (IsNameTaken(Names(), name)) return {RenameOutcome::kTaken};
  std::vector<MacroEntry> entries = entries_;
  entries[static_cast<std::size_t>(index)].name = std::string(name);
  return {WriteList(std::move(entries)) ? RenameOutcome::kRenamed : RenameOutcome::kFileError};
}

int MacroLibrary::Delete(int index) {
  if (!InList(index)) return -1;
  const std::filesystem::path file = FileOf(index);
  std::vector<MacroEntry> entries = entries_;
  const MacroEntry removed = entries[static_cast<std::size_t>(index)];
  entries.erase(entries.begin() + index);
  // The list goes first: should it fail, the macro is still there with its events.
  if (!WriteList(std::move(entries))) return -1;
  const bool shared = std::any_of(entries_.begin(), entries_.end(),
                                  [&](const MacroEntry& entry) { return entry.guid == removed.guid; });
  if (!file.empty() && !shared) RemoveFile(file);
  return index;
}

std::vector<MacroEvent> MacroLibrary::Events(int index) const {
  if (!InList(index)) return {};
  return ReadMacroEvents(folder_, entries_[static_cast<std::size_t>(index)].guid);
}

bool MacroLibrary::Save(int index, std::span<const MacroEvent> events) {
  const std::filesystem::path file = FileOf(index);
  if (file.empty()) return false;
  const MacroEntry& entry = entries_[static_cast<std::size_t>(index)];
  Json::Value list(Json::arrayValue);
  for (const MacroEvent& event : events) list.append(MacroEventJson(event));
  Json::Value document(Json::objectValue);
  document["Events"] = std::move(list);
  document["Guid"] = entry.guid;
  document["MacroName"] = entry.name;
  document["Version"] = kMacroFileVersion;
  return static_cast<bool>(file_util_.WriteJsonValue(file, document));
}

std::string MacroLibrary::Import(const std::filesystem::path& path) {
  if (entries_.size() >= kMaxMacros) return {};
  const std::string bytes = file_util_.readjsonFile(path);
  Json::Value ignored;
  if (!JsonFileUtil::TryParseJson(bytes, ignored)) return {};
  if (!EnsureFolder(folder_)) return {};

  MacroEntry entry{NameForImportedMacro(JsonFileUtil::FileStem(path), Names()), NewIdentifier()};
  const std::filesystem::path file = MacroFilePath(folder_, entry.guid);
  // The file first, so that a listed macro always has its events; it goes again if the list cannot be
  // written.
  if (FileResult written = WriteFileAtomically(file, bytes); !written) {
    LogFileFailure(written);
    return {};
  }
  std::vector<MacroEntry> entries = entries_;
  entries.push_back(entry);
  if (!WriteList(std::move(entries))) {
    RemoveFile(file);
    return {};
  }
  return entry.name;
}

bool MacroLibrary::Export(int index, const std::filesystem::path& path) const {
  const std::filesystem::path file = FileOf(index);
  if (file.empty()) return false;
  const std::string bytes = file_util_.readjsonFile(file);
  if (bytes.empty()) return false;
  std::error_code error;
  if (std::filesystem::equivalent(file, path, error) && !error) return true;
  const FileResult written = WriteFileAtomically(path, bytes);
  LogFileFailure(written);
  return static_cast<bool>(written);
}

}  // namespace norvane::macro
