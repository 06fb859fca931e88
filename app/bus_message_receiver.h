#pragma once
// The object this program exports on the bus. It checks each call (the caller must run as the same user,
// the name must be one this program receives, a record must be of a known kind) and hands what passes to
// the handler on the thread the receiver lives in, the UI thread. Calls with other argument types never get
// here: the bus layer answers them with an error, so they are ignored.
//
// Its interface is exactly the one of org.norvane.Messages.xml, shipped next to the program: one signature
// per method, so that clients that read the introspection (gdbus) know what to send, and the signal.

#include <QDBusContext>
#include <QHash>
#include <QObject>
#include <QString>

#include "app/bus_message.h"
#include "app/bus_names.h"

namespace norvane::app {

class CBusMessageReceiver : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.norvane.Messages")

 public:
  explicit CBusMessageReceiver(BusMessageHandler handler, QObject* parent = nullptr);

 public slots:
  void Post(const QString& name, qlonglong wParam, qlonglong lParam);
  void CopyData(qlonglong kind, const QByteArray& data);

 signals:
  // Declared for the introspection; CInstanceBus sends it as a plain signal message, also while the object
  // is not exported.
  void Broadcast(const QString& name, qlonglong wParam, qlonglong lParam);

 private:
  bool CallerIsSameUser();
  void Deliver(const BusMessage& message);

  BusMessageHandler handler_;
  // Unique bus names are never reused while the bus runs, so one look-up per caller is enough.
  QHash<QString, bool> same_user_by_caller_;
};

}  // namespace norvane::app
