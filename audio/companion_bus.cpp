#include "audio/companion_bus.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <bit>
#include <cstring>

namespace norvane::audio {

namespace {

const QString kWindowService = QStringLiteral("org.norvane.Norvane");
const QString kObjectPath = QStringLiteral("/org/norvane/Norvane");
const QString kInterface = QStringLiteral("org.norvane.Messages");
const QString kCaptureMessage = QStringLiteral("{4695579F-999A-41d4-9FAF-EFFCE93EBE19}");
constexpr qlonglong kClose = 5;

}  // namespace

CompanionBus::CompanionBus(QDBusConnection connection, std::function<void()> onClose,
                           std::function<void(QString)> trace)
    : connection_(std::move(connection)), onClose_(std::move(onClose)), trace_(std::move(trace)) {}

bool CompanionBus::Register(const QString& serviceName) {
  if (!connection_.registerObject(kObjectPath, this, QDBusConnection::ExportAllSlots)) return false;
  QDBusConnectionInterface* bus = connection_.interface();
  if (!bus) return false;
  const auto reply = bus->registerService(serviceName, QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
  return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

void CompanionBus::Send(qlonglong kind, std::span<const std::int32_t> values) {
  // Little-endian 32-bit values: on a little-endian machine its own bytes, copied at once.
  QByteArray bytes(qsizetype(values.size() * 4), Qt::Uninitialized);
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(bytes.data(), values.data(), values.size_bytes());
  } else {
    for (std::size_t i = 0; i < values.size(); ++i) {
      const auto bits = static_cast<std::uint32_t>(values[i]);
      for (int b = 0; b < 4; ++b) bytes[qsizetype(4 * i) + b] = static_cast<char>(bits >> (8 * b));
    }
  }
  QDBusMessage call = QDBusMessage::createMethodCall(kWindowService, kObjectPath, kInterface, QStringLiteral("CopyData"));
  call << kind << bytes;
  call.setAutoStartService(false);
  connection_.send(call);
}

void CompanionBus::Post(const QString& name, qlonglong wParam, qlonglong lParam) {
  if (name != kCaptureMessage) return;
  if (wParam == kClose) {
    if (trace_) trace_(QStringLiteral("the window closes"));
    if (onClose_) onClose_();
  } else if (wParam >= 6 && wParam <= 8 && trace_) {
    trace_(QStringLiteral("slider %1 at %2 (not shown)").arg(wParam).arg(lParam));
  }
}

void CompanionBus::CopyData(qlonglong kind, const QByteArray& data) {
  if (kind == kStyleColourRecord && trace_) trace_(QStringLiteral("style colour of %1 bytes (not shown)").arg(data.size()));
}

}  // namespace norvane::audio
