#pragma once
// Starting what an update downloaded: an installer runs as the user (never with raised privileges), started
// directly without a shell, its output discarded; a document is handed to the desktop's handler.

#include <filesystem>
#include <memory>
#include <stop_token>
#include <string>

namespace norvane::update {

struct InstallerRun {
  bool started = false;
  bool stopped = false;   // the wait was given up on a stop request; the installer goes on on its own
  int exitStatus = -1;    // the exit code, or 128 + the signal that ended it
  std::string error;      // why it could not start
};

class IInstallerRunner {
 public:
  virtual ~IInstallerRunner() = default;
  // Makes `file` executable for the user only, runs it and waits for its end (or for the stop request).
  virtual InstallerRun Run(const std::filesystem::path& file, std::stop_token stop) = 0;
  // Opens `file` with the desktop's handler and returns without waiting; false when that cannot start.
  virtual bool Open(const std::filesystem::path& file) = 0;
};

// Runs processes. `openCommand` is the desktop's opener, found on PATH.
[[nodiscard]] std::shared_ptr<IInstallerRunner> MakeProcessInstallerRunner(std::string openCommand = "xdg-open");

}  // namespace norvane::update
