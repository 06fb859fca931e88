#pragma once
// Capturing what the user presses, for the key editor (one key into a key assignment) and for macro
// recording. Backends differ in reach: the in-window one sees only input while a window of this program
// has the focus, global ones (the X server's RECORD extension, the kernel's input devices) the whole
// desktop.
//
// Keys are Linux key codes (X11 key codes are those plus kX11KeyCodeOffset), mouse buttons Linux button
// codes (BTN_LEFT, BTN_SIDE, ...).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace norvane::macro {

struct CapturedKey {
  int linuxKey = 0;  // KEY_A, KEY_LEFTSHIFT, ... (X11 key codes minus kX11KeyCodeOffset)
  bool pressed = true;
  bool autoRepeat = false;
};

// The key editor's capture: keys only, delivered on the thread that runs the capture's window.
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

// One key or mouse button going down or up, as a recording backend saw it.
struct CapturedInput {
  enum class Kind : std::uint8_t { kKey, kButton };
  Kind kind = Kind::kKey;
  int code = 0;  // KEY_* for keys, BTN_* for buttons
  bool pressed = true;
  bool autoRepeat = false;   // a press the keyboard repeats while the key is held
  std::uint32_t time = 0;    // milliseconds on the backend's clock (InputRecorder::Now), wrapping
  bool hasPosition = false;  // where the pointer was, for buttons of backends that know it
  int x = 0;
  int y = 0;
};

// A recording backend. It delivers on a thread of its own (or, for the in-window one, on the UI thread):
// the receiver carries the input over to where it is used.
class InputRecorder {
 public:
  using Sink = std::function<void(const CapturedInput&)>;
  // The backend stopped by itself (its display went away, say); called once, from any thread.
  using LostSink = std::function<void(const std::string& reason)>;

  virtual ~InputRecorder() = default;
  // For the trace and the user: "X11 RECORD", "evdev", "in-window".
  virtual std::string_view Name() const = 0;
  // Starts delivering. False, with the reason in `why`, when the backend cannot capture here.
  [[nodiscard]] virtual bool Start(Sink sink, LostSink lost, std::string& why) = 0;
  // Stops; nothing reaches the sinks once it returns. Safe to call when not started.
  virtual void Stop() = 0;
  // The backend's clock now, in the units of CapturedInput::time.
  virtual std::uint32_t Now() const = 0;
  // Positions are the screen's physical pixels (true) or the window system's logical ones.
  virtual bool PositionsArePhysical() const { return false; }
};

}  // namespace norvane::macro
