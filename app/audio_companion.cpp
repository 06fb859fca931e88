#include "app/audio_companion.h"

#include "platform/trace.h"

namespace norvane::app {

CAudioCompanion::CAudioCompanion(QString program, QStringList arguments, OnBus onBus)
    : program_(std::move(program)), arguments_(std::move(arguments)), onBus_(std::move(onBus)) {
  // What it has to say (no sound server, for one) goes where the program's own messages go.
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.setStandardOutputFile(QProcess::nullDevice());
}

CAudioCompanion::~CAudioCompanion() {
  Stop();
}

void CAudioCompanion::SetWanted(bool wanted) {
  if (!wanted) {
    Stop();
    return;
  }
  if (IsRunning() || program_.isEmpty()) return;
  const auto now = std::chrono::steady_clock::now();
  if (lastStart_ && now - *lastStart_ < kRestartSpacing) return;
  if (onBus_ && onBus_()) return;  // the user's own runs
  lastStart_ = now;
  ++starts_;
  Trace("audio companion: starting " + program_.toStdString());
  process_.start(program_, arguments_);
}

void CAudioCompanion::Stop() {
  if (!IsRunning()) return;
  process_.terminate();
  if (!process_.waitForFinished(kStopWaitMs)) {
    process_.kill();
    process_.waitForFinished(kStopWaitMs);
  }
}

}  // namespace norvane::app
