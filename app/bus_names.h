#pragma once
// Where this program and its companion programs are found on the D-Bus session bus. Every one of them
// offers the same interface at the same object path under its own well-known name:
//
//   method Post(s name, x wParam, x lParam)   a registered message
//   method CopyData(x kind, ay data)          a data record (the kind was the record's dwData)
//   signal Broadcast(s name, x wParam, x lParam)

#include <QString>

namespace norvane::app {

inline const QString kBusServiceName = QStringLiteral("org.norvane.Norvane");
inline const QString kBusObjectPath = QStringLiteral("/org/norvane/Norvane");
inline const QString kBusInterface = QStringLiteral("org.norvane.Messages");

inline const QString kBusPostMethod = QStringLiteral("Post");
inline const QString kBusCopyDataMethod = QStringLiteral("CopyData");
inline const QString kBusBroadcastSignal = QStringLiteral("Broadcast");

// Companion programs.
inline const QString kAudioCaptureServiceName = QStringLiteral("org.norvane.AudioRecord");
inline const QString kDeviceListServiceName = QStringLiteral("org.norvane.DaziDavu");

}  // namespace norvane::app
