#pragma once
// The audio companion on the session bus: it owns org.norvane.AudioRecord and offers the messages
// interface there, as the window expects of its capture program. The level and band records go out
// through a RecordSender (record_sender.h), not this connection.
//
// From the window it takes the audio capture message "{4695579F-999A-41d4-9FAF-EFFCE93EBE19}": wParam 5 (the
// last of the window's closing commands 2, 4, 5) ends the companion; 2 and 4 need nothing; 6, 7 and 8 (the
// window's red, green and blue sliders) and the style colour record (kind 10) are taken and ignored: the
// companion has no indicator of its own to colour.

#include <QByteArray>
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

namespace norvane::audio {

class CompanionBus : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.norvane.Messages")

 public:
  static constexpr qlonglong kStyleColourRecord = 10;

  CompanionBus(QDBusConnection connection, std::function<void()> onClose, std::function<void(QString)> trace);
  // Takes the well-known name. False when it is taken (the companion runs already) or the bus refused it.
  bool Register(const QString& serviceName);

 public slots:
  void Post(const QString& name, qlonglong wParam, qlonglong lParam);
  void CopyData(qlonglong kind, const QByteArray& data);

 private:
  QDBusConnection connection_;
  std::function<void()> onClose_;
  std::function<void(QString)> trace_;
};

}  // namespace norvane::audio
