#include "app/bus_message_receiver.h"

#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>

#include "app/copy_data_record.h"

namespace norvane::app {

CBusMessageReceiver::CBusMessageReceiver(BusMessageHandler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

void CBusMessageReceiver::Post(const QString& name, qlonglong wParam, qlonglong lParam) {
  if (!CallerIsSameUser()) return;
  const QByteArray utf8 = name.toUtf8();
  const std::optional<RegisteredMessage> id =
      FindRegisteredMessage(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
  bool received = false;
  for (const RegisteredMessageInfo& info : RegisteredMessages()) {
    if (id && info.id == *id) received = info.received;
  }
  if (!received) {
    sendErrorReply(QDBusError::InvalidArgs,
                   QStringLiteral("\"%1\" is not a message this program receives").arg(name));
    return;
  }
  Deliver(BusMessage{*id, wParam, lParam, std::nullopt});
}

void CBusMessageReceiver::CopyData(qlonglong kind, const QByteArray& data) {
  if (!CallerIsSameUser()) return;
  std::optional<QByteArray> accepted = AcceptCopyData(kind, data);
  if (!accepted) {
    sendErrorReply(
        QDBusError::InvalidArgs,
        QStringLiteral("a record of kind %1 with %2 bytes is not accepted").arg(kind).arg(data.size()));
    return;
  }
  const qlonglong size = accepted->size();
  Deliver(BusMessage{RegisteredMessage::kCopyData, kind, size, std::move(accepted)});
}

bool CBusMessageReceiver::CallerIsSameUser() {
  if (!calledFromDBus()) return true;
  const QString caller = message().service();
  auto known = same_user_by_caller_.constFind(caller);
  if (known == same_user_by_caller_.constEnd()) {
    bool same = false;
    if (QDBusConnectionInterface* bus = connection().interface()) {
      const QDBusReply<uint> uid = bus->serviceUid(caller);
      same = uid.isValid() && uid.value() == ::getuid();
    }
    known = same_user_by_caller_.insert(caller, same);
  }
  if (!*known) {
    sendErrorReply(QDBusError::AccessDenied,
                   QStringLiteral("only programs of the same user may send messages"));
  }
  return *known;
}

void CBusMessageReceiver::Deliver(const BusMessage& message) {
  if (handler_) handler_(message);
}

}  // namespace norvane::app
