#pragma once
// CDeviceHook: the capture of keys and mouse buttons while a macro is recorded. StartHooks picks the first
// backend that can capture here (X11 RECORD on an X11 session, then the kernel's input devices, then the
// program's own window), names it in the trace, and hands every key and button on, in the order they
// happened, on the UI thread, as the mode's hook events (key messages with scan codes, mouse messages with
// the pointer's position in logical pixels).
//
// While it runs, keys reach no widget of the program (Enter or Space must not press the stop button), and
// on X11 the keyboard is grabbed, so that the keys typed go into the macro only; the pointer stays free.
// Every way out lets go of the keyboard: StopHooks, the hook's end, the program's end; a watchdog does it
// when the UI thread stops answering, and the X server when the program dies.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "macro/hook_events.h"
#include "macro/input_capture.h"

namespace norvane::macro {
class X11KeyboardGrab;
}

namespace norvane::app {

class CDeviceHook final : public QObject {
 public:
  struct Sinks {
    std::function<void(macro::HookMode, const macro::HookKeyEvent&)> key;
    std::function<void(macro::HookMode, const macro::HookMouseEvent&)> mouse;
    // The capture ended by itself (its display went away, say); the hooks are stopped already.
    std::function<void(const std::string& reason)> lost;
  };
  // The backends to try, in order.
  using BackendList = std::function<std::vector<std::unique_ptr<macro::InputRecorder>>()>;
  // Makes the keyboard grab of an X11 backend; empty: none is made.
  using GrabFactory = std::function<std::unique_ptr<macro::X11KeyboardGrab>()>;

  explicit CDeviceHook(Sinks sinks, BackendList backends = DefaultBackends(), GrabFactory grab = DefaultGrab());
  ~CDeviceHook() override;

  // Starts capturing for `mode` (a recording mode), replacing a capture that runs. False when no backend
  // could start; LastError() says why.
  [[nodiscard]] bool StartHooks(macro::HookMode mode);
  void StopHooks();

  bool IsRunning() const { return backend_ != nullptr; }
  macro::HookMode Mode() const { return mode_; }
  std::string BackendName() const;
  // The running backend's clock now (the events' time base); 0 when none runs.
  std::uint32_t Now() const;
  const std::string& LastError() const { return lastError_; }
  bool HoldsKeyboard() const;

  // The backends of this session: X11 RECORD where Qt runs on a real X11 session (not XWayland), evdev,
  // and the window.
  static BackendList DefaultBackends();
  static GrabFactory DefaultGrab();
  // Whether the program runs on an X server that is the session's own.
  static bool IsX11Session();

  // Test support: takes input as the running backend would deliver it.
  void Inject(const macro::CapturedInput& input) { Receive(input); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Receive(const macro::CapturedInput& input);
  void OnLost(const std::string& reason);
  void Drain(std::uint64_t generation);
  void Deliver(const macro::CapturedInput& input);
  void TryGrab();
  void ReleaseKeyboard();

  Sinks sinks_;
  BackendList backends_;
  GrabFactory grabFactory_;
  std::unique_ptr<macro::InputRecorder> backend_;
  macro::HookMode mode_ = macro::HookMode::kNone;
  std::string lastError_;
  double pixelRatio_ = 1.0;  // physical over logical pixels, for backends that report physical ones
  bool physical_ = false;

  // Filled by the backend's thread, emptied on the UI thread.
  std::mutex queueMutex_;
  std::vector<macro::CapturedInput> queue_;
  bool drainPosted_ = false;
  std::uint64_t generation_ = 0;  // a drain posted for an earlier capture delivers nothing

  std::unique_ptr<macro::X11KeyboardGrab> grab_;
  QTimer grabRetry_;
  int grabAttempts_ = 0;
  QTimer heartbeat_;
};

}  // namespace norvane::app
