#pragma once
// The life of the window program from its entry to its exit: one instance per user session, the skin and
// control classes, the main window and its message loop, and the orderly end.

namespace norvane::app {

// Runs the program; returns its exit code (0 on every path the user can reach, 2 for a bad command line).
int RunApplication(int argc, char** argv);

}  // namespace norvane::app
