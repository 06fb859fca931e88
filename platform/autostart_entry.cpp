#include "platform/autostart_entry.h"

#include <system_error>

#include "platform/xdg_paths.h"

namespace norvane {
namespace {

constexpr std::string_view kOwnMarker = "X-Norvane-Autostart=true";
constexpr std::string_view kReservedCharacters = " \t\n\"'\\><~|&;$*?#()`";

// The string-level escapes every value of a desktop entry file goes through last.
std::string EscapeValue(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::filesystem::path DefaultAutostartEntryFile() {
  return ConfigHome() / "autostart" / std::string(kDesktopEntryName);
}

std::string QuoteExecArgument(std::string_view argument) {
  std::string quoted;
  const bool needsQuotes =
      argument.empty() || argument.find_first_of(kReservedCharacters) != std::string_view::npos;
  if (needsQuotes) quoted += '"';
  for (const char c : argument) {
    if (c == '%') {
      quoted += "%%";
      continue;
    }
    if (needsQuotes && (c == '"' || c == '`' || c == '$' || c == '\\')) quoted += '\\';
    quoted += c;
  }
  if (needsQuotes) quoted += '"';
  return EscapeValue(quoted);
}

std::string AutostartEntryText(const std::filesystem::path& executable) {
  std::string text;
  text += "[Desktop Entry]\n";
  text += "Type=Application\n";
  text += "Name=Norvane\n";
  text += "Comment=Settings of USB gaming keyboards, mice, mouse pads and headsets\n";
  text += "Comment[zh_CN]=USB 游戏键盘、鼠标、鼠标垫和耳机的设置\n";
  text += "Icon=org.norvane.Norvane\n";
  text += "Exec=" + QuoteExecArgument(executable.string()) + " --minimized\n";
  text += "Terminal=false\n";
  text += "X-GNOME-Autostart-enabled=true\n";
  text += std::string(kOwnMarker) + "\n";
  return text;
}

bool IsOwnAutostartEntry(const std::filesystem::path& entry) {
  std::string text;
  if (!ReadWholeFile(entry, text)) return false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (std::string_view(text).substr(start, end - start) == kOwnMarker) return true;
    start = end + 1;
  }
  return false;
}

AutostartOutcome ApplyAutostartSetting(const RegistrySettings& settings, const std::filesystem::path& entry,
                                       const std::filesystem::path& executable) {
  AutostartOutcome outcome;
  const SettingsReadResult wanted = settings.ReadValue(kAutostartValueName);
  if (wanted.lookup != SettingsLookup::kFound) return outcome;

  std::error_code error;
  const bool exists = std::filesystem::exists(entry, error);
  if (exists && !IsOwnAutostartEntry(entry)) {
    outcome.change = AutostartChange::kKeptForeign;
    return outcome;
  }
  if (wanted.value == 0) {
    if (!exists) return outcome;
    if (!std::filesystem::remove(entry, error) || error) {
      outcome.error = "cannot remove " + entry.string() + ": " + error.message();
      return outcome;
    }
    outcome.change = AutostartChange::kRemoved;
    return outcome;
  }

  const std::string text = AutostartEntryText(executable);
  std::string current;
  if (exists && ReadWholeFile(entry, current) && current == text) return outcome;
  if (!EnsureFolder(entry.parent_path())) {
    outcome.error = "cannot create the folder " + entry.parent_path().string();
    return outcome;
  }
  const FileResult written = WriteFileAtomically(entry, text);
  if (!written) {
    outcome.error = written.error;
    return outcome;
  }
  outcome.change = AutostartChange::kWritten;
  return outcome;
}

}  // namespace norvane
