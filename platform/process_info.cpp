#include "platform/process_info.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

namespace norvane {
namespace {

constexpr std::string_view kDeletedSuffix = " (deleted)";
// Command lines can be long; the first word is all we read of them.
constexpr std::size_t kMaxCommandBytes = 4096;

std::string ReadSmallFile(const std::filesystem::path& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::string text(limit, '\0');
  in.read(text.data(), static_cast<std::streamsize>(limit));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

// The last part of a path in either separator, as a program started through a compatibility layer shows
// its Windows path.
std::string_view LastPart(std::string_view path) {
  const std::size_t cut = path.find_last_of("/\\");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

bool EndsWithExe(std::string_view name) {
  if (name.size() < 4) return false;
  std::string tail(name.substr(name.size() - 4));
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
  return tail == ".exe";
}

bool SameName(std::string_view wanted, std::string_view seen) {
  if (!EndsWithExe(wanted)) return wanted == seen;
  return std::equal(wanted.begin(), wanted.end(), seen.begin(), seen.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

std::optional<int> ParsePid(std::string_view text) {
  int pid = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
  if (error != std::errc() || end != text.data() + text.size() || pid <= 0) return std::nullopt;
  return pid;
}

}  // namespace

std::optional<ProcessInfo> ReadProcessInfo(const std::filesystem::path& procRoot, int pid) {
  const std::filesystem::path folder = procRoot / std::to_string(pid);
  ProcessInfo info;
  info.pid = pid;
  const std::string command = ReadSmallFile(folder / "cmdline", kMaxCommandBytes);
  // A kernel thread has no command line; a process that is gone has no folder.
  if (command.empty()) return std::nullopt;
  info.argv0 = command.substr(0, command.find('\0'));
  info.comm = ReadSmallFile(folder / "comm", 64);
  if (!info.comm.empty() && info.comm.back() == '\n') info.comm.pop_back();
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink(folder / "exe", error);
  if (!error) {
    info.exe = exe.string();
    // An executable replaced while it runs (an update) still names its program.
    if (info.exe.ends_with(kDeletedSuffix)) info.exe.resize(info.exe.size() - kDeletedSuffix.size());
  }
  return info;
}

std::vector<int> ListProcessIds(const std::filesystem::path& procRoot) {
  std::vector<int> pids;
  std::error_code error;
  for (std::filesystem::directory_iterator it(procRoot, error), end; !error && it != end;
       it.increment(error)) {
    if (const std::optional<int> pid = ParsePid(it->path().filename().native())) pids.push_back(*pid);
  }
  return pids;
}

bool ProgramMatches(std::string_view program, const ProcessInfo& info) {
  if (program.empty()) return false;
  if (program.find('/') != std::string_view::npos) {
    return (!info.exe.empty() && info.exe == program) || info.argv0 == program;
  }
  if (!info.exe.empty() && SameName(program, LastPart(info.exe))) return true;
  if (!info.argv0.empty() && SameName(program, LastPart(info.argv0))) return true;
  // Without the executable (another user's process) the short command name is what there is.
  return info.exe.empty() && !info.comm.empty() && SameName(program, info.comm);
}

std::string ProgramName(const ProcessInfo& info) {
  if (!info.exe.empty()) return std::string(LastPart(info.exe));
  if (!info.argv0.empty()) return std::string(LastPart(info.argv0));
  return info.comm;
}

std::vector<ProcessInfo> RunningPrograms(const std::filesystem::path& procRoot) {
  std::vector<ProcessInfo> programs;
  std::set<std::string> seen;
  const uid_t me = getuid();
  const int self = getpid();
  for (const int pid : ListProcessIds(procRoot)) {
    if (pid == self) continue;
    struct stat status {};
    if (::stat((procRoot / std::to_string(pid)).c_str(), &status) != 0 || status.st_uid != me) continue;
    std::optional<ProcessInfo> info = ReadProcessInfo(procRoot, pid);
    if (!info) continue;
    if (!seen.insert(ProgramName(*info)).second) continue;
    programs.push_back(std::move(*info));
  }
  std::sort(programs.begin(), programs.end(),
            [](const ProcessInfo& a, const ProcessInfo& b) { return ProgramName(a) < ProgramName(b); });
  return programs;
}

}  // namespace norvane
