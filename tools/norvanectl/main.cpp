// norvanectl: lists the HID interfaces of the supported devices, reads their information blocks and reads or
// changes their settings, on real hardware or on emulated devices; while the window program runs, it hands
// the setting commands to the window.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/emulator.h"
#include "platform/trace.h"
#include "tools/norvanectl/cli_commands.h"
#include "tools/norvanectl/cli_options.h"
#include "tools/norvanectl/command_bus.h"
#include "tools/norvanectl/rules_command.h"
#include "tools/norvanectl/setting_commands.h"
#include "tools/norvanectl/window_handover.h"

int main(int argc, char** argv) {
  using namespace norvane;
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const cli::ParseOutcome parsed = cli::ParseCommandLine(arguments);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "norvanectl: %s (try --help)\n", parsed.error.c_str());
    return cli::kExitUsage;
  }
  const cli::CliOptions& options = parsed.options;
  if (options.help && options.command != cli::Command::kSetting) {
    std::fputs(cli::UsageText().c_str(), stdout);
    return cli::kExitOk;
  }

  // While the window program runs, it alone opens the devices: a setting command goes to it over the bus.
  if (options.command == cli::Command::kSetting && !options.help) {
    std::vector<std::string> words = options.commandArguments;
    if (options.json) words.emplace_back("--json");
    if (const std::optional<cli::CommandOutput> handed = cli::HandToWindow(words, cli::kWindowAnswerTimeoutMs)) {
      std::fputs(handed->out.c_str(), stdout);
      std::fputs(handed->err.c_str(), stderr);
      return handed->exit;
    }
  }

  // The emulator stays installed, and alive, until the program ends.
  std::shared_ptr<emulator::EmulatorBackend> emulated;
  const std::optional<std::string> emulate =
      options.emulate ? options.emulate : emulator::EmulateListFromEnvironment();
  if (emulate) {
    std::string error;
    emulated = emulator::InstallEmulator(*emulate, &error);
    if (!emulated) {
      std::fprintf(stderr, "norvanectl: cannot emulate \"%s\": %s\n", emulate->c_str(), error.c_str());
      return cli::kExitUsage;
    }
    // The same memory as the program's demo mode: what was set there is what is read here.
    const std::string problem = emulated->KeepMemoryIn(emulator::DemoMemoryFile());
    if (!problem.empty()) std::fprintf(stderr, "norvanectl: %s\n", problem.c_str());
  }
  if (options.trace) SetTraceEnabled(true);

  // Reading information blocks opens the devices: never under a running window, whose exchanges it would cut
  // into.
  if (options.command == cli::Command::kInfo && !emulate && cli::WindowRuns()) {
    std::fputs("norvanectl: the window program runs and holds the devices; close it to read their information "
               "blocks (setting commands and status go through it)\n",
               stderr);
    return cli::kExitFailure;
  }

  switch (options.command) {
    case cli::Command::kList:
      return cli::RunList(options);
    case cli::Command::kInfo:
      return cli::RunInfo(options);
    case cli::Command::kRules:
      return cli::RunRules(options);
    case cli::Command::kSetting: {
      std::vector<std::string> words = options.commandArguments;
      if (options.help) words.emplace_back("--help");
      const cli::CommandOutput output = cli::RunSettingCommand(words, options.json);
      std::fputs(output.out.c_str(), stdout);
      std::fputs(output.err.c_str(), stderr);
      return output.exit;
    }
    case cli::Command::kNone:
      break;
  }
  return cli::kExitUsage;
}
