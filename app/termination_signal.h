#pragma once
// SIGTERM, SIGINT and SIGHUP (session logout, Ctrl+C in a terminal) end the program the way the tray's
// "exit" does: the signal only wakes the UI thread, which then closes the window in order.

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace norvane::app {

class CTerminationSignal : public QObject {
 public:
  // `onSignal` runs on the UI thread after a signal arrived. One instance per process.
  explicit CTerminationSignal(std::function<void()> onSignal, QObject* parent = nullptr);
  ~CTerminationSignal() override;
  CTerminationSignal(const CTerminationSignal&) = delete;
  CTerminationSignal& operator=(const CTerminationSignal&) = delete;

 private:
  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace norvane::app
