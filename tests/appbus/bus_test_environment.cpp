// Creates the Qt application and the private bus once for the whole test binary.

#include "tests/appbus/bus_test_environment.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <memory>

namespace norvane::app::test {
namespace {

QString g_address;
qint64 g_private_daemon_pid = 0;

class BusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "test_appbus";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QCoreApplication>(argc, argv);
    StartPrivateBus();
    if (g_address.isEmpty()) g_address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
  }

  void TearDown() override {
    if (g_private_daemon_pid > 0) ::kill(static_cast<pid_t>(g_private_daemon_pid), SIGTERM);
    app_.reset();
  }

 private:
  static void StartPrivateBus() {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) return;
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--fork"), QStringLiteral("--print-address=1"),
                  QStringLiteral("--print-pid=1")});
    if (!daemon.waitForFinished(10000) || daemon.exitCode() != 0) return;
    const QStringList lines =
        QString::fromUtf8(daemon.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    if (lines.size() < 2) return;
    g_address = lines.at(0).trimmed();
    g_private_daemon_pid = lines.at(1).trimmed().toLongLong();
  }

  std::unique_ptr<QCoreApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new BusEnvironment);

}  // namespace

QString TestBusAddress() {
  return g_address;
}

QString TestServiceName(const char* role) {
  return QStringLiteral("org.norvane.Test.%1.p%2").arg(QString::fromLatin1(role)).arg(::getpid());
}

int RunClient(const QString& program, const QStringList& arguments) {
  QProcess client;
  client.start(program, arguments);
  // Spin the event loop meanwhile: the client's call is answered by this very process.
  if (!QTest::qWaitFor([&] { return client.state() == QProcess::NotRunning; }, 10000)) {
    client.kill();
    client.waitForFinished(1000);
    return -1;
  }
  if (client.exitStatus() != QProcess::NormalExit) return -1;
  return client.exitCode();
}

}  // namespace norvane::app::test
