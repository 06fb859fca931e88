#pragma once
// The program's own control classes, registered with the control factory before any skin is built, in
// the order of the program's control table.

namespace norvane::app {

void RegisterProgramControls();

}  // namespace norvane::app
