#include "app/instance_bus.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <atomic>
#include <cstdio>

#include "app/bus_message_receiver.h"
#include "tools/norvanectl/command_bus.h"

namespace norvane::app {
namespace {

QDBusConnection OpenConnection(const QString& address, const QString& connectionName) {
  if (address.isEmpty()) return QDBusConnection::sessionBus();
  return QDBusConnection::connectToBus(address, connectionName);
}

QString NextConnectionName() {
  static std::atomic<int> counter{0};
  return QStringLiteral("norvane-instance-bus-%1").arg(++counter);
}

QDBusMessage PostCall(const QString& serviceName, RegisteredMessage id, std::int64_t wParam,
                      std::int64_t lParam) {
  QDBusMessage call =
      QDBusMessage::createMethodCall(serviceName, kBusObjectPath, kBusInterface, kBusPostMethod);
  call << RegisteredMessageQName(id) << qlonglong{wParam} << qlonglong{lParam};
  call.setAutoStartService(false);
  return call;
}

}  // namespace

CInstanceBus::CInstanceBus(BusMessageHandler handler, InstanceBusOptions options)
    : options_(std::move(options)),
      connectionName_(NextConnectionName()),
      connection_(OpenConnection(options_.busAddress, connectionName_)),
      receiver_(std::make_unique<CBusMessageReceiver>(std::move(handler))) {
  if (options_.commands) commands_ = std::make_unique<CCommandReceiver>(options_.commands);
}

CInstanceBus::~CInstanceBus() {
  if (connection_.isConnected()) {
    if (primary_) connection_.unregisterService(options_.serviceName);
    if (objectRegistered_) connection_.unregisterObject(kBusObjectPath);
    if (commandsRegistered_) connection_.unregisterObject(cli::kCommandObjectPath);
  }
  if (!options_.busAddress.isEmpty()) QDBusConnection::disconnectFromBus(connectionName_);
}

bool CInstanceBus::HasBus() const {
  return connection_.isConnected();
}

bool CInstanceBus::TryBecomePrimary() {
  if (!connection_.isConnected()) {
    const QString why = connection_.lastError().isValid() ? connection_.lastError().message()
                                                          : QStringLiteral("not connected");
    ReportRunningAlone(QStringLiteral("no D-Bus session bus (%1)").arg(why));
    return true;
  }
  // The object goes up first, so that a call arriving the moment the name is ours finds it.
  if (!objectRegistered_) {
    objectRegistered_ =
        connection_.registerObject(kBusObjectPath, receiver_.get(),
                                   QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals);
  }
  if (commands_ && !commandsRegistered_) {
    commandsRegistered_ =
        connection_.registerObject(cli::kCommandObjectPath, commands_.get(), QDBusConnection::ExportAllSlots);
  }
  QDBusConnectionInterface* bus = connection_.interface();
  if (bus == nullptr) {
    ReportRunningAlone(QStringLiteral("the bus offers no name service"));
    return true;
  }
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
      bus->registerService(options_.serviceName, QDBusConnectionInterface::DontQueueService,
                           QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid()) {
    // Nobody else is known to own the name: run, as a program that cannot check would.
    ReportRunningAlone(QStringLiteral("the bus refused the name %1 (%2)")
                           .arg(options_.serviceName, reply.error().message()));
    return true;
  }
  primary_ = reply.value() == QDBusConnectionInterface::ServiceRegistered;
  if (!primary_ && objectRegistered_) {
    connection_.unregisterObject(kBusObjectPath);
    objectRegistered_ = false;
  }
  if (!primary_ && commandsRegistered_) {
    connection_.unregisterObject(cli::kCommandObjectPath);
    commandsRegistered_ = false;
  }
  return primary_;
}

bool CInstanceBus::AskPrimaryToRaise() {
  if (!connection_.isConnected()) return false;
  // The wait runs the event loop, so that even a primary living in this very thread can answer.
  const QDBusMessage reply =
      connection_.call(PostCall(options_.serviceName, RegisteredMessage::kInstanceMessage, 0, 1),
                       QDBus::BlockWithGui, options_.raiseTimeoutMs);
  return reply.type() == QDBusMessage::ReplyMessage;
}

bool CInstanceBus::Broadcast(RegisteredMessage id, std::int64_t wParam, std::int64_t lParam) {
  if (!connection_.isConnected()) return false;
  QDBusMessage signal = QDBusMessage::createSignal(kBusObjectPath, kBusInterface, kBusBroadcastSignal);
  signal << RegisteredMessageQName(id) << qlonglong{wParam} << qlonglong{lParam};
  return connection_.send(signal);
}

bool CInstanceBus::PostTo(const QString& serviceName, RegisteredMessage id, std::int64_t wParam,
                          std::int64_t lParam) {
  if (!CompanionIsRunning(serviceName)) return false;
  return connection_.send(PostCall(serviceName, id, wParam, lParam));
}

bool CInstanceBus::SendCopyDataTo(const QString& serviceName, std::int64_t kind, const QByteArray& data) {
  if (!CompanionIsRunning(serviceName)) return false;
  QDBusMessage call =
      QDBusMessage::createMethodCall(serviceName, kBusObjectPath, kBusInterface, kBusCopyDataMethod);
  call << qlonglong{kind} << data;
  call.setAutoStartService(false);
  return connection_.send(call);
}

bool CInstanceBus::CompanionIsRunning(const QString& serviceName) {
  if (!connection_.isConnected()) return false;
  QDBusConnectionInterface* bus = connection_.interface();
  if (bus == nullptr) return false;
  const QDBusReply<bool> registered = bus->isServiceRegistered(serviceName);
  return registered.isValid() && registered.value();
}

void CInstanceBus::ReportRunningAlone(const QString& reason) {
  if (reportedAlone_) return;
  reportedAlone_ = true;
  std::fprintf(stderr, "norvane: %s; running as the only instance\n", reason.toLocal8Bit().constData());
  std::fflush(stderr);
}

}  // namespace norvane::app
