#pragma once
// What the program makes sure of before it builds a window: that there is a graphical session to show it
// in, and that its data folder (skins, default data) is there; and how the session is described in the
// trace once the window system is up.

#include <filesystem>
#include <functional>
#include <string>

namespace norvane::app {

// The parts of the environment that decide where Qt puts its windows.
struct GraphicalEnvironment {
  std::string display;         // DISPLAY
  std::string waylandDisplay;  // WAYLAND_DISPLAY
  std::string platform;        // QT_QPA_PLATFORM, or the value of a "-platform" argument
  std::string sessionType;     // XDG_SESSION_TYPE
};

// Reads the environment, with a "-platform NAME" or "-platform=NAME" argument taking precedence.
GraphicalEnvironment ReadGraphicalEnvironment(int argc, char** argv);

// Opens and closes a connection to the X display named (empty: DISPLAY); true when that worked.
using DisplayProbe = std::function<bool(const std::string& display)>;
bool CanOpenXDisplay(const std::string& display);

// Empty when Qt can open its windows in this environment; otherwise one line for stderr that says the
// program needs a graphical session and that norvanectl works without one. An X display that is named but
// cannot be reached counts as missing (asked through `probe`), since Qt would abort on it.
std::string MissingDisplayProblem(const GraphicalEnvironment& environment, const DisplayProbe& probe);

// Empty when the skin folder and the default-data folder are usable; otherwise one line naming what is
// missing or unreadable.
std::string DataFolderProblem(const std::filesystem::path& skinFolder,
                              const std::filesystem::path& defaultDataFolder);

// The session as the trace names it, from Qt's platform plugin name and the environment: "Wayland (native)",
// "Wayland through XWayland", "X11" or the plugin's own name (offscreen, ...).
std::string DescribeSession(const std::string& platformName, const GraphicalEnvironment& environment);

}  // namespace norvane::app
