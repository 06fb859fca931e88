#pragma once
// Whole-file writes that either replace the old file completely or leave it untouched: the bytes go to a
// temporary file in the same folder, are flushed to disk and then renamed over the target.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace norvane {

// Outcome of a file operation: ok, or a sentence saying what failed and where.
struct FileResult {
  bool ok = true;
  std::string error;

  static FileResult Success() { return {}; }
  static FileResult Failure(std::string text) { return {false, std::move(text)}; }
  explicit operator bool() const { return ok; }
};

// Replaces path with bytes atomically. The folder must exist. On failure the old file (if any) is intact
// and no temporary file is left behind. A new file gets mode 0666 less the umask; a replaced file keeps
// its mode.
FileResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// A replacement for one file, written beside it now and moved over it by Commit, so that several files can
// be prepared before any of them changes. The target is untouched until Commit; a temporary file that was
// not committed is removed when the object goes.
class StagedFile {
 public:
  // Writes bytes to a temporary file in path's folder and flushes it; staged() tells whether that worked.
  StagedFile(std::filesystem::path path, std::string_view bytes);
  ~StagedFile();
  StagedFile(StagedFile&& other) noexcept;
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  StagedFile& operator=(StagedFile&&) = delete;

  [[nodiscard]] const FileResult& staged() const { return staged_; }
  // Renames the temporary file over the target. Fails when staging failed or it was committed already.
  [[nodiscard]] FileResult Commit();

 private:
  std::filesystem::path path_;
  std::string temporary_;  // empty when there is no temporary file (failed, committed or moved from)
  FileResult staged_;
};

// Removes the temporary files of path that a process killed while writing it left behind (StagedFile's
// hidden ".<name>.XXXXXX" beside it) once they are at least minimum_age old, so that a write still going on
// in another process keeps its file. Returns how many it removed. StagedFile calls it with one minute.
std::size_t RemoveLeftoverTemporaries(const std::filesystem::path& path, std::chrono::seconds minimum_age);

// Copies from onto to atomically. The whole source is read before the target is touched; a copy of a file
// onto itself does nothing and succeeds.
FileResult CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to);

// Reads a whole regular file. False when it cannot be opened or read completely.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

// Moves a file the program cannot use out of the way as "<file><suffix>", or "<file><suffix>-2" up to
// "-100" when earlier copies exist, so that the user can still look at it; an earlier copy is never
// replaced. Returns the new path, or an empty one when the file could not be moved (it then stays).
[[nodiscard]] std::filesystem::path SetAside(const std::filesystem::path& file, std::string_view suffix);

// Test seam: while an instance lives on this thread, every atomic write on this thread stops after writing
// `bytes_before_failure` bytes of its temporary file and reports a write error, as a full disk would.
class ScopedWriteFailure {
 public:
  explicit ScopedWriteFailure(std::size_t bytes_before_failure);
  ~ScopedWriteFailure();
  ScopedWriteFailure(const ScopedWriteFailure&) = delete;
  ScopedWriteFailure& operator=(const ScopedWriteFailure&) = delete;

 private:
  const ScopedWriteFailure* previous_;
  std::size_t bytes_before_failure_;
  friend struct WriteFailureAccess;
};

}  // namespace norvane
