#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace norvane {

namespace {
thread_local const ScopedWriteFailure* t_write_failure = nullptr;
}  // namespace

struct WriteFailureAccess {
  static std::optional<std::size_t> Limit() {
    if (t_write_failure == nullptr) return std::nullopt;
    return t_write_failure->bytes_before_failure_;
  }
};

ScopedWriteFailure::ScopedWriteFailure(std::size_t bytes_before_failure)
    : previous_(t_write_failure), bytes_before_failure_(bytes_before_failure) {
  t_write_failure = this;
}

ScopedWriteFailure::~ScopedWriteFailure() {
  t_write_failure = previous_;
}

namespace {

std::string Describe(std::string_view what, const std::filesystem::path& path, int error_number) {
  std::string text(what);
  text += " \"";
  text += path.string();
  text += "\": ";
  text += std::strerror(error_number);
  return text;
}

// Owns a file descriptor; closes it on every path out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now so that a close error (delayed write error on some file systems) can be reported.
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes, int& error_number) {
  std::size_t limit = bytes.size();
  const std::optional<std::size_t> injected = WriteFailureAccess::Limit();
  if (injected) limit = std::min(limit, *injected);
  std::size_t written = 0;
  while (written < limit) {
    const ssize_t n = ::write(fd, bytes.data() + written, limit - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_number = errno;
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  if (injected && *injected < bytes.size()) {
    error_number = ENOSPC;
    return false;
  }
  return true;
}

// The process's file creation mask. Read from /proc rather than with umask(), which can only be read by
// changing it and would briefly loosen the mask for files other threads create.
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
  }
  return 022;
}

mode_t ModeForTarget(const std::filesystem::path& path) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  return 0666 & ~CurrentUmask();
}

void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // Best effort: the rename is already visible; this only hurries it to disk.
  ::close(fd);
}

// How long a temporary file must have lain untouched before it is taken for one a killed write left.
constexpr std::chrono::seconds kLeftoverAge{60};

bool IsTemporarySuffix(std::string_view suffix) {
  // mkostemp's six letters and digits.
  return suffix.size() == 6 && std::all_of(suffix.begin(), suffix.end(), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
         });
}

}  // namespace

std::size_t RemoveLeftoverTemporaries(const std::filesystem::path& path, std::chrono::seconds minimum_age) {
  if (!path.has_filename()) return 0;
  std::string prefix = ".";
  prefix += path.filename().string();
  prefix += '.';
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::error_code error;
  std::filesystem::directory_iterator items(folder, error);
  if (error) return 0;
  const auto now = std::filesystem::file_time_type::clock::now();
  std::size_t removed = 0;
  for (; items != std::filesystem::directory_iterator(); items.increment(error)) {
    if (error) break;
    const std::string name = items->path().filename().string();
    if (name.rfind(prefix, 0) != 0 || !IsTemporarySuffix(std::string_view(name).substr(prefix.size()))) continue;
    if (!items->is_regular_file(error) || items->is_symlink(error)) continue;
    const auto written = items->last_write_time(error);
    if (error || now - written < minimum_age) continue;
    if (std::filesystem::remove(items->path(), error)) ++removed;
  }
  return removed;
}

StagedFile::StagedFile(std::filesystem::path path, std::string_view bytes) : path_(std::move(path)) {
  if (path_.empty() || !path_.has_filename()) {
    staged_ = FileResult::Failure("Cannot write a file without a name");
    return;
  }
  // Built by appending: gcc 12 at -O3 mistakes `"." + std::string` for an overflowing copy.
  std::string hidden_name = ".";
  hidden_name += path_.filename().string();
  hidden_name += ".XXXXXX";
  std::string pattern = (path_.parent_path() / hidden_name).string();
  RemoveLeftoverTemporaries(path_, kLeftoverAge);
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  FileDescriptor fd(::mkostemp(name.data(), O_CLOEXEC));
  if (fd.get() < 0) {
    staged_ = FileResult::Failure(Describe("Cannot create a temporary file for", path_, errno));
    return;
  }
  temporary_ = name.data();

  int error_number = 0;
  if (!WriteAll(fd.get(), bytes, error_number)) {
    staged_ = FileResult::Failure(Describe("Cannot write", path_, error_number));
  } else if (::fchmod(fd.get(), ModeForTarget(path_)) != 0 || ::fsync(fd.get()) != 0) {
    staged_ = FileResult::Failure(Describe("Cannot flush", path_, errno));
  } else if (fd.Close() != 0) {
    staged_ = FileResult::Failure(Describe("Cannot finish writing", path_, errno));
  }
  if (!staged_) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
}

StagedFile::~StagedFile() {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : path_(std::move(other.path_)),
      temporary_(std::move(other.temporary_)),
      staged_(std::move(other.staged_)) {
  other.temporary_.clear();
}

FileResult StagedFile::Commit() {
  if (!staged_) return staged_;
  if (temporary_.empty()) {
    // Built by appending: gcc 12 at -O3 mistakes `"\"" + std::string` for an overflowing copy.
    std::string text = "\"";
    text += path_.string();
    text += "\" was already replaced";
    return FileResult::Failure(std::move(text));
  }
  if (::rename(temporary_.c_str(), path_.c_str()) != 0) {
    return FileResult::Failure(Describe("Cannot replace", path_, errno));
  }
  temporary_.clear();
  SyncFolder(path_.parent_path());
  return FileResult::Success();
}

FileResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  StagedFile staged(path, bytes);
  if (!staged.staged()) return staged.staged();
  return staged.Commit();
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
  bytes.clear();
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return false;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  std::string content;
  content.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  bytes = std::move(content);
  return true;
}

FileResult CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code error;
  if (std::filesystem::equivalent(from, to, error) && !error) return FileResult::Success();
  std::string bytes;
  if (!ReadWholeFile(from, bytes)) return FileResult::Failure(Describe("Cannot read", from, errno));
  return WriteFileAtomically(to, bytes);
}

// link() refuses an existing target, unlike rename(): that is what keeps earlier copies.
std::filesystem::path SetAside(const std::filesystem::path& file, std::string_view suffix) {
  for (int attempt = 1; attempt <= 100; ++attempt) {
    std::filesystem::path target = file;
    target += std::string(suffix);
    if (attempt > 1) {
      // Appended piece by piece: gcc 12 at -O3 mistakes `"-" + std::string` for an overflowing copy.
      target += "-";
      target += std::to_string(attempt);
    }
    if (::link(file.c_str(), target.c_str()) == 0) {
      ::unlink(file.c_str());
      return target;
    }
    if (errno != EEXIST) break;
  }
  return {};
}

}  // namespace norvane
