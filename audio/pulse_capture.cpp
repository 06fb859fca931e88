#include "audio/pulse_capture.h"

#include "audio/capture_analyser.h"

namespace norvane::audio {

namespace {

constexpr const char* kMonitor = "@DEFAULT_MONITOR@";

}  // namespace

PulseCapture::PulseCapture(SampleSink sink) : sink_(std::move(sink)) {}

PulseCapture::~PulseCapture() {
  Stop();
}

bool PulseCapture::Start(std::string& why) {
  Stop();
  loop_ = pa_threaded_mainloop_new();
  if (!loop_) {
    why = "the sound library could not start";
    return false;
  }
  context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "norvane-audio");
  pa_context_set_state_callback(context_, &PulseCapture::OnContextState, this);
  // No server of our own: a desktop without one keeps the music modes dark.
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
      pa_threaded_mainloop_start(loop_) < 0) {
    why = pa_strerror(pa_context_errno(context_));
    Stop();
    return false;
  }
  pa_threaded_mainloop_lock(loop_);
  pa_context_state_t state = pa_context_get_state(context_);
  while (state != PA_CONTEXT_READY && PA_CONTEXT_IS_GOOD(state)) {
    pa_threaded_mainloop_wait(loop_);
    state = pa_context_get_state(context_);
  }
  if (state != PA_CONTEXT_READY) {
    why = pa_strerror(pa_context_errno(context_));
    pa_threaded_mainloop_unlock(loop_);
    Stop();
    return false;
  }
  pa_context_set_subscribe_callback(context_, &PulseCapture::OnServerEvent, this);
  if (pa_operation* op = pa_context_subscribe(context_, PA_SUBSCRIPTION_MASK_SERVER, nullptr, nullptr))
    pa_operation_unref(op);
  if (pa_operation* op = pa_context_get_server_info(context_, &PulseCapture::OnServerInfo, this))
    pa_operation_unref(op);
  ConnectStream();
  capturing_ = true;
  pa_threaded_mainloop_unlock(loop_);
  return true;
}

void PulseCapture::Stop() {
  capturing_ = false;
  if (!loop_) return;
  pa_threaded_mainloop_stop(loop_);
  if (stream_) {
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
  }
  if (context_) {
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
  }
  pa_threaded_mainloop_free(loop_);
  loop_ = nullptr;
  defaultSink_.clear();
}

void PulseCapture::ConnectStream() {
  if (stream_) {
    pa_stream_set_read_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
  }
  const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, kSampleRate, 1};
  stream_ = pa_stream_new(context_, "music lighting", &spec, nullptr);
  if (!stream_) return;
  pa_stream_set_read_callback(stream_, &PulseCapture::OnRead, this);
  // Pieces of one level message (about 10 ms): the lighting follows the sound closely.
  pa_buffer_attr attr{};
  attr.maxlength = static_cast<uint32_t>(-1);
  attr.fragsize = static_cast<uint32_t>(kLevelsPerMessage * sizeof(float));
  pa_stream_connect_record(stream_, kMonitor, &attr, PA_STREAM_ADJUST_LATENCY);
}

void PulseCapture::OnContextState(pa_context* context, void* self) {
  auto* capture = static_cast<PulseCapture*>(self);
  const pa_context_state_t state = pa_context_get_state(context);
  if (!PA_CONTEXT_IS_GOOD(state)) capture->capturing_ = false;
  pa_threaded_mainloop_signal(capture->loop_, 0);
}

void PulseCapture::OnServerEvent(pa_context* context, pa_subscription_event_type_t, uint32_t, void* self) {
  // The server's defaults may have changed: look whose monitor is the default now.
  if (pa_operation* op = pa_context_get_server_info(context, &PulseCapture::OnServerInfo, self))
    pa_operation_unref(op);
}

void PulseCapture::OnServerInfo(pa_context*, const pa_server_info* info, void* self) {
  auto* capture = static_cast<PulseCapture*>(self);
  if (!info || !info->default_sink_name) return;
  const std::string sink = info->default_sink_name;
  if (capture->defaultSink_.empty()) {
    capture->defaultSink_ = sink;
  } else if (sink != capture->defaultSink_) {
    capture->defaultSink_ = sink;
    capture->ConnectStream();
  }
}

void PulseCapture::OnRead(pa_stream* stream, std::size_t, void* self) {
  auto* capture = static_cast<PulseCapture*>(self);
  const void* data = nullptr;
  std::size_t bytes = 0;
  while (pa_stream_readable_size(stream) > 0) {
    if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) return;
    // A hole (no data for a while) is silence to the lighting.
    if (data && capture->sink_)
      capture->sink_(std::span<const float>(static_cast<const float*>(data), bytes / sizeof(float)));
    pa_stream_drop(stream);
  }
}

}  // namespace norvane::audio
