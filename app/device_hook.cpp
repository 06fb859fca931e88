#include "app/device_hook.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <chrono>

#include "app/in_window_recorder.h"
#include "macro/evdev_recorder.h"
#include "macro/recording.h"
#include "macro/x11_keyboard_grab.h"
#include "macro/x11_record_recorder.h"
#include "platform/trace.h"

namespace norvane::app {

namespace {

using macro::CapturedInput;

constexpr int kGrabRetryMs = 25;
constexpr int kGrabAttempts = 40;  // a menu closing takes its grab with it within this second
constexpr int kHeartbeatMs = 250;
constexpr std::chrono::milliseconds kWatchdogTimeout{2000};

}  // namespace

CDeviceHook::CDeviceHook(Sinks sinks, BackendList backends, GrabFactory grab)
    : sinks_(std::move(sinks)), backends_(std::move(backends)), grabFactory_(std::move(grab)) {
  grabRetry_.setInterval(kGrabRetryMs);
  QObject::connect(&grabRetry_, &QTimer::timeout, this, [this] { TryGrab(); });
  heartbeat_.setInterval(kHeartbeatMs);
  QObject::connect(&heartbeat_, &QTimer::timeout, this, [this] {
    if (grab_) grab_->Beat();
  });
}

CDeviceHook::~CDeviceHook() {
  StopHooks();
}

bool CDeviceHook::IsX11Session() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  // Under a Wayland compositor the X display is XWayland's: it sees only input meant for X clients, and a
  // grab there keeps nothing from the other programs.
  if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return false;
  return qgetenv("XDG_SESSION_TYPE") != "wayland";
}

CDeviceHook::BackendList CDeviceHook::DefaultBackends() {
  return [] {
    std::vector<std::unique_ptr<macro::InputRecorder>> backends;
    if (IsX11Session()) backends.push_back(std::make_unique<macro::X11RecordRecorder>());
    backends.push_back(std::make_unique<macro::EvdevRecorder>());
    backends.push_back(std::make_unique<CInWindowRecorder>());
    return backends;
  };
}

CDeviceHook::GrabFactory CDeviceHook::DefaultGrab() {
  return [] { return std::make_unique<macro::X11KeyboardGrab>(); };
}

bool CDeviceHook::StartHooks(macro::HookMode mode) {
  StopHooks();
  lastError_.clear();
  if (!macro::IsRecordingMode(mode)) {
    lastError_ = "not a recording mode";
    return false;
  }
  mode_ = mode;
  // First of the application's filters to be installed, so the last to run: an in-window backend sees the
  // keys before they are eaten here.
  if (qApp) qApp->installEventFilter(this);
  const QScreen* screen = QGuiApplication::primaryScreen();
  pixelRatio_ = screen ? screen->devicePixelRatio() : 1.0;
  std::vector<std::unique_ptr<macro::InputRecorder>> candidates = backends_ ? backends_() : decltype(candidates){};
  for (std::unique_ptr<macro::InputRecorder>& candidate : candidates) {
    std::string why;
    const auto sink = [this](const CapturedInput& input) { Receive(input); };
    const auto lost = [this](const std::string& reason) { OnLost(reason); };
    if (candidate->Start(sink, lost, why)) {
      backend_ = std::move(candidate);
      break;
    }
    Trace("recording: " + std::string(candidate->Name()) + " cannot capture here: " + why);
    lastError_ += (lastError_.empty() ? "" : "; ") + std::string(candidate->Name()) + ": " + why;
  }
  if (!backend_) {
    mode_ = macro::HookMode::kNone;
    if (qApp) qApp->removeEventFilter(this);
    return false;
  }
  physical_ = backend_->PositionsArePhysical();
  Trace("recording: capturing keys and buttons with " + std::string(backend_->Name()));
  if (backend_->Name() == "X11 RECORD" && grabFactory_) {
    grab_ = grabFactory_();
    grabAttempts_ = 0;
    TryGrab();
  }
  return true;
}

