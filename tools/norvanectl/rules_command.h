#pragma once
// norvanectl rules: the rules that switch a device's profile while a chosen program runs or has the focus,
// read and changed in the device folder's rule file (the window, when it runs, follows the file).
//
//   norvanectl rules list [--device KIND] [--json]
//   norvanectl rules add --device KIND PROGRAM PROFILE [--running | --focus]
//   norvanectl rules remove --device KIND NUMBER
//
// KIND is keyboard, mouse, mousepad or headset; PROFILE a profile's name (any case) or identifier; NUMBER
// a rule's number as list shows it.

#include <string>
#include <vector>

#include "tools/norvanectl/cli_options.h"

namespace norvane::cli {

int RunRules(const CliOptions& options);

std::string RulesUsageText();

}  // namespace norvane::cli
