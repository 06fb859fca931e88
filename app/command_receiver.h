#pragma once
// The object through which norvanectl hands the window a setting command (see tools/norvanectl/
// command_bus.h). Only programs of the same user may call it; the command runs on the UI thread, where
// the receiver lives, like any change made with the window's own controls.

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "tools/norvanectl/device_session.h"

namespace norvane::app {

using CommandHandler = std::function<cli::CommandOutput(const std::vector<std::string>& words)>;

class CCommandReceiver : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.norvane.Commands")

 public:
  explicit CCommandReceiver(CommandHandler handler, QObject* parent = nullptr);

 public slots:
  int Run(const QStringList& arguments, QString& out, QString& err);

 private:
  CommandHandler handler_;
};

}  // namespace norvane::app
