#pragma once
// Captures what the desktop plays: the monitor of the default output ("@DEFAULT_MONITOR@"), mono float
// samples at kSampleRate, through PulseAudio's client library (PipeWire serves the same protocol). It never
// starts a sound server, and when the default output changes it captures the new one.
//
// The samples arrive on the library's own thread, in pieces of about 10 ms.

#include <pulse/pulseaudio.h>

#include <atomic>
#include <functional>
#include <span>
#include <string>

namespace norvane::audio {

class PulseCapture {
 public:
  using SampleSink = std::function<void(std::span<const float> mono)>;

  explicit PulseCapture(SampleSink sink);
  ~PulseCapture();
  PulseCapture(const PulseCapture&) = delete;
  PulseCapture& operator=(const PulseCapture&) = delete;

  // Connects to the sound server and starts capturing. False, with the reason in `why`, when no server
  // answers; the capture is then stopped and may be started again later.
  bool Start(std::string& why);
  void Stop();
  // False once the server went away (or before Start): the owner may start again.
  bool IsCapturing() const { return capturing_.load(); }

 private:
  static void OnContextState(pa_context* context, void* self);
  static void OnServerEvent(pa_context* context, pa_subscription_event_type_t type, uint32_t index, void* self);
  static void OnServerInfo(pa_context* context, const pa_server_info* info, void* self);
  static void OnRead(pa_stream* stream, std::size_t bytes, void* self);
  // On the library's thread, with its lock held.
  void ConnectStream();

  SampleSink sink_;
  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  std::string defaultSink_;
  std::atomic<bool> capturing_{false};
};

}  // namespace norvane::audio
