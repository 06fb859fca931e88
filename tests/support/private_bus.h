#pragma once
// A private D-Bus session daemon for a test binary, so that names and signals of one test run never meet
// another run's (or the desktop's). Without dbus-daemon the address stays empty.

#include <signal.h>
#include <sys/types.h>

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTest>

namespace norvane::testing {

class PrivateBus {
 public:
  // Starts the daemon; false when it is not installed or did not start.
  bool Start() {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) return false;
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--fork"), QStringLiteral("--print-address=1"),
                  QStringLiteral("--print-pid=1")});
    if (!daemon.waitForFinished(10000) || daemon.exitCode() != 0) return false;
    const QStringList lines =
        QString::fromUtf8(daemon.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    if (lines.size() < 2) return false;
    address_ = lines.at(0).trimmed();
    pid_ = lines.at(1).trimmed().toLongLong();
    return true;
  }

  void Stop() {
    if (pid_ > 0) ::kill(static_cast<pid_t>(pid_), SIGTERM);
    pid_ = 0;
  }

  const QString& Address() const { return address_; }

 private:
  QString address_;
  qint64 pid_ = 0;
};

// Runs a client of the bus (dbus-send, the program itself) to its end: its exit code, or -1 when it crashed
// or did not end within 10 s. The event loop spins meanwhile, since the client's call may be answered by
// this very process.
inline int RunClient(const QString& program, const QStringList& arguments) {
  QProcess client;
  client.start(program, arguments);
  if (!QTest::qWaitFor([&] { return client.state() == QProcess::NotRunning; }, 10000)) {
    client.kill();
    client.waitForFinished(1000);
    return -1;
  }
  if (client.exitStatus() != QProcess::NormalExit) return -1;
  return client.exitCode();
}

}  // namespace norvane::testing
