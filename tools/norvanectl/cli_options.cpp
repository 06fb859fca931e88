#include "tools/norvanectl/cli_options.h"

#include "tools/norvanectl/setting_commands.h"

namespace norvane::cli {
namespace {

std::optional<Command> CommandNamed(std::string_view name) {
  if (name == "list") return Command::kList;
  if (name == "info") return Command::kInfo;
  if (name == "rules") return Command::kRules;
  if (IsSettingCommand(name)) return Command::kSetting;
  return std::nullopt;
}

}  // namespace

ParseOutcome ParseCommandLine(const std::vector<std::string_view>& arguments) {
  ParseOutcome outcome;
  CliOptions& options = outcome.options;
  constexpr std::string_view kEmulateEquals = "--emulate=";
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--trace") {
      options.trace = true;
    } else if (argument == "--json") {
      options.json = true;
    } else if (argument == "--emulate") {
      if (i + 1 >= arguments.size()) {
        outcome.error = "--emulate needs a device list, e.g. --emulate keyboard,mouse";
        return outcome;
      }
      options.emulate = std::string(arguments[++i]);
    } else if (argument.starts_with(kEmulateEquals)) {
      options.emulate = std::string(argument.substr(kEmulateEquals.size()));
    } else if (argument.starts_with("-")) {
      outcome.error = "unknown option " + std::string(argument);
      return outcome;
    } else if (options.command != Command::kNone) {
      outcome.error = "unexpected argument " + std::string(argument) + " (one command at a time)";
      return outcome;
    } else if (const auto command = CommandNamed(argument)) {
      options.command = *command;
      // The rules command reads the rest of the line itself.
      if (*command == Command::kRules) {
        options.commandArguments.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1, arguments.end());
        break;
      }
      // A setting command reads its name and the rest of the line (its own --help and options included).
      if (*command == Command::kSetting) {
        for (; i < arguments.size(); ++i) {
          if (arguments[i] == "--trace") {
            options.trace = true;
          } else if (arguments[i] == "--emulate" && i + 1 < arguments.size()) {
            options.emulate = std::string(arguments[++i]);
          } else if (arguments[i].starts_with(kEmulateEquals)) {
            options.emulate = std::string(arguments[i].substr(kEmulateEquals.size()));
          } else {
            options.commandArguments.emplace_back(arguments[i]);
          }
        }
        break;
      }
    } else {
      outcome.error = "unknown command " + std::string(argument);
      return outcome;
    }
  }
  if (options.command == Command::kNone && !options.help) {
    outcome.error = "no command given (try --help)";
  }
  return outcome;
}

std::string UsageText() {
  return "Usage: norvanectl [options] <command>\n"
         "\n"
         "Commands:\n"
         "  list    every HID interface with its numbers and the row of the interface table it matches\n"
         "  info    the device information block of every connected device\n"
         "  rules   the rules that switch a device's profile by the programs that run (rules --help)\n" +
         SettingCommandsSummary() +
         "\n"
         "A setting command works on the device given by --device KIND|PATH, else on the one connected device\n"
         "that has the setting; a change is saved in the device's profile, then written to the device.\n"
         "While the window program runs, a setting command goes to it over the session bus and it runs the\n"
         "command on its own devices (no answer within 5 s: exit 1); otherwise norvanectl opens them itself.\n"
         "With --emulate the emulated devices keep their memory between runs, as the demo mode does, in\n"
         "emulated_devices.txt of the user data folder (delete it to start from factory memory).\n"
         "Exit status: 0 done, 1 a device or file failure (the reason on stderr), 2 a wrong command line.\n"
         "\n"
         "Options:\n"
         "  --emulate LIST  use emulated devices instead of real ones; LIST is comma-separated from\n"
         "                  keyboard, keyboard-receiver, mouse, mouse-receiver, mousepad, headset\n"
         "                  (also taken from the NORVANE_EMULATE environment variable)\n"
         "  --trace         print every command frame both ways on stderr\n"
         "  --json          machine-readable output on stdout\n"
         "  --help          this text\n";
}

}  // namespace norvane::cli
