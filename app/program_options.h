#pragma once
// The command line of the window program:
//   norvane [--emulate LIST] [--minimized] [--trace] [--help]
// --emulate runs on emulated devices (LIST as in NORVANE_EMULATE, e.g. "keyboard,mouse"); --minimized
// starts in the tray (minimised where the desktop has no tray), as the session's autostart does; --trace
// writes the diagnostic trace to stderr.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace norvane::app {

struct ProgramOptions {
  std::optional<std::string> emulate;
  bool trace = false;
  bool minimized = false;
  bool help = false;
};

struct ProgramOptionsOutcome {
  ProgramOptions options;
  std::string error;  // empty when the command line was understood
};

// Parses the arguments after the program name (Qt's own options already taken out).
ProgramOptionsOutcome ParseProgramOptions(std::span<const std::string_view> arguments);

std::string ProgramUsageText();

// Whether the raw command line asks for the usage; for the moment before Qt has taken its own options.
bool AsksForUsage(int argc, char** argv);

}  // namespace norvane::app
