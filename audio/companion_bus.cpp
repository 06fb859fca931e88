#include "audio/companion_bus.h"

#include <QDBusConnectionInterface>

namespace norvane::audio {

namespace {

const QString kObjectPath = QStringLiteral("/org/norvane/Norvane");
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
