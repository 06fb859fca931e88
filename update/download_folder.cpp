#include "update/download_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/xdg_paths.h"

namespace norvane::update {

std::filesystem::path UpdateDataFolder() {
  return CacheFolder() / "UpdateData" / "";
}

FileResult PreparePrivateFolder(const std::filesystem::path& folder) {
  std::filesystem::path path = folder;
  if (!path.has_filename()) path = path.parent_path();
  std::error_code error;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
    return FileResult::Failure("cannot create " + path.string() + ": " + std::strerror(errno));
  }
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) {
    return FileResult::Failure("cannot look at " + path.string() + ": " + std::strerror(errno));
  }
  if (!S_ISDIR(info.st_mode)) return FileResult::Failure(path.string() + " is not a folder of its own");
  if (info.st_uid != ::geteuid()) return FileResult::Failure(path.string() + " belongs to another user");
  if ((info.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0) {
    return FileResult::Failure("cannot make " + path.string() + " private: " + std::strerror(errno));
  }
  return FileResult::Success();
}

std::filesystem::path DownloadFileFor(const std::filesystem::path& folder, std::string_view name,
                                      std::string_view url) {
  std::string fileName;
  for (const char c : name) {
    const bool unusable = c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    fileName += unusable ? '_' : c;
  }
  if (fileName.empty() || fileName == "." || fileName == "..") fileName = "update";
  if (fileName.front() == '.') fileName.front() = '_';

  // The address's last path part, without query or fragment.
  std::string_view path = url.substr(0, std::min(url.find_first_of("?#"), url.size()));
  const std::size_t scheme = path.find("://");
  const std::size_t pathStart = path.find('/', scheme == std::string_view::npos ? 0 : scheme + 3);
  path = pathStart == std::string_view::npos ? std::string_view() : path.substr(pathStart);
  const std::string_view last = path.substr(path.empty() ? 0 : path.rfind('/') + 1);
  const std::size_t dot = last.rfind('.');
  if (dot != std::string_view::npos && dot > 0) {
    const std::string_view extension = last.substr(dot + 1);
    bool usable = !extension.empty() && extension.size() <= 8;
    for (const char c : extension) {
      usable = usable && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
    }
    if (usable) {
      // Appended piece by piece: GCC 12 at -O3 misreads "." + std::string as an unbounded copy.
      fileName += '.';
      fileName.append(extension);
    }
  }
  return folder / fileName;
}

}  // namespace norvane::update
