#pragma once
// The program's presence on the D-Bus session bus: the single-instance check and the registered messages
// with companion programs.
//
// Owning the well-known name kBusServiceName is being the running instance. A second start finds the name
// taken, asks the running instance to come to the front (the instance message with lParam 1) and ends.
// Without a session bus the program runs as the only instance and says so once on stderr; every send then
// fails quietly.
//
// Create, use and destroy it on the UI thread: calls from other programs reach the handler there.

#include <QDBusConnection>
#include <QString>
#include <memory>

#include "app/bus_message.h"
#include "app/bus_names.h"
#include "app/command_receiver.h"

namespace norvane::app {

class CBusMessageReceiver;
class CCommandReceiver;

struct InstanceBusOptions {
  // The bus to use: empty for the session bus, else a D-Bus address (tests, private buses).
  QString busAddress;
  QString serviceName = kBusServiceName;
  // How long a second start waits for the running instance to take its call.
  int raiseTimeoutMs = 3000;
  // Runs the setting commands norvanectl hands the running instance; empty: none are taken.
  CommandHandler commands;
};

class CInstanceBus {
 public:
  explicit CInstanceBus(BusMessageHandler handler, InstanceBusOptions options = {});
  ~CInstanceBus();
  CInstanceBus(const CInstanceBus&) = delete;
  CInstanceBus& operator=(const CInstanceBus&) = delete;

  // True when this process is to run: it now owns the name, or there is no bus (or the bus refused the
  // name for another reason than another owner) and it runs alone. False when another instance owns it.
  bool TryBecomePrimary();

  // From a second start: the instance message with wParam 0 and lParam 1 to the running instance. True
  // when the running instance took the call.
  bool AskPrimaryToRaise();

  // True after TryBecomePrimary when this process owns the name.
  bool IsPrimary() const { return primary_; }
  // True when a bus connection exists.
  bool HasBus() const;

  // A registered message broadcast to whoever listens: the Broadcast signal with the message's name.
  bool Broadcast(RegisteredMessage id, std::int64_t wParam, std::int64_t lParam);

  // A registered message to a companion program, by its well-known name. Never waits for the companion;
  // false when it is not running or nothing could be sent.
  bool PostTo(const QString& serviceName, RegisteredMessage id, std::int64_t wParam, std::int64_t lParam);

  // A data record to a companion program, by its well-known name; as PostTo.
  bool SendCopyDataTo(const QString& serviceName, std::int64_t kind, const QByteArray& data);

  // Whether a program owns that well-known name now.
  bool IsOnBus(const QString& serviceName) { return CompanionIsRunning(serviceName); }

 private:
  void ReportRunningAlone(const QString& reason);
  bool CompanionIsRunning(const QString& serviceName);

  InstanceBusOptions options_;
  QString connectionName_;
  QDBusConnection connection_;
  std::unique_ptr<CBusMessageReceiver> receiver_;
  std::unique_ptr<CCommandReceiver> commands_;
  bool objectRegistered_ = false;
  bool commandsRegistered_ = false;
  bool primary_ = false;
  bool reportedAlone_ = false;
};

}  // namespace norvane::app
