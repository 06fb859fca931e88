#pragma once
// Writes the emulated devices' memory file on a thread of its own. A real device writes its flash after it
// has answered and the host never waits for that; so here a command's reply never waits for the disk
// either. Posts that come faster than the disk are folded: only the newest memory is written.

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "emulator/memory_file.h"

namespace norvane::emulator {

class MemoryFileWriter {
 public:
  explicit MemoryFileWriter(std::filesystem::path file);
  // Writes what was posted and is not written yet, then stops.
  ~MemoryFileWriter();
  MemoryFileWriter(const MemoryFileWriter&) = delete;
  MemoryFileWriter& operator=(const MemoryFileWriter&) = delete;

  // The memory as the file should hold it from now on; replaces an earlier post not yet written.
  void Post(std::vector<StoredDevice> devices);

  // Returns once everything posted before the call is written (or its write failed).
  void Flush();

 private:
  void Run(std::stop_token stop);
  void Write(const std::vector<StoredDevice>& devices);

  const std::filesystem::path file_;
  std::mutex mutex_;
  std::condition_variable_any changed_;
  std::optional<std::vector<StoredDevice>> pending_;
  uint64_t posted_ = 0;
  uint64_t written_ = 0;
  std::string last_text_;  // what the file was last written with; only the thread touches it
  std::jthread thread_;    // last: stopped and joined before the members it uses go
};

}  // namespace norvane::emulator
