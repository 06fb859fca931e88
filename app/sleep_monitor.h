#pragma once
// Tells the main window when the system goes to sleep and wakes up: logind's PrepareForSleep signal on the
// system bus becomes the window's power message (suspend / resume), posted to the UI thread.

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include "uilib/window_handle.h"

namespace norvane::app {

class CSleepMonitor : public QObject {
  Q_OBJECT

 public:
  // Watches `connection` (the system bus unless given) for the signal from `service` (logind unless given;
  // empty accepts any sender, for tests on a private bus).
  explicit CSleepMonitor(ui::WindowHandle target, QObject* parent = nullptr);
  CSleepMonitor(ui::WindowHandle target, const QDBusConnection& connection, const QString& service,
                QObject* parent = nullptr);

  // False when there is no system bus to watch (the program then never hears of sleep).
  bool IsWatching() const { return watching_; }

 public slots:
  void OnPrepareForSleep(bool sleeping);

 private:
  ui::WindowHandle target_;
  bool watching_ = false;
};

}  // namespace norvane::app
