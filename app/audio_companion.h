#pragma once
// The audio capture companion (norvane-audio, next to the program) as the window runs it: started while a
// keyboard shows a music effect, ended with the effect and at exit. One that ends on its own is started
// again, at most once every kRestartSpacing; one the user runs by hand is left alone.
//
// UI thread only.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <optional>

namespace norvane::app {

class CAudioCompanion {
 public:
  static constexpr std::chrono::seconds kRestartSpacing{3};
  static constexpr int kStopWaitMs = 1000;
  // Whether a companion is on the bus already (one the user runs).
  using OnBus = std::function<bool()>;

  CAudioCompanion(QString program, QStringList arguments, OnBus onBus);
  ~CAudioCompanion();  // ends the companion this window started
  CAudioCompanion(const CAudioCompanion&) = delete;
  CAudioCompanion& operator=(const CAudioCompanion&) = delete;

  // Starts or ends it as the lighting needs it now; call again whenever that may have changed (a start
  // that waits for the spacing happens on a later call).
  void SetWanted(bool wanted);
  [[nodiscard]] bool IsRunning() const { return process_.state() != QProcess::NotRunning; }
  [[nodiscard]] int Starts() const { return starts_; }

 private:
  void Stop();

  QString program_;
  QStringList arguments_;
  OnBus onBus_;
  QProcess process_;
  std::optional<std::chrono::steady_clock::time_point> lastStart_;
  int starts_ = 0;
};

}  // namespace norvane::app
