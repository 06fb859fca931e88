#include "tests/app/app_test_environment.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <memory>

#include "app/control_registration.h"
#include "platform/xdg_paths.h"
#include "tests/support/temp_folder.h"
#include "uilib/uilib.h"

// ThreadSanitizer's runtime aborts in a child forked from a threaded process, so under it no bus daemon and
// no program is started: the tests that need them skip, and run in the plain and AddressSanitizer builds.
#if defined(__SANITIZE_THREAD__)
#define NORVANE_APP_TESTS_FORK 0
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define NORVANE_APP_TESTS_FORK 0
#endif
#endif
#ifndef NORVANE_APP_TESTS_FORK
#define NORVANE_APP_TESTS_FORK 1
#endif

namespace norvane::app::test {
namespace {

QString g_address;
qint64 g_daemonPid = 0;
std::unique_ptr<norvane::testing::TempFolder> g_home;

class AppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    g_home = std::make_unique<norvane::testing::TempFolder>();
    for (const char* sub : {"config", "data", "runtime"})
      std::filesystem::create_directories(g_home->path() / sub);
    std::filesystem::permissions(g_home->path() / "runtime", std::filesystem::perms::owner_all);
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((g_home->path() / "config").string()));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString((g_home->path() / "data").string()));
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString((g_home->path() / "runtime").string()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("NORVANE_SKIN_DIR", NORVANE_SOURCE_DIR "/skin");
    SetDefaultDataFolderOverride(NORVANE_SOURCE_DIR "/DefaultData");

    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
    resources.SetResourcePath(ui::CResourceManager::DefaultResourcePath());
    resources.LoadResource("res.xml");
    resources.LoadLanguage("lan_en.xml");
    RegisterProgramControls();
    if (NORVANE_APP_TESTS_FORK) StartPrivateBus();
  }

  void TearDown() override {
    if (g_daemonPid > 0) ::kill(static_cast<pid_t>(g_daemonPid), SIGTERM);
    app_.reset();
    g_home.reset();
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
    g_daemonPid = lines.at(1).trimmed().toLongLong();
  }

  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace

QString TestBusAddress() {
  return g_address;
}

QString TestServiceName(const char* role) {
  return QStringLiteral("org.norvane.AppTest.%1.p%2").arg(QString::fromLatin1(role)).arg(::getpid());
}

std::filesystem::path TestHome() {
  return g_home ? g_home->path() : std::filesystem::path();
}

int RunClient(const QString& program, const QStringList& arguments) {
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

}  // namespace norvane::app::test

// Qt's own thread pool (started while styles load images) hands tasks and image data between threads
// inside Qt, whose libraries are not built for ThreadSanitizer: the runtime cannot see those hand-overs.
// Memory traffic of uninstrumented libraries is left out (their locks still count); the program's code stays
// fully checked.
extern "C" const char* __tsan_default_options() {
  return "ignore_noninstrumented_modules=1";
}
extern "C" const char* __tsan_default_suppressions() {
  return "race:QThreadPoolPrivate::enqueueTask\n"
         "race:QRunnable::create\n";
}
