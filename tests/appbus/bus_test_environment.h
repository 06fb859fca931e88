#pragma once
// The bus the appbus tests talk over: a private session bus started for the test process when dbus-daemon is
// available, else the ambient session bus.

#include <QString>

namespace norvane::app::test {

// The D-Bus address to use; empty when no bus is available (tests then skip).
QString TestBusAddress();

// A well-known name of this test process's own, so that parallel tests never meet.
QString TestServiceName(const char* role);

// Runs a command-line client to its end; its exit code, or -1 when it could not run in time.
int RunClient(const QString& program, const QStringList& arguments);

}  // namespace norvane::app::test
