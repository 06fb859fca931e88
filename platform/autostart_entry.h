#pragma once
// Starting with the session: an XDG autostart entry ($XDG_CONFIG_HOME/autostart/org.norvane.Norvane.desktop)
// that starts the program minimised. The settings key's "AUTOSTART" value decides whether it exists: 1 writes
// it, 0 removes it, no value leaves whatever is there alone.
//
// Only an entry this program wrote (it carries the line "X-Norvane-Autostart=true") is ever replaced or
// removed: a file of the same name that the user made by hand stays as it is.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/atomic_file.h"
#include "platform/registry_settings.h"

namespace norvane {

// The settings value that asks for the autostart entry.
inline constexpr std::string_view kAutostartValueName = "AUTOSTART";

// The desktop entry's name: the program's bus name, as its desktop file.
inline constexpr std::string_view kDesktopEntryName = "org.norvane.Norvane.desktop";

// ConfigHome() + "autostart/org.norvane.Norvane.desktop".
std::filesystem::path DefaultAutostartEntryFile();

// One argument of a desktop entry's Exec line, quoted where the desktop entry rules ask for it (reserved
// characters), with '%' doubled and the string-level escapes of the file applied.
std::string QuoteExecArgument(std::string_view argument);

// The entry's text for the executable at `executable`, started with "--minimized".
std::string AutostartEntryText(const std::filesystem::path& executable);

// Whether the file at `entry` is one this program wrote.
bool IsOwnAutostartEntry(const std::filesystem::path& entry);

enum class AutostartChange { kNone, kWritten, kRemoved, kKeptForeign };

struct AutostartOutcome {
  AutostartChange change = AutostartChange::kNone;
  std::string error;  // empty unless a write or removal failed
};

// Brings the entry in line with the settings value (see the header comment). Creates the autostart folder
// when it must write into it; rewrites an own entry only when its text differs.
AutostartOutcome ApplyAutostartSetting(const RegistrySettings& settings, const std::filesystem::path& entry,
                                       const std::filesystem::path& executable);

}  // namespace norvane
