#pragma once
// Where the program keeps its files on Linux. Folder names keep their exact spelling and case; each
// folder returned ends in a separator so callers can append a file name to its text form.

#include <filesystem>
#include <string_view>

namespace norvane {

// The name of the program's own folder under the per-user data and configuration folders.
inline constexpr std::string_view kProgramFolderName = "R27 有线";

// $XDG_DATA_HOME (default ~/.local/share) + "/R27 有线/". Not created here.
std::filesystem::path UserDataFolder();

// $XDG_CONFIG_HOME (default ~/.config) + "/R27 有线/". Not created here.
std::filesystem::path ConfigFolder();

// $XDG_CACHE_HOME (default ~/.cache) + "/R27 有线/": files the program can fetch again. Not created here.
std::filesystem::path CacheFolder();

// The read-only defaults: the "DefaultData" folder next to the executable, unless NORVANE_DEFAULT_DATA or
// $XDG_CONFIG_HOME itself (default ~/.config), with a trailing separator: the desktop's own folders
// ("autostart") lie below it.
std::filesystem::path ConfigHome();

// The folder of the program's read-only data (skins, fonts, "DefaultData"), found from where the executable
// itself lies, never from a prefix compiled in: the executable's own folder in the build tree (where the
// data is staged next to it), "../share/norvane" from it when installed.
std::filesystem::path ProgramDataFolder();

// The same rule for an executable in `executableFolder`: that folder when it holds a "skin" folder, else
// executableFolder/../share/norvane (lexically normalised).
std::filesystem::path ProgramDataFolderFor(const std::filesystem::path& executableFolder);

// The running executable, and its folder.
std::filesystem::path ExecutablePath();
std::filesystem::path ExecutableFolder();

// The read-only defaults: the "DefaultData" folder of ProgramDataFolder(), unless NORVANE_DEFAULT_DATA or
// SetDefaultDataFolderOverride names another folder (tests, running from the source tree).
std::filesystem::path DefaultDataFolder();

// Replaces the default-data folder for the whole process; an empty path removes the override.
void SetDefaultDataFolderOverride(const std::filesystem::path& folder);

// True when name can be used as one file name inside a folder we own: not empty, not "." or "..", and
// without '/', '\\' or NUL. Names that come from files or the network go through this before they touch
// the file system.
bool IsPlainFileName(std::string_view name);

// Creates folder and its parents when missing. False (with nothing thrown) when that fails.
bool EnsureFolder(const std::filesystem::path& folder);

}  // namespace norvane
