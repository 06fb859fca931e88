#pragma once
// Recording from the kernel's input devices (evdev, through libevdev), for sessions without an X server
// of their own, where the user may read /dev/input: every keyboard and mouse the system lists, observed
// only (never grabbed: the keys still reach the desktop). Event times are the kernel's monotonic ones.
//
// Reading these devices needs read access to /dev/input/event*, which most systems give only to root and
// the "input" group; without it this backend is not available and recording falls back to the window.

#include <linux/input.h>

#include <optional>
#include <string>
#include <vector>

#include "macro/input_capture.h"
#include "macro/recorder_thread.h"

struct libevdev;

namespace norvane::macro {

// One kernel input event as the recorder takes it: a key or one of the mouse buttons going down or up.
// Repeats of a held key (value 2), other buttons, and every event that is no key are nothing.
[[nodiscard]] std::optional<CapturedInput> TranslateEvdevEvent(const input_event& event);

class EvdevRecorder final : public InputRecorder {
 public:
  // devices: the device nodes to read; empty for every keyboard and mouse the system lists.
  explicit EvdevRecorder(std::vector<std::string> devices = {});
  ~EvdevRecorder() override;
  EvdevRecorder(const EvdevRecorder&) = delete;
  EvdevRecorder& operator=(const EvdevRecorder&) = delete;

  std::string_view Name() const override { return "evdev"; }
  [[nodiscard]] bool Start(Sink sink, LostSink lost, std::string& why) override;
  void Stop() override;
  std::uint32_t Now() const override;

  // The keyboards and mice the system lists (udev), as device nodes.
  [[nodiscard]] static std::vector<std::string> ListInputDevices();

 private:
  struct Device {
    int fd = -1;
    libevdev* dev = nullptr;
  };
  void Run();
  void CloseAll();

  std::vector<std::string> nodes_;
  std::vector<Device> devices_;
  RecorderThread thread_;
};

}  // namespace norvane::macro
