#pragma once
// The commands of norvanectl that read or change what a device stores (dpi, rate, status, ...). Each is
// run from its words alone and gives back its exit status and output, so the same code serves the command
// line and the window, which runs a command norvanectl hands it over the session bus on its own pages.
//
// Like the window, a change goes into the profile first and then to the device: when the device refuses
// or is gone the exit status is 1 with the reason, and the profile keeps the new value.

#include <string>
#include <string_view>
#include <vector>

#include "tools/norvanectl/device_session.h"

namespace norvane::cli {

// Whether `name` is one of these commands ("dpi").
bool IsSettingCommand(std::string_view name);

// Runs `arguments` ("dpi", "set", "1", "800", "--device", "mouse"); `json` asks for JSON output as the
// global --json does. The device comes from `provider`; without one, from a scan of the machine.
CommandOutput RunSettingCommand(const std::vector<std::string>& arguments, bool json, DeviceProvider& provider);
CommandOutput RunSettingCommand(const std::vector<std::string>& arguments, bool json);

// The lines of the main --help that list these commands.
std::string SettingCommandsSummary();

}  // namespace norvane::cli
