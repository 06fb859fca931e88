#include "app/program_options.h"

namespace norvane::app {

ProgramOptionsOutcome ParseProgramOptions(std::span<const std::string_view> arguments) {
  ProgramOptionsOutcome outcome;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view arg = arguments[i];
    if (arg == "--help" || arg == "-h") {
      outcome.options.help = true;
    } else if (arg == "--trace") {
      outcome.options.trace = true;
    } else if (arg == "--minimized") {
      outcome.options.minimized = true;
    } else if (arg == "--emulate") {
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
        outcome.error = "--emulate needs a device list, e.g. --emulate keyboard,mouse";
        return outcome;
      }
      outcome.options.emulate = std::string(arguments[++i]);
    } else if (arg.starts_with("--emulate=")) {
      const std::string_view list = arg.substr(std::string_view("--emulate=").size());
      if (list.empty()) {
        outcome.error = "--emulate needs a device list, e.g. --emulate keyboard,mouse";
        return outcome;
      }
      outcome.options.emulate = std::string(list);
    } else {
      outcome.error = "unknown argument \"" + std::string(arg) + "\"";
      return outcome;
    }
  }
  return outcome;
}

std::string ProgramUsageText() {
  return "usage: norvane [--emulate LIST] [--minimized] [--trace] [--help]\n"
         "  --emulate LIST  run on emulated devices instead of the attached ones; LIST is a comma-separated\n"
         "                  list of keyboard, keyboard-receiver, mouse, mouse-receiver, mousepad, headset\n"
         "                  (the environment variable NORVANE_EMULATE does the same)\n"
         "  --minimized     start in the tray (minimised where the desktop has no tray)\n"
         "  --trace         write the diagnostic trace to stderr\n"
         "A second start brings the running window to the front and ends.\n";
}

bool AsksForUsage(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

}  // namespace norvane::app