void CDeviceHook::TryGrab() {
  if (!grab_ || !backend_) return;
  switch (grab_->Acquire()) {
    case macro::X11KeyboardGrab::Result::kGrabbed:
      grabRetry_.stop();
      grab_->StartWatchdog(kWatchdogTimeout);
      heartbeat_.start();
      Trace("recording: the keyboard is held");
      return;
    case macro::X11KeyboardGrab::Result::kBusy:
      // A menu that has just closed may still hold its grab for a moment.
      if (++grabAttempts_ < kGrabAttempts) {
        if (!grabRetry_.isActive()) grabRetry_.start();
        return;
      }
      break;
    case macro::X11KeyboardGrab::Result::kFailed:
      break;
  }
  grabRetry_.stop();
  Trace("recording: the keyboard cannot be held; the keys typed also reach the program that has the focus");
}

void CDeviceHook::ReleaseKeyboard() {
  grabRetry_.stop();
  heartbeat_.stop();
  if (grab_) grab_->Release();
  grab_.reset();
}

void CDeviceHook::StopHooks() {
  ReleaseKeyboard();
  if (backend_) {
    backend_->Stop();
    backend_.reset();
    Trace("recording: capture stopped");
  }
  if (qApp) qApp->removeEventFilter(this);
  mode_ = macro::HookMode::kNone;
  std::lock_guard lock(queueMutex_);
  queue_.clear();
  drainPosted_ = false;
  ++generation_;
}

std::string CDeviceHook::BackendName() const {
  return backend_ ? std::string(backend_->Name()) : std::string();
}

std::uint32_t CDeviceHook::Now() const {
  return backend_ ? backend_->Now() : 0;
}

bool CDeviceHook::HoldsKeyboard() const {
  return grab_ && grab_->IsHeld();
}

void CDeviceHook::Receive(const CapturedInput& input) {
  std::lock_guard lock(queueMutex_);
  queue_.push_back(input);
  if (drainPosted_) return;
  drainPosted_ = true;
  const std::uint64_t generation = generation_;
  // One queued call takes every event that came meanwhile, in order.
  QMetaObject::invokeMethod(
      this, [this, generation] { Drain(generation); }, Qt::QueuedConnection);
}

void CDeviceHook::Drain(std::uint64_t generation) {
  std::vector<CapturedInput> inputs;
  {
    std::lock_guard lock(queueMutex_);
    if (generation != generation_) return;
    inputs.swap(queue_);
    drainPosted_ = false;
  }
  const std::uint64_t current = generation;
  for (const CapturedInput& input : inputs) {
    // A handler may have stopped the capture (or started another): the rest is no longer wanted.
    {
      std::lock_guard lock(queueMutex_);
      if (generation_ != current) return;
    }
    Deliver(input);
  }
}

void CDeviceHook::Deliver(const CapturedInput& input) {
  if (const std::optional<macro::HookKeyEvent> key = macro::HookKeyOf(input)) {
    if (sinks_.key) sinks_.key(mode_, *key);
    return;
  }
  std::optional<macro::HookMouseEvent> mouse = macro::HookMouseOf(input);
  if (!mouse) return;
  if (input.hasPosition && physical_) {
    mouse->x = int(input.x / pixelRatio_);
    mouse->y = int(input.y / pixelRatio_);
  } else if (!input.hasPosition) {
    // The backend knows no position: where the window system has the pointer now.
    const QPoint pointer = QCursor::pos();
    mouse->x = pointer.x();
    mouse->y = pointer.y();
  }
  if (sinks_.mouse) sinks_.mouse(mode_, *mouse);
}

void CDeviceHook::OnLost(const std::string& reason) {
  std::uint64_t generation = 0;
  {
    std::lock_guard lock(queueMutex_);
    generation = generation_;
  }
  QMetaObject::invokeMethod(
      this,
      [this, reason, generation] {
        {
          std::lock_guard lock(queueMutex_);
          if (generation != generation_) return;
        }
        StopHooks();
        if (sinks_.lost) sinks_.lost(reason);
      },
      Qt::QueuedConnection);
}

bool CDeviceHook::eventFilter(QObject* watched, QEvent* event) {
  if (!backend_ || !watched->isWidgetType()) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
      // Typed into the macro, not into the program: Enter or Space would press the focused button.
      event->accept();
      return true;
    default:
      return false;
  }
}

}  // namespace norvane::app
