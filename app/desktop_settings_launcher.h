#pragma once
// Opens the desktop's own keyboard or mouse settings (the "windowdeviceset_N" buttons of the device pages):
// the first settings tool of the common desktops that is installed. It is started detached: it runs on its
// own, the program does not wait for it, and it stays open when the program ends.

#include <QString>
#include <QStringList>
#include <functional>

namespace norvane::app {

// The full path of an installed program, or an empty text when there is none.
using ProgramFinder = std::function<QString(const QString& name)>;
// Starts a program detached; false when it could not be started.
using ProgramStarter = std::function<bool(const QString& path, const QStringList& arguments)>;

// The defaults: a look-up on PATH, and a detached start.
[[nodiscard]] QString FindProgramOnPath(const QString& name);
[[nodiscard]] bool StartProgramDetached(const QString& path, const QStringList& arguments);

inline constexpr int kDesktopKeyboardSettings = 0;
inline constexpr int kDesktopMouseSettings = 1;

// N 0 opens the keyboard settings, N 1 the mouse settings, trying GNOME's, then KDE's, then Xfce's tool,
// and starts the first one installed. True when a tool was started; false for any other N, when no tool is
// installed, or when the one found could not be started.
[[nodiscard]] bool OpenDesktopDeviceSettings(int n, const ProgramFinder& find = FindProgramOnPath,
                                             const ProgramStarter& start = StartProgramDetached);

}  // namespace norvane::app
