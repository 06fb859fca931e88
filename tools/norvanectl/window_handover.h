#pragma once
// norvanectl's side of the hand-over: while the window program runs, a setting command is run by the window
// on its own devices, never by a second program opening them under it.

#include <optional>
#include <string>
#include <vector>

#include "tools/norvanectl/device_session.h"

namespace norvane::cli {

// Whether the window program runs (holds its name on the session bus, which is never started for the look).
[[nodiscard]] bool WindowRuns();

// Hands `words` to the running window and gives back its answer. nullopt when no window runs (the caller
// opens the devices itself). A window that does not answer within `timeoutMs`, or refuses the call: exit 1
// with the reason.
std::optional<CommandOutput> HandToWindow(const std::vector<std::string>& words, int timeoutMs);

}  // namespace norvane::cli
