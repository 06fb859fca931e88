// The real program, started as a user starts it: a second start raises the first and ends with 0 without
// a window, with no device attached the window shows the no-device notice after the first scan pass, a
// logout ends it in order, and a bad command line is refused with the usage. Started with the session it
// stays out of the way; installed it finds its data in ../share/norvane; without a display or its data it
// says so instead of failing on its own.

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
  }

  QProcessEnvironment Environment() const { return ProgramEnvironment(home_); }

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

TEST_F(ProgramTest, StartedMinimisedWithoutATrayItIsMinimisedInsteadOfRaised) {
  auto program = Launch({QStringLiteral("--trace"), QStringLiteral("--minimized")});
  QString trace;
  EXPECT_TRUE(WaitForLine(*program, trace, QStringLiteral("main window: started minimised")))
      << trace.toStdString();
  EXPECT_FALSE(trace.contains(QStringLiteral("main window: shown"))) << trace.toStdString();
  EXPECT_EQ(Terminate(*program, 3000ms), 0);
}

TEST_F(ProgramTest, WithoutAnyDisplayItSaysSoInOneLineAndEnds) {
  QProcess program;
  QProcessEnvironment env = Environment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    env.remove(QString::fromLatin1(name));
  program.setProcessEnvironment(env);
  program.start(kProgram, {QStringLiteral("--emulate"), QStringLiteral("keyboard")});
  ASSERT_TRUE(program.waitForFinished(10000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 1);
  const QString said = QString::fromUtf8(program.readAllStandardError());
  EXPECT_TRUE(said.startsWith(QStringLiteral("norvane: needs a graphical session"))) << said.toStdString();
  EXPECT_TRUE(said.contains(QStringLiteral("norvanectl works without one"))) << said.toStdString();
  EXPECT_EQ(said.count(QLatin1Char('\n')), 1) << said.toStdString();
}

// The program laid out as an installation: usr/bin/norvane and usr/share/norvane/{skin,DefaultData}.
class InstalledProgramTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (IsSkipped()) return;
    const std::filesystem::path built = kProgram.toStdString();
    std::filesystem::create_directories(root_ / "usr" / "bin");
    std::error_code error;
    // The program finds its folder through /proc/self/exe: a link would lead back to the build tree.
    std::filesystem::create_hard_link(built, installed_, error);
    if (error) std::filesystem::copy_file(built, installed_);
  }

  void InstallData() {
    const std::filesystem::path share = root_ / "usr" / "share" / "norvane";
    std::filesystem::create_directories(share);
    for (const char* folder : {"skin", "DefaultData"}) {
      std::filesystem::copy(built_data_ / folder, share / folder, std::filesystem::copy_options::recursive);
    }
  }

  std::unique_ptr<QProcess> LaunchInstalled(const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(Environment());
    process->start(QString::fromStdString(installed_.string()), arguments);
    EXPECT_TRUE(process->waitForStarted(5000));
    return process;
  }

  std::filesystem::path built_data_ = std::filesystem::path(kProgram.toStdString()).parent_path();
  std::filesystem::path root_ = home_ / "root";
  std::filesystem::path installed_ = root_ / "usr" / "bin" / "norvane";
};

TEST_F(InstalledProgramTest, FindsItsSkinsAndDataInShare) {
  InstallData();
  auto program =
      LaunchInstalled({QStringLiteral("--trace"), QStringLiteral("--emulate"), QStringLiteral("keyboard")});
  QString trace;
  EXPECT_TRUE(WaitForLine(*program, trace, kShownDevices)) << trace.toStdString();
  const std::filesystem::path share = root_ / "usr" / "share" / "norvane";
  EXPECT_TRUE(trace.contains(QString::fromStdString("startup: skins in " + (share / "skin").string() +
                                                    ", default data in " + (share / "DefaultData").string())))
      << trace.toStdString();
  EXPECT_EQ(Terminate(*program, 3000ms), 0);
}

TEST_F(InstalledProgramTest, WithoutItsDataFolderItSaysSoAndEnds) {
  auto program = LaunchInstalled({QStringLiteral("--trace")});
  QString trace;
  EXPECT_TRUE(WaitForLine(*program, trace, QStringLiteral("startup: data folder message shown")))
      << trace.toStdString();
  const std::string missing = (root_ / "usr" / "share" / "norvane" / "skin").string();
  EXPECT_TRUE(trace.contains(QString::fromStdString("the skin folder " + missing + " is missing")))
      << trace.toStdString();
  EXPECT_FALSE(trace.contains(QStringLiteral("InitWindow")));
  // The message goes with the program, which ends with 1.
  EXPECT_EQ(Terminate(*program, 3000ms), 1);
}

}  // namespace
}  // namespace norvane::app::test
