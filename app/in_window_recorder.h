#pragma once
// Recording from the program's own window: the keys and mouse buttons Qt delivers while a window of the
// program has the focus, on the UI thread. Always available, and the last resort where no global backend
// can capture. While it records, keys reach no widget of the program.
//
// Keys are told by the native key code Qt reports (X11 and Wayland both give the kernel's code plus 8).
// Where there is none (the offscreen platform, some remote sessions) the key is told by its meaning, and
// then the left and right Shift, Ctrl and Alt are one key each (the left one).

#include <QObject>
#include <tuple>

#include "macro/input_capture.h"

class QKeyEvent;

namespace norvane::app {

class CInWindowRecorder final : public QObject, public macro::InputRecorder {
 public:
  CInWindowRecorder();
  ~CInWindowRecorder() override;

  std::string_view Name() const override { return "in-window"; }
  [[nodiscard]] bool Start(Sink sink, LostSink lost, std::string& why) override;
  void Stop() override;
  std::uint32_t Now() const override;

  // The Linux key code of a key event; 0 when it cannot be told.
  static int LinuxKeyOf(const QKeyEvent& event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Sink sink_;
  bool running_ = false;
  bool toldFallback_ = false;
  std::tuple<int, int, quint64> lastButton_{};  // type, button and time of the button event taken last
};

}  // namespace norvane::app
