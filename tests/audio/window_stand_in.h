#pragma once
// The window's end of the bus for the audio companion's tests: takes the "CopyData" records sent to it, with
// the time each arrived, and answers them only when asked to.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <chrono>
#include <mutex>
#include <tuple>
#include <vector>

namespace norvane::audio {

// The bus connections of these tests need a Qt application object; one for the whole test program.
inline void EnsureCoreApplication() {
  static int argc = 1;
  static char name[] = "test_audio";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

class WindowStandIn : public QDBusVirtualObject {
 public:
  using Record = std::tuple<qlonglong, QByteArray, std::chrono::steady_clock::time_point>;

  explicit WindowStandIn(const QString& address)
      : connection_(QDBusConnection::connectToBus(address, QStringLiteral("window-stand-in"))) {
    registered_ = connection_.registerVirtualObject(QStringLiteral("/org/norvane/Norvane"), this) &&
                  connection_.registerService(QStringLiteral("org.norvane.Norvane"));
  }
  ~WindowStandIn() override {
    connection_.unregisterObject(QStringLiteral("/org/norvane/Norvane"));
    QDBusConnection::disconnectFromBus(QStringLiteral("window-stand-in"));
  }
  bool registered_ = false;
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    const QList<QVariant> args = message.arguments();
    if (message.member() != QStringLiteral("CopyData") || args.size() != 2) return false;
    {
      std::lock_guard lock(mutex_);
      records_.emplace_back(args[0].toLongLong(), args[1].toByteArray(), std::chrono::steady_clock::now());
      askedForReply_ += message.isReplyRequired() ? 1 : 0;
    }
    if (message.isReplyRequired()) connection.send(message.createReply());
    return true;
  }
  std::vector<Record> Records() {
    std::lock_guard lock(mutex_);
    return records_;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    records_.clear();
  }
  // How many records asked for an answer.
  int AskedForReply() {
    std::lock_guard lock(mutex_);
    return askedForReply_;
  }

 private:
  QDBusConnection connection_;
  std::mutex mutex_;
  std::vector<Record> records_;
  int askedForReply_ = 0;
};

}  // namespace norvane::audio
