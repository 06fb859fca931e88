#include "platform/xdg_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <string>
#include <system_error>

namespace norvane {
namespace {

// The override is process-wide by nature: every component must agree on one default-data folder.
std::mutex g_override_mutex;
std::filesystem::path g_default_data_override;

std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return entry->pw_dir;
  }
  return "/tmp";
}

// The XDG rule: a variable that is unset, empty or relative is ignored and the fallback used.
std::filesystem::path XdgBase(const char* variable, const char* fallback_below_home) {
  if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') {
    return value;
  }
  return HomeFolder() / fallback_below_home;
}

std::filesystem::path WithTrailingSeparator(std::filesystem::path folder) {
  folder /= "";
  return folder;
}

std::filesystem::path ProgramFolderIn(const std::filesystem::path& base) {
  // Paths are byte strings on Linux; the name's UTF-8 bytes are used as they stand.
  return WithTrailingSeparator(base / std::string(kProgramFolderName));
}

}  // namespace

std::filesystem::path ExecutablePath() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path(error) / "norvane";
  return exe;
}

std::filesystem::path ExecutableFolder() {
  return ExecutablePath().parent_path();
}

std::filesystem::path ProgramDataFolderFor(const std::filesystem::path& executableFolder) {
  std::error_code error;
  if (std::filesystem::is_directory(executableFolder / "skin", error))
    return WithTrailingSeparator(executableFolder);
  return WithTrailingSeparator((executableFolder / ".." / "share" / "norvane").lexically_normal());
}

std::filesystem::path ProgramDataFolder() {
  return ProgramDataFolderFor(ExecutableFolder());
}

std::filesystem::path UserDataFolder() {
  return ProgramFolderIn(XdgBase("XDG_DATA_HOME", ".local/share"));
}

std::filesystem::path ConfigHome() {
  return WithTrailingSeparator(XdgBase("XDG_CONFIG_HOME", ".config"));
}

std::filesystem::path ConfigFolder() {
  return ProgramFolderIn(XdgBase("XDG_CONFIG_HOME", ".config"));
}

std::filesystem::path CacheFolder() {
  return ProgramFolderIn(XdgBase("XDG_CACHE_HOME", ".cache"));
}

std::filesystem::path DefaultDataFolder() {
  {
    std::lock_guard lock(g_override_mutex);
    if (!g_default_data_override.empty()) return WithTrailingSeparator(g_default_data_override);
  }
  if (const char* value = std::getenv("NORVANE_DEFAULT_DATA"); value != nullptr && value[0] != '\0') {
    return WithTrailingSeparator(value);
  }
  return WithTrailingSeparator(ProgramDataFolder() / "DefaultData");
}

void SetDefaultDataFolderOverride(const std::filesystem::path& folder) {
  std::lock_guard lock(g_override_mutex);
  g_default_data_override = folder;
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

bool EnsureFolder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return !error && std::filesystem::is_directory(folder, error);
}

}  // namespace norvane
