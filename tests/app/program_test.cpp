// The real program, started as a user starts it: a second start raises the first and ends with 0 without
// a window, with no device attached the window shows the no-device notice after the first scan pass, a
// logout ends it in order, and a bad command line is refused with the usage.

#include <gtest/gtest.h>
#include <signal.h>

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <chrono>
#include <filesystem>

#include "tests/app/app_test_environment.h"
#include "tests/support/temp_folder.h"

namespace norvane::app::test {
namespace {

using namespace std::chrono_literals;

const QString kProgram = QStringLiteral(NORVANE_BINARY_DIR "/bin/norvane");
const QString kShownNotice = QStringLiteral("main window: shown; \"No_device_Link\" visible");
const QString kShownDevices = QStringLiteral("main window: shown; \"No_device_Link\" hidden");

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (TestBusAddress().isEmpty()) GTEST_SKIP() << "no D-Bus bus available";
    if (!QFileInfo::exists(kProgram)) GTEST_SKIP() << "the program was not built";
    for (const char* sub : {"config", "data", "runtime"}) std::filesystem::create_directories(home_ / sub);
    std::filesystem::permissions(home_ / "runtime", std::filesystem::perms::owner_all);
  }

  QProcessEnvironment Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), TestBusAddress());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((home_ / "config").string()));
    env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString((home_ / "data").string()));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString((home_ / "runtime").string()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.remove(QStringLiteral("NORVANE_EMULATE"));
    env.remove(QStringLiteral("NORVANE_SKIN_DIR"));
    return env;
  }

  std::unique_ptr<QProcess> Launch(const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(Environment());
    process->start(kProgram, arguments);
    EXPECT_TRUE(process->waitForStarted(5000));
    return process;
  }

  // Reads the process's trace until `line` appeared `count` times.
  bool WaitForLine(QProcess& process, QString& seen, const QString& line, int count = 1,
                   int timeoutMs = 15000) {
    return QTest::qWaitFor(
        [&] {
          seen += QString::fromUtf8(process.readAllStandardError());
          return seen.count(line) >= count;
        },
        timeoutMs);
  }

  // Ends the program as a logout does and returns its exit code (-1 when it did not end in time).
  static int Terminate(QProcess& process, std::chrono::milliseconds limit) {
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    if (!process.waitForFinished(static_cast<int>(limit.count()))) {
      process.kill();
      process.waitForFinished(2000);
      return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }

  norvane::testing::TempFolder folder_;
  std::filesystem::path home_ = folder_.path();
};

TEST_F(ProgramTest, WithoutDevicesTheWindowShowsTheNoticeAndASecondStartOnlyRaisesIt) {
  auto first = Launch({QStringLiteral("--trace")});
  QString firstTrace;
  ASSERT_TRUE(WaitForLine(*first, firstTrace, kShownNotice)) << firstTrace.toStdString();
  // The first showing comes after the scan's first pass.
  EXPECT_LT(firstTrace.indexOf(QStringLiteral("InitWindow")), firstTrace.indexOf(kShownNotice));

  auto second = Launch({QStringLiteral("--trace")});
  ASSERT_TRUE(second->waitForFinished(10000));
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  const QString secondTrace = QString::fromUtf8(second->readAllStandardError());
  EXPECT_FALSE(secondTrace.contains(QStringLiteral("InitWindow"))) << secondTrace.toStdString();
  // The running one came to the front once more.
  EXPECT_TRUE(WaitForLine(*first, firstTrace, kShownNotice, 2)) << firstTrace.toStdString();

  EXPECT_EQ(Terminate(*first, 3000ms), 0);
}

TEST_F(ProgramTest, EmulatedDevicesReplaceTheNotice) {
  auto program =
      Launch({QStringLiteral("--trace"), QStringLiteral("--emulate"), QStringLiteral("keyboard,mouse")});
  QString trace;
  EXPECT_TRUE(WaitForLine(*program, trace, kShownDevices)) << trace.toStdString();
  EXPECT_EQ(Terminate(*program, 3000ms), 0);
}

TEST_F(ProgramTest, ABadCommandLineIsRefusedWithTheUsage) {
  auto program = Launch({QStringLiteral("--emulate")});
  ASSERT_TRUE(program->waitForFinished(10000));
  EXPECT_EQ(program->exitCode(), 2);
  EXPECT_TRUE(QString::fromUtf8(program->readAllStandardError()).contains(QStringLiteral("usage: norvane")));

  auto unknown = Launch({QStringLiteral("--emulate"), QStringLiteral("toaster")});
  ASSERT_TRUE(unknown->waitForFinished(10000));
  EXPECT_EQ(unknown->exitCode(), 2);
  EXPECT_TRUE(QString::fromUtf8(unknown->readAllStandardError()).contains(QStringLiteral("toaster")));
}

}  // namespace
}  // namespace norvane::app::test
