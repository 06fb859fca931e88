#include "app/startup_checks.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <fstream>
#include <string_view>
#include <system_error>
#include <vector>

namespace norvane::app {
namespace {

constexpr std::string_view kNeedsSession = "norvane: needs a graphical session (";
constexpr std::string_view kCliHint = "); norvanectl works without one";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// "wayland;xcb" -> {"wayland", "xcb"}; each name without its ":options".
std::vector<std::string> PlatformNames(std::string_view platform) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= platform.size()) {
    std::size_t end = platform.find(';', start);
    if (end == std::string_view::npos) end = platform.size();
    std::string_view name = platform.substr(start, end - start);
    name = name.substr(0, name.find(':'));
    if (!name.empty()) names.emplace_back(name);
    start = end + 1;
  }
  return names;
}

bool IsHeadlessPlatform(std::string_view name) {
  for (const std::string_view headless :
       {"offscreen", "minimal", "minimalegl", "vnc", "eglfs", "linuxfb", "vkkhrdisplay"}) {
    if (name == headless) return true;
  }
  return false;
}

bool IsReadableFolder(const std::filesystem::path& folder) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return false;
  std::filesystem::directory_iterator it(folder, error);
  return !error;
}

bool IsReadableFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return in.good();
}

}  // namespace

GraphicalEnvironment ReadGraphicalEnvironment(int argc, char** argv) {
  GraphicalEnvironment environment;
  environment.display = Environment("DISPLAY");
  environment.waylandDisplay = Environment("WAYLAND_DISPLAY");
  environment.platform = Environment("QT_QPA_PLATFORM");
  environment.sessionType = Environment("XDG_SESSION_TYPE");
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if ((arg == "-platform" || arg == "--platform") && i + 1 < argc) {
      environment.platform = argv[++i];
    } else if (arg.starts_with("-platform=") || arg.starts_with("--platform=")) {
      environment.platform = std::string(arg.substr(arg.find('=') + 1));
    }
  }
  return environment;
}

bool CanOpenXDisplay(const std::string& display) {
  xcb_connection_t* connection = xcb_connect(display.empty() ? nullptr : display.c_str(), nullptr);
  const bool usable = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return usable;
}

std::string MissingDisplayProblem(const GraphicalEnvironment& environment, const DisplayProbe& probe) {
  std::vector<std::string> platforms = PlatformNames(environment.platform);
  if (platforms.empty()) {
    // Qt's own choice: Wayland where only Wayland is there, X11 otherwise.
    if (environment.display.empty() && environment.waylandDisplay.empty()) {
      return std::string(kNeedsSession) + "neither DISPLAY nor WAYLAND_DISPLAY is set" +
             std::string(kCliHint);
    }
    if (!environment.waylandDisplay.empty()) return {};
    platforms = {"xcb"};
  }
  std::string reason;
  for (const std::string& name : platforms) {
    if (IsHeadlessPlatform(name)) return {};
    if (name.starts_with("wayland")) {
      if (!environment.waylandDisplay.empty()) return {};
      reason = "the platform \"" + name + "\" needs WAYLAND_DISPLAY, which is not set";
    } else if (name == "xcb") {
      if (environment.display.empty()) {
        reason = "DISPLAY is not set";
      } else if (probe && !probe(environment.display)) {
        reason = "the X display \"" + environment.display + "\" cannot be opened";
      } else {
        return {};
      }
    } else {
      // A plugin we know nothing about decides for itself.
      return {};
    }
  }
  return std::string(kNeedsSession) + reason + std::string(kCliHint);
}

std::string DataFolderProblem(const std::filesystem::path& skinFolder,
                              const std::filesystem::path& defaultDataFolder) {
  if (!IsReadableFolder(skinFolder)) {
    return "the skin folder " + skinFolder.string() + " is missing or cannot be read";
  }
  if (!IsReadableFile(skinFolder / "res.xml")) {
    return "the skin index " + (skinFolder / "res.xml").string() + " is missing or cannot be read";
  }
  if (!IsReadableFolder(defaultDataFolder)) {
    return "the default data folder " + defaultDataFolder.string() + " is missing or cannot be read";
  }
  return {};
}

std::string DescribeSession(const std::string& platformName, const GraphicalEnvironment& environment) {
  const bool waylandSession = !environment.waylandDisplay.empty() || environment.sessionType == "wayland";
  if (platformName.starts_with("wayland")) return "Wayland (native)";
  if (platformName == "xcb") return waylandSession ? "Wayland through XWayland" : "X11";
  return platformName;
}

}  // namespace norvane::app
