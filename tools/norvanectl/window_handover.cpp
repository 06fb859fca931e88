#include "tools/norvanectl/window_handover.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>
#include <QStringList>
#include <cstdlib>
#include <filesystem>

#include "app/bus_names.h"
#include "tools/norvanectl/cli_commands.h"
#include "tools/norvanectl/command_bus.h"

namespace norvane::cli {
namespace {

// Qt's bus connection wants an application object; norvanectl makes one only when it talks to the bus.
class BusApplication {
 public:
  BusApplication() {
    if (QCoreApplication::instance() == nullptr) app_.emplace(argc_, argv_);
  }

 private:
  int argc_ = 1;
  char name_[11] = "norvanectl";
  char* argv_[2] = {name_, nullptr};
  std::optional<QCoreApplication> app_;
};

// Whether a session bus can be reached without starting one: its address is given, or the user's bus
// socket exists. (Asking for the session bus otherwise could launch a bus daemon for nothing.)
bool SessionBusKnown() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address != nullptr && *address != '\0') return true;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::error_code error;
  return runtime != nullptr && *runtime != '\0' && std::filesystem::exists(std::filesystem::path(runtime) / "bus", error);
}

bool WindowOwnsName(QDBusConnection& bus) {
  if (!bus.isConnected()) return false;
  QDBusConnectionInterface* names = bus.interface();
  if (names == nullptr) return false;
  const QDBusReply<bool> registered = names->isServiceRegistered(app::kBusServiceName);
  return registered.isValid() && registered.value();
}

// A connection of norvanectl's own to the session bus, closed when it goes. Qt's shared session connection
// would stay open until the program's statics are torn down, and its thread could then still be reading a
// message (a reply that came after norvanectl stopped waiting) with the type registry half gone, which
// prints warnings into norvanectl's stderr.
class OwnSessionConnection {
 public:
  OwnSessionConnection() : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kName)) {}
  ~OwnSessionConnection() {
    bus_ = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(kName);
  }
  OwnSessionConnection(const OwnSessionConnection&) = delete;
  OwnSessionConnection& operator=(const OwnSessionConnection&) = delete;
  QDBusConnection& Bus() { return bus_; }

 private:
  static inline const QString kName = QStringLiteral("norvanectl");
  QDBusConnection bus_;
};

}  // namespace

bool WindowRuns() {
  if (!SessionBusKnown()) return false;
  const BusApplication application;
  OwnSessionConnection connection;
  return WindowOwnsName(connection.Bus());
}

std::optional<CommandOutput> HandToWindow(const std::vector<std::string>& words, int timeoutMs) {
  if (!SessionBusKnown()) return std::nullopt;
  const BusApplication application;
  OwnSessionConnection connection;
  QDBusConnection& bus = connection.Bus();
  if (!WindowOwnsName(bus)) return std::nullopt;
  QStringList arguments;
  for (const std::string& word : words) arguments << QString::fromStdString(word);
  QDBusMessage call =
      QDBusMessage::createMethodCall(app::kBusServiceName, kCommandObjectPath, kCommandInterface, kCommandRunMethod);
  call << arguments;
  call.setAutoStartService(false);
  const QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs);
  if (reply.type() == QDBusMessage::ErrorMessage) {
    const QString name = reply.errorName();
    // The window went away between the look and the call: nobody holds the devices now.
    if (name == QDBusError::errorString(QDBusError::ServiceUnknown) && !WindowOwnsName(bus)) return std::nullopt;
    if (name == QDBusError::errorString(QDBusError::NoReply) || name == QDBusError::errorString(QDBusError::Timeout)) {
      return Failed(kExitFailure, "the window program does not answer (it runs, so the devices were left to it)");
    }
    return Failed(kExitFailure, "the window program refused the command: " + reply.errorMessage().toStdString());
  }
  const QList<QVariant> values = reply.arguments();
  if (reply.type() != QDBusMessage::ReplyMessage || values.size() != 3) {
    return Failed(kExitFailure, "the window program gave an answer norvanectl does not understand");
  }
  return CommandOutput{values.at(0).toInt(), values.at(1).toString().toStdString(),
                       values.at(2).toString().toStdString()};
}

}  // namespace norvane::cli
