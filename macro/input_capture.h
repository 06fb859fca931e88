#pragma once
// Capturing keys the user presses, for the key editor (one key into a key assignment) and for macro
// recording. A backend reports every key press and release as a Linux key code; the session that started it
// gets them until it stops. Backends differ in reach: the in-window one sees only keys pressed while a
// window of this program has the focus, global ones see the whole desktop.

#include <functional>

namespace norvane::macro {

struct CapturedKey {
  int linuxKey = 0;  // KEY_A, KEY_LEFTSHIFT, ... (X11 key codes minus kX11KeyCodeOffset)
  bool pressed = true;
  bool autoRepeat = false;
};

class InputCapture {
 public:
  using KeySink = std::function<void(const CapturedKey&)>;
  virtual ~InputCapture() = default;
  // Starts reporting to `sink` (replacing an earlier sink). False when the backend cannot capture here.
  [[nodiscard]] virtual bool Start(KeySink sink) = 0;
  // Stops reporting; nothing reaches the sink afterwards. Safe to call when not started.
  virtual void Stop() = 0;
  virtual bool IsCapturing() const = 0;
};

}  // namespace norvane::macro
