#pragma once
// A companion program on the test bus, as another program would offer it: the messages interface at the
// program's object path under a well-known name, recording what this program sends it.

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QObject>
#include <QString>
#include <tuple>
#include <utility>
#include <vector>

#include "app/bus_names.h"

namespace norvane::app::test {

class CompanionPeer : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.norvane.Messages")

 public:
  CompanionPeer(const QString& busAddress, const QString& serviceName)
      : connectionName_(QStringLiteral("companion-") + serviceName),
        connection_(QDBusConnection::connectToBus(busAddress, connectionName_)) {
    registered_ = connection_.registerObject(kBusObjectPath, this, QDBusConnection::ExportAllSlots) &&
                  connection_.registerService(serviceName);
  }
  ~CompanionPeer() override {
    connection_.unregisterObject(kBusObjectPath);
    QDBusConnection::disconnectFromBus(connectionName_);
  }
  bool IsRegistered() const { return registered_; }

  std::vector<std::tuple<QString, qlonglong, qlonglong>> posts;
  std::vector<std::pair<qlonglong, QByteArray>> records;

 public slots:
  void Post(const QString& name, qlonglong wParam, qlonglong lParam) { posts.emplace_back(name, wParam, lParam); }
  void CopyData(qlonglong kind, const QByteArray& data) { records.emplace_back(kind, data); }

 private:
  QString connectionName_;
  QDBusConnection connection_;
  bool registered_ = false;
};

}  // namespace norvane::app::test
