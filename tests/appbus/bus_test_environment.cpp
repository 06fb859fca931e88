// Creates the Qt application and the private bus once for the whole test binary.

#include "tests/appbus/bus_test_environment.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTest>
#include <memory>

#include "tests/support/private_bus.h"

namespace norvane::app::test {
namespace {

QString g_address;
norvane::testing::PrivateBus g_bus;

class BusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "test_appbus";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QCoreApplication>(argc, argv);
    if (g_bus.Start()) g_address = g_bus.Address();
    if (g_address.isEmpty()) g_address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
  }

  void TearDown() override {
    g_bus.Stop();
    app_.reset();
  }

 private:
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
  return norvane::testing::RunClient(program, arguments);
}

}  // namespace norvane::app::test
