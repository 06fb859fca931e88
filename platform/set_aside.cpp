#include "platform/set_aside.h"

#include <unistd.h>

#include <cerrno>
#include <string>

namespace norvane {

// link() refuses an existing target, unlike rename(): that is what keeps an earlier copy.
std::filesystem::path SetAside(const std::filesystem::path& file) {
  for (int attempt = 1; attempt <= 100; ++attempt) {
    std::filesystem::path target = file;
    target += ".malformed";
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
