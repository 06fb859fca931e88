#pragma once
// The command line of norvanectl: global options and one command.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norvane::cli {

enum class Command { kNone, kList, kInfo, kRules, kSetting };

struct CliOptions {
  std::optional<std::string> emulate;  // device list for the emulator, from --emulate
  bool trace = false;
  bool json = false;
  bool help = false;
  Command command = Command::kNone;
  // What follows a command that has words of its own ("rules ..."), as given; a setting command's words
  // begin with its name ("dpi", "set", "1", "800").
  std::vector<std::string> commandArguments;
};

struct ParseOutcome {
  CliOptions options;
  std::string error;  // empty when the command line was understood
};

ParseOutcome ParseCommandLine(const std::vector<std::string_view>& arguments);

// The text of --help.
std::string UsageText();

}  // namespace norvane::cli
