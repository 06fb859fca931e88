#include "macro/x11_record_recorder.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

#include "macro/scan_codes.h"
#include "macro/x11_display_guard.h"
#include "platform/trace.h"

namespace norvane::macro {

namespace {

constexpr int kHeldReleaseMs = 20;   // a repeat's press follows its release at once
constexpr int kDrainLimitMs = 1000;  // the most a stop waits for the end of the recorded data

std::int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The Linux button of an X button; wheel steps (4 to 7) and unknown buttons have none.
std::optional<int> LinuxButtonOf(int xButton) {
  switch (xButton) {
    case 1:
      return BTN_LEFT;
    case 2:
      return BTN_MIDDLE;
    case 3:
      return BTN_RIGHT;
    case 8:
      return BTN_SIDE;
    case 9:
      return BTN_EXTRA;
    default:
      return std::nullopt;
  }
}

// The server's time now: the time stamp of a property change on a window of our own.
std::optional<std::uint32_t> ServerTime(Display* display) {
  const Window root = DefaultRootWindow(display);
  XSetWindowAttributes attributes{};
  attributes.event_mask = PropertyChangeMask;
  const Window window = XCreateWindow(display, root, -1, -1, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                                      CWEventMask, &attributes);
  const Atom atom = XInternAtom(display, "NORVANE_TIME", False);
  const unsigned char nothing = 0;
  XChangeProperty(display, window, atom, XA_INTEGER, 8, PropModeReplace, &nothing, 0);
  XEvent event{};
  std::optional<std::uint32_t> time;
  // A check after the round trip rather than XWindowEvent, which would wait for ever on a broken display.
  XSync(display, False);
  if (XCheckWindowEvent(display, window, PropertyChangeMask, &event)) time = std::uint32_t(event.xproperty.time);
  XDestroyWindow(display, window);
  XSync(display, False);
  return time;
}

}  // namespace

struct X11RecordRecorder::Connections {
  Display* control = nullptr;
  Display* data = nullptr;
  XRecordContext context = 0;
  bool endOfData = false;  // worker only
  X11DisplayGuard controlGuard;
  X11DisplayGuard dataGuard;
  X11RecordRecorder* owner = nullptr;

