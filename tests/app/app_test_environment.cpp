#include "tests/app/app_test_environment.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QProcessEnvironment>
#include <QTest>
#include <memory>

#include "app/control_registration.h"
#include "platform/xdg_paths.h"
#include "tests/support/private_bus.h"
#include "tests/support/program_starts.h"
#include "tests/support/temp_folder.h"
#include "uilib/uilib.h"

namespace norvane::app::test {
namespace {

QString g_address;
norvane::testing::PrivateBus g_bus;
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
    if (norvane::testing::kTestsStartPrograms && g_bus.Start()) g_address = g_bus.Address();
  }

  void TearDown() override {
    g_bus.Stop();
    app_.reset();
    g_home.reset();
  }

 private:
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

QProcessEnvironment ProgramEnvironment(const std::filesystem::path& home) {
  for (const char* sub : {"config", "data", "runtime"}) std::filesystem::create_directories(home / sub);
  std::filesystem::permissions(home / "runtime", std::filesystem::perms::owner_all);
  const auto folder = [&](const char* sub) { return QString::fromStdString((home / sub).string()); };
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), TestBusAddress());
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder("config"));
  env.insert(QStringLiteral("XDG_DATA_HOME"), folder("data"));
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder("runtime"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  for (const char* name : {"NORVANE_EMULATE", "NORVANE_SKIN_DIR", "NORVANE_DEFAULT_DATA"})
    env.remove(QString::fromLatin1(name));
  return env;
}

int RunClient(const QString& program, const QStringList& arguments) {
  return norvane::testing::RunClient(program, arguments);
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
