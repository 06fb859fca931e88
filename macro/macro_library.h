#pragma once
// The macros of one device folder and the operations of the macro editor's list, free of any widget: the
// editor mirrors Names() in its rows and calls these operations. Every change is written at once
// ("macro.config" and the macro's own file, atomically); when a write fails the files and the list stay as
// they were. Results carry no text: the editor shows the messages.
//
// Identifiers from "macro.config" name files only when they are plain file names (macro_files.h); a macro
// with any other identifier is listed and can be renamed, shows no events, and no file is ever read,
// written or deleted for it.

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "macro/macro_event.h"
#include "macro/macro_files.h"
#include "profiles/json_file_util.h"

namespace norvane::macro {

enum class RenameOutcome { kRenamed, kNoSuchMacro, kAmpersand, kBlank, kTaken, kFileError };

struct RenameResult {
  RenameOutcome outcome = RenameOutcome::kRenamed;

  [[nodiscard]] bool renamed() const { return outcome == RenameOutcome::kRenamed; }
  // The language text id of the message a refusal shows ("message_text_30" for "&", "message_text_5" for
  // a blank or taken name); empty otherwise.
  [[nodiscard]] std::string_view MessageId() const;
};

class MacroLibrary {
 public:
  explicit MacroLibrary(std::filesystem::path folder, const TimeSource& time = TimeSource::System());

  // Reads the list from "macro.config": missing or damaged gives no macros, a longer list its first
  // kMaxMacros.
  void Load();
  // The same from the list file's text; nothing is read or written.
  void LoadListText(std::string_view text);

  [[nodiscard]] std::size_t Count() const { return entries_.size(); }
  [[nodiscard]] std::span<const MacroEntry> Entries() const { return entries_; }
  [[nodiscard]] std::vector<std::string> Names() const;
  // The macro's ".mac" file; empty for an index outside the list or an identifier that is not a plain name.
  [[nodiscard]] std::filesystem::path FileOf(int index) const;

  // Appends "macro_<n>" with a new identifier and writes the list; its file is written by the first Save
  // (until then it has no events). The new name, or empty when the list is full or cannot be written.
  [[nodiscard]] std::string Add();

  // Renames macro index to text without its surrounding blanks. Refused for text with "&", a blank text,
  // or a name any macro has (itself included) ignoring case.
  [[nodiscard]] RenameResult Rename(int index, std::string_view text);

  // Removes macro index from the list (later ones move up) and deletes its file unless another entry names
  // the same one; a missing file is no error. index when deleted, -1 when outside the list or the list
  // cannot be written.
  [[nodiscard]] int Delete(int index);

  // The events of macro index; none when it has no readable file or is outside the list.
  [[nodiscard]] std::vector<MacroEvent> Events(int index) const;

  // Writes macro index's file with these events. False outside the list, for an unsafe identifier or when
  // the write fails.
  [[nodiscard]] bool Save(int index, std::span<const MacroEvent> events);

  // Adds the macro file at path under its file stem (made unique with "_<n>") and copies its bytes as the
  // new macro's file. Nothing is added when the list is full or the file cannot be read as JSON. The new
  // name, or empty.
  [[nodiscard]] std::string Import(const std::filesystem::path& path);

  // Copies macro index's file to path. The source is read whole before the target is touched: when it
  // cannot be read (a macro never saved, say) the target stays as it was. A copy onto itself does nothing.
  [[nodiscard]] bool Export(int index, const std::filesystem::path& path) const;

 private:
  [[nodiscard]] bool InList(int index) const;
  [[nodiscard]] std::string NewIdentifier() const;
  // Writes entries as "macro.config" and takes them as the list when that worked.
  [[nodiscard]] bool WriteList(std::vector<MacroEntry> entries);

  std::filesystem::path folder_;
  const TimeSource* time_;
  JsonFileUtil file_util_;
  std::vector<MacroEntry> entries_;
};

}  // namespace norvane::macro
