#pragma once
// A desktop of a test's own: an X server (Xvfb) on a free display, with a window manager (evilwm) that
// names the active window when asked for, so that a test can move the focus without touching the display
// every other test shares. Nothing is started when the programs are not installed: Ready() then says why
// not.

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTest>
#include <memory>

#include "platform/x11_focus.h"
#include "tests/support/program_starts.h"

namespace norvane::testing {

class PrivateXServer {
 public:
  explicit PrivateXServer(bool windowManager) {
    if (!kTestsStartPrograms) {
      problem_ = kNoProgramsUnderThreadSanitizer;
      return;
    }
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) {
      problem_ = "Xvfb is not installed";
      return;
    }
    server_ = std::make_unique<QProcess>();
    // The server picks a free display itself and names it on the given descriptor: stdout here.
    server_->start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    if (!server_->waitForStarted(5000) ||
        !QTest::qWaitFor([&] { return server_->canReadLine(); }, 10000)) {
      problem_ = "Xvfb did not start";
      return;
    }
    display_ = ":" + QString::fromLatin1(server_->readLine()).trimmed();
    if (!windowManager) return;
    if (QStandardPaths::findExecutable("evilwm").isEmpty()) {
      problem_ = "evilwm is not installed";
      return;
    }
    manager_ = std::make_unique<QProcess>();
    manager_->start("evilwm", {"-display", display_, "-fn", "fixed"});
    const bool following = QTest::qWaitFor(
        [&] { return X11FocusFollower(display_.toStdString()).GetState() == X11FocusFollower::State::kFollowing; },
        10000);
    if (!following) problem_ = "the window manager did not start";
  }

  ~PrivateXServer() {
    for (QProcess* process : {manager_.get(), server_.get()}) {
      if (!process) continue;
      process->terminate();
      if (!process->waitForFinished(3000)) process->kill();
      process->waitForFinished(1000);
    }
  }

  bool Ready() const { return problem_.isEmpty() && !display_.isEmpty(); }
  const QString& Problem() const { return problem_; }
  // ":N".
  const QString& Display() const { return display_; }

 private:
  std::unique_ptr<QProcess> server_;
  std::unique_ptr<QProcess> manager_;
  QString display_;
  QString problem_;
};

}  // namespace norvane::testing
