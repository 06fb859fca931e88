#pragma once
// What the program knows of another process, read from /proc, and how a program a user names ("steam",
// "/opt/game/bin/game", "Game.exe") is recognised in it.
//
// A name with a '/' is a path: it matches the process's executable, or the first word of its command line
// as started. A plain name matches the last part of either; games started through a Windows compatibility
// layer have their "C:\...\Game.exe" there, and names ending in ".exe" match without regard to case as
// that system does. Where the executable cannot be read (a process of another user), the kernel's short
// command name stands in for it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norvane {

struct ProcessInfo {
  int pid = 0;
  std::string exe;    // the executable's path; empty when it cannot be read
  std::string comm;   // the kernel's command name (at most 15 bytes)
  std::string argv0;  // the first word of the command line; empty for kernel threads

  bool operator==(const ProcessInfo&) const = default;
};

// Reads /proc/<pid> below procRoot; nothing when the process is gone or is a kernel thread.
std::optional<ProcessInfo> ReadProcessInfo(const std::filesystem::path& procRoot, int pid);

// The pids of the processes below procRoot, in no particular order.
std::vector<int> ListProcessIds(const std::filesystem::path& procRoot);

// Whether `program` (a plain name or a path, see the header comment) names this process.
bool ProgramMatches(std::string_view program, const ProcessInfo& info);

// The name a user knows the process by: its executable's file name, else that of its command, else comm.
std::string ProgramName(const ProcessInfo& info);

// The programs of this user's processes (kernel threads and the program itself left out), each once,
// sorted by ProgramName: what a user picks a rule's program from.
std::vector<ProcessInfo> RunningPrograms(const std::filesystem::path& procRoot = "/proc");

}  // namespace norvane
