#pragma once
// How norvanectl hands a command to the running window program: a method of the window's own well-known
// name (the single-instance name), on an object of its own, so that the messages interface stays as it is.
//
//   method Run(as arguments) -> (i exit, s out, s err)
//
// `arguments` are a setting command's words ("dpi", "set", "1", "800", "--device", "mouse", "--json"); the
// window runs them on its pages' devices and answers with the exit status and the text for stdout and
// stderr.

#include <QString>

namespace norvane::cli {

inline const QString kCommandObjectPath = QStringLiteral("/org/norvane/Norvane/Commands");
inline const QString kCommandInterface = QStringLiteral("org.norvane.Commands");
inline const QString kCommandRunMethod = QStringLiteral("Run");

// How long norvanectl waits for the window's answer before it says the window does not answer.
inline constexpr int kWindowAnswerTimeoutMs = 5000;

}  // namespace norvane::cli
