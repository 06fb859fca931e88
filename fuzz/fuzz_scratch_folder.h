#pragma once
// The fuzz targets' scratch folder: one per process, memory-backed where that is available (every write is
// flushed to disk, which would dominate the run time), removed when the process ends.

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace norvane::fuzz {

class ScratchFolderOwner {
 public:
  explicit ScratchFolderOwner(std::string_view name) {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                           ? "/dev/shm"
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / ("norvane-fuzz-" + std::string(name) + "-XXXXXX")).string();
    // Without a folder of its own a target would write where it must not.
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~ScratchFolderOwner() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolderOwner(const ScratchFolderOwner&) = delete;
  ScratchFolderOwner& operator=(const ScratchFolderOwner&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace norvane::fuzz
