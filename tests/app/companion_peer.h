#pragma once
// A companion program on the test bus, as another program would offer it: the messages interface at the
// program's object path under a well-known name, recording what this program sends it.

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QString>
#include <mutex>
#include <tuple>
#include <utility>
#include <vector>

#include "app/bus_names.h"

namespace norvane::app::test {

class CompanionPeer : public QDBusVirtualObject {
 public:
  using Post = std::tuple<QString, qlonglong, qlonglong>;
  using Record = std::pair<qlonglong, QByteArray>;

  CompanionPeer(const QString& busAddress, const QString& serviceName)
      : connectionName_(QStringLiteral("companion-") + serviceName),
        connection_(QDBusConnection::connectToBus(busAddress, connectionName_)) {
    registered_ = connection_.registerVirtualObject(kBusObjectPath, this) && connection_.registerService(serviceName);
  }
  ~CompanionPeer() override {
    connection_.unregisterObject(kBusObjectPath);
    QDBusConnection::disconnectFromBus(connectionName_);
  }
  bool IsRegistered() const { return registered_; }

  std::vector<Post> Posts() const {
    std::lock_guard lock(mutex_);
    return posts_;
  }
  std::vector<Record> Records() const {
    std::lock_guard lock(mutex_);
    return records_;
  }

  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    const QList<QVariant> args = message.arguments();
    {
      std::lock_guard lock(mutex_);
      if (message.member() == kBusPostMethod && args.size() == 3) {
        posts_.emplace_back(args[0].toString(), args[1].toLongLong(), args[2].toLongLong());
      } else if (message.member() == kBusCopyDataMethod && args.size() == 2) {
        records_.emplace_back(args[0].toLongLong(), args[1].toByteArray());
      } else {
        return false;
      }
    }
    connection.send(message.createReply());
    return true;
  }

 private:
  QString connectionName_;
  QDBusConnection connection_;
  bool registered_ = false;
  mutable std::mutex mutex_;
  std::vector<Post> posts_;
  std::vector<Record> records_;
};

}  // namespace norvane::app::test