  static void OnReply(XPointer closure, XRecordInterceptData* data) {
    auto* self = reinterpret_cast<Connections*>(closure);
    if (data->category == XRecordFromServer && data->data_len * 4 >= sizeof(xEvent)) {
      const auto* event = reinterpret_cast<const xEvent*>(data->data);
      self->owner->OnEvent(event->u.u.type & 0x7F, event->u.u.detail, event->u.keyButtonPointer.time,
                           event->u.keyButtonPointer.rootX, event->u.keyButtonPointer.rootY);
    } else if (data->category == XRecordEndOfData) {
      self->endOfData = true;
    }
    XRecordFreeData(data);
  }
};

X11RecordRecorder::X11RecordRecorder(std::string displayName) : displayName_(std::move(displayName)) {}

X11RecordRecorder::~X11RecordRecorder() {
  Stop();
}

std::uint32_t X11RecordRecorder::Now() const {
  return static_cast<std::uint32_t>(SteadyMs() + clockOffset_);
}

bool X11RecordRecorder::Start(Sink sink, LostSink lost, std::string& why) {
  Stop();
  const char* name = displayName_.empty() ? nullptr : displayName_.c_str();
  auto x = std::make_unique<Connections>();
  x->owner = this;
  x->control = XOpenDisplay(name);
  x->data = x->control ? XOpenDisplay(name) : nullptr;
  if (!x->control || !x->data) {
    why = "no X display can be opened";
    if (x->control) XCloseDisplay(x->control);
    return false;
  }
  // From here on a display that goes away is reported, not the end of the process.
  x->controlGuard.Watch(x->control);
  x->dataGuard.Watch(x->data);
  x_ = std::move(x);
  int major = 0;
  int minor = 0;
  if (!XRecordQueryVersion(x_->control, &major, &minor)) {
    why = "the X server has no RECORD extension";
    CloseAll();
    return false;
  }
  XRecordRange* range = XRecordAllocRange();
  if (!range) {
    why = "the recording range cannot be allocated";
    CloseAll();
    return false;
  }
  // Keys and buttons only: KeyPress, KeyRelease, ButtonPress, ButtonRelease.
  range->device_events.first = KeyPress;
  range->device_events.last = ButtonRelease;
  XRecordClientSpec clients = XRecordAllClients;
  x_->context = XRecordCreateContext(x_->control, 0, &clients, 1, &range, 1);
  XFree(range);
  XSync(x_->control, False);
  const std::optional<std::uint32_t> serverNow = x_->context ? ServerTime(x_->control) : std::nullopt;
  if (!x_->context || !serverNow || x_->controlGuard.Failed()) {
    why = "the X server refused a recording context";
    CloseAll();
    return false;
  }
  // The steady clock and the server's agree on the pace; their offset makes the start's "now" comparable
  // with the events' time stamps.
  clockOffset_ = std::int64_t(*serverNow) - SteadyMs();
  if (!XRecordEnableContextAsync(x_->data, x_->context, &Connections::OnReply, reinterpret_cast<XPointer>(x_.get()))) {
    why = "the recording cannot be enabled";
    CloseAll();
    return false;
  }
  XFlush(x_->data);
  heldRelease_.reset();
  if (!thread_.Start(std::move(sink), std::move(lost), [this] { Run(); }, why)) {
    CloseAll();
    return false;
  }
  return true;
}

void X11RecordRecorder::Run() {
  pollfd fds[2] = {{ConnectionNumber(x_->data), POLLIN, 0}, {thread_.WakeDescriptor(), POLLIN, 0}};
  std::int64_t drainDeadline = 0;
  while (true) {
    XRecordProcessReplies(x_->data);
    if (x_->dataGuard.Failed()) {
      FlushHeldRelease();
      Trace("recording: the X display went away");
      thread_.ReportLost("the X display went away");
      return;
    }
    if (heldRelease_ && SteadyMs() - heldSince_ >= kHeldReleaseMs) FlushHeldRelease();
    if (thread_.Stopping()) {
      if (drainDeadline == 0) drainDeadline = SteadyMs() + kDrainLimitMs;
      if (x_->endOfData || SteadyMs() >= drainDeadline) break;
    }
    const int timeout = heldRelease_ ? kHeldReleaseMs : (thread_.Stopping() ? 20 : -1);
    fds[0].revents = 0;
    fds[1].revents = 0;
    if (poll(fds, 2, timeout) < 0 && errno != EINTR) break;
    if (fds[1].revents & POLLIN) thread_.TakeWakeUp();
    // A hang-up is read (and reported as lost) by the next round of replies.
  }
  FlushHeldRelease();
}

void X11RecordRecorder::OnEvent(int type, int detail, std::uint32_t time, int rootX, int rootY) {
  CapturedInput input;
  input.time = time;
  if (type == KeyPress || type == KeyRelease) {
    input.kind = CapturedInput::Kind::kKey;
    input.code = detail - kX11KeyCodeOffset;
    input.pressed = type == KeyPress;
    if (heldRelease_) {
      const bool repeat = input.pressed && heldRelease_->code == input.code && heldRelease_->time == time;
      if (repeat) {
        heldRelease_.reset();
        input.autoRepeat = true;
        thread_.Emit(input);
        return;
      }
      FlushHeldRelease();
    }
    if (!input.pressed) {
      heldRelease_ = input;
      heldSince_ = SteadyMs();
      return;
    }
    thread_.Emit(input);
    return;
  }
  if (type != ButtonPress && type != ButtonRelease) return;
  const std::optional<int> button = LinuxButtonOf(detail);
  if (!button) return;
  FlushHeldRelease();
  input.kind = CapturedInput::Kind::kButton;
  input.code = *button;
  input.pressed = type == ButtonPress;
  input.hasPosition = true;
  input.x = rootX;
  input.y = rootY;
  thread_.Emit(input);
}

void X11RecordRecorder::FlushHeldRelease() {
  if (!heldRelease_) return;
  const CapturedInput release = *heldRelease_;
  heldRelease_.reset();
  thread_.Emit(release);
}

void X11RecordRecorder::Stop() {
  if (thread_.IsRunning() && x_) {
    // The end of the recorded data reaches the data connection once the control connection has the
    // context disabled; the worker reads up to it, so that closing finds nothing in flight.
    if (!x_->controlGuard.Failed()) {
      XRecordDisableContext(x_->control, x_->context);
      XSync(x_->control, False);
    }
  }
  thread_.Stop();
  CloseAll();
}

void X11RecordRecorder::CloseAll() {
  if (!x_) return;
  if (x_->context && !x_->controlGuard.Failed()) {
    XRecordFreeContext(x_->control, x_->context);
    XSync(x_->control, False);
  }
  x_->dataGuard.Close();
  x_->controlGuard.Close();
  x_.reset();
}

}  // namespace norvane::macro
