#pragma once
// The world the app tests run in: one QApplication, private per-user folders, the shipped skins and
// default data, and a private D-Bus bus (when dbus-daemon exists) that no other test run shares.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <filesystem>

namespace norvane::app::test {

// The private bus's address; empty when none could be started (bus tests then skip).
QString TestBusAddress();
// A well-known name of this test process's own.
QString TestServiceName(const char* role);
// The private folder that stands for the user's home folders (config, data, runtime below it).
std::filesystem::path TestHome();

// The environment of the real program started by a test, with `home` as the user's home folders: its
// config, data and runtime folders (created here, the runtime one private), the private bus, offscreen
// windows, and none of the overrides of the test process itself (emulation, skin and data folders).
QProcessEnvironment ProgramEnvironment(const std::filesystem::path& home);

// Runs a command-line client to its end while this process keeps answering bus calls; its exit code, or -1.
int RunClient(const QString& program, const QStringList& arguments);

}  // namespace norvane::app::test
