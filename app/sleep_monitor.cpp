#include "app/sleep_monitor.h"

#include "app/main_messages.h"
#include "platform/trace.h"

namespace norvane::app {
namespace {

const QString kLogindService = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kLogindManager = QStringLiteral("org.freedesktop.login1.Manager");

}  // namespace

CSleepMonitor::CSleepMonitor(ui::WindowHandle target, QObject* parent)
    : CSleepMonitor(std::move(target), QDBusConnection::systemBus(), kLogindService, parent) {}

CSleepMonitor::CSleepMonitor(ui::WindowHandle target, const QDBusConnection& connection,
                             const QString& service, QObject* parent)
    : QObject(parent), target_(std::move(target)) {
  if (!connection.isConnected()) {
    Trace("sleep monitor: no system bus; suspend and resume go unnoticed");
    return;
  }
  QDBusConnection bus = connection;
  watching_ = bus.connect(service, kLogindPath, kLogindManager, QStringLiteral("PrepareForSleep"), this,
                          SLOT(OnPrepareForSleep(bool)));
}

void CSleepMonitor::OnPrepareForSleep(bool sleeping) {
  target_.PostMessage(WM_POWERBROADCAST, sleeping ? PBT_APMSUSPEND : PBT_APMRESUMEAUTOMATIC, 0);
}

}  // namespace norvane::app
