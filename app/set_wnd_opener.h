#pragma once
// How the main window opens its settings window: the update list from the model table and the connected
// devices, the language and scale of the main window, and the window placed as the opening asks.

#include <functional>

#include "update/update_work.h"

namespace norvane::app {

class CMainWnd;

// Runs the settings window modally over `main` (centred, or beside the settings button). `services`
// replaces how the update work is done (tests); empty: the program's own.
void RunSettingsWindow(CMainWnd& main, bool centred, std::function<update::UpdateServices()> services = {});

}  // namespace norvane::app
