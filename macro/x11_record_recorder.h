#pragma once
// Recording through the X server's RECORD extension: every key and button that any client of the display
// gets (pointer motion is left out: it would flood the recorder), with the server's own time stamps. Only
// meaningful on a real X11 session: under a Wayland compositor the X display is XWayland's, which sees
// only input meant for X clients.
//
// Two connections: one to control the recording context, one that carries the recorded data to a worker
// thread. Stopping disables the context, syncs the control connection and lets the worker drain the data
// connection up to the end of the recording before anything is closed; an X display that closes while
// recording the worker notices and reports as lost, and the process carries on.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "macro/input_capture.h"
#include "macro/recorder_thread.h"

namespace norvane::macro {

class X11RecordRecorder final : public InputRecorder {
 public:
  // displayName: the display to record; empty for $DISPLAY.
  explicit X11RecordRecorder(std::string displayName = {});
  ~X11RecordRecorder() override;
  X11RecordRecorder(const X11RecordRecorder&) = delete;
  X11RecordRecorder& operator=(const X11RecordRecorder&) = delete;

  std::string_view Name() const override { return "X11 RECORD"; }
  [[nodiscard]] bool Start(Sink sink, LostSink lost, std::string& why) override;
  void Stop() override;
  std::uint32_t Now() const override;
  bool PositionsArePhysical() const override { return true; }

  // Public for the reply callback of the X library.
  struct Connections;

 private:
  void Run();
  void OnEvent(int type, int detail, std::uint32_t time, int rootX, int rootY);
  void FlushHeldRelease();
  void CloseAll();

  std::string displayName_;
  std::unique_ptr<Connections> x_;
  RecorderThread thread_;
  std::int64_t clockOffset_ = 0;  // server time minus the steady clock, in milliseconds

  // Worker only: the X server repeats a held key as a release and a press with one time stamp; a release
  // waits here until the next event shows whether it was one of those.
  std::optional<CapturedInput> heldRelease_;
  std::int64_t heldSince_ = 0;
};

}  // namespace norvane::macro
