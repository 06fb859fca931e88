#include "app/command_receiver.h"

#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusReply>

#include "tools/norvanectl/cli_commands.h"

namespace norvane::app {

CCommandReceiver::CCommandReceiver(CommandHandler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

int CCommandReceiver::Run(const QStringList& arguments, QString& out, QString& err) {
  if (calledFromDBus()) {
    QDBusConnectionInterface* bus = connection().interface();
    const QDBusReply<uint> uid = bus ? bus->serviceUid(message().service()) : QDBusReply<uint>();
    if (!uid.isValid() || uid.value() != ::getuid()) {
      sendErrorReply(QDBusError::AccessDenied, QStringLiteral("only programs of the same user may run commands"));
      return cli::kExitFailure;
    }
  }
  std::vector<std::string> words;
  for (const QString& argument : arguments) words.push_back(argument.toStdString());
  const cli::CommandOutput output =
      handler_ ? handler_(words) : cli::Failed(cli::kExitFailure, "the window is not ready for commands");
  out = QString::fromStdString(output.out);
  err = QString::fromStdString(output.err);
  return output.exit;
}

}  // namespace norvane::app
