#include "app/macro_recorder.h"

#include <QDBusConnection>
#include <QTimer>
#include <string_view>

#include "app/macro_editor.h"
#include "controls/pages/device_page.h"
#include "editors/macro_control.h"
#include "platform/trace.h"

namespace norvane::app {

namespace {

using editors::CMacroControlUI;
using editors::RouteAction;

struct MenuRecording {
  std::string_view item;
  std::optional<macro::DelayMode> delay;  // none: as the fixed-delay check says
  macro::HookMode mode;
};

constexpr MenuRecording kMenuRecordings[] = {
    {"redio_previous_record_time", std::nullopt, macro::HookMode::kBefore},
    {"redio_previous_constant_time", macro::DelayMode::kFixed, macro::HookMode::kBefore},
    {"redio_previous_ignore_time", macro::DelayMode::kZero, macro::HookMode::kBefore},
    {"redio_later_record_time", std::nullopt, macro::HookMode::kAfter},
    {"redio_later_constant_time", macro::DelayMode::kFixed, macro::HookMode::kAfter},
    {"redio_later_ignore_time", macro::DelayMode::kZero, macro::HookMode::kAfter},
    {"macro_action_edit", macro::DelayMode::kZero, macro::HookMode::kSingle},
};

macro::DelayMode ChosenDelay(const CMacroControlUI& panel) {
  return panel.IsFixedDelaySelected() ? macro::DelayMode::kFixed : macro::DelayMode::kMeasured;
}

}  // namespace

CMacroRecorder::CMacroRecorder(Window window, CDeviceHook::BackendList backends, CDeviceHook::GrabFactory grab,
                               bool watchScreenLock)
    : window_(std::move(window)) {
  CDeviceHook::Sinks sinks;
  sinks.key = [this](macro::HookMode mode, const macro::HookKeyEvent& key) {
    if (CMacroControlUI* panel = RecordingPanel()) panel->OnHookKey(mode, key);
  };
  sinks.mouse = [this](macro::HookMode mode, const macro::HookMouseEvent& mouse) {
    if (CMacroControlUI* panel = RecordingPanel()) panel->OnHookMouse(mode, mouse);
  };
  sinks.lost = [this](const std::string& reason) {
    Trace("recording: the capture ended: " + reason);
    OnLost();
  };
  hook_ = std::make_unique<CDeviceHook>(std::move(sinks), std::move(backends), std::move(grab));
  if (watchScreenLock) screenLock_ = std::make_unique<CScreenLockWatcher>([this] { Stop(); });
}

CMacroRecorder::~CMacroRecorder() {
  // The keyboard is let go whatever happens to the window.
  hook_->StopHooks();
}

CMacroControlUI* CMacroRecorder::RecordingPanel() const {
  // Input for a page that is not shown (the tab changed meanwhile), or while the system sleeps, is no one's.
  if (!page_ || (window_.awake && !window_.awake())) return nullptr;
  if (!window_.currentPage || window_.currentPage() != page_.data()) return nullptr;
  return CMacroEditor::PanelOf(*page_);
}

void CMacroRecorder::OnRoute(const editors::RoutedNotify& notify) {
  switch (notify.action) {
    case RouteAction::kRecordStart: {
      if (!notify.page) return;
      // Not inside the button's signal: a capture that cannot start shows a message, which runs its own loop.
      QPointer<controls::CDevicePageUI> page = notify.page;
      QTimer::singleShot(0, notify.page->GetWidget(), [this, page] {
        CMacroControlUI* panel = page ? CMacroEditor::PanelOf(*page) : nullptr;
        if (panel) Start(*page, ChosenDelay(*panel), macro::HookMode::kAppend);
      });
      return;
    }
    case RouteAction::kRecordStop:
      Stop();
      return;
    default:
      return;
  }
}

void CMacroRecorder::OnMenuItem(const ui::MenuCmd& command) {
  const std::string item = command.szName.toStdString();
  for (const MenuRecording& recording : kMenuRecordings) {
    if (recording.item != item) continue;
    controls::CDevicePageUI* page = window_.currentPage ? window_.currentPage() : nullptr;
    CMacroControlUI* panel = page ? CMacroEditor::PanelOf(*page) : nullptr;
    if (panel) Start(*page, recording.delay.value_or(ChosenDelay(*panel)), recording.mode);
    return;
  }
}

void CMacroRecorder::SetInputCapture(bool on) {
  if (!on) Stop();
}

void CMacroRecorder::Start(controls::CDevicePageUI& page, macro::DelayMode delay, macro::HookMode mode) {
  CMacroControlUI* panel = CMacroEditor::PanelOf(page);
  // A recording goes into the macro shown; without one there is nothing to record into.
  if (!panel || IsRecording() || panel->GetSelectedMacroIndex() < 0) return;
  if (!hook_->StartHooks(mode)) {
    Trace("recording: no capture could start: " + hook_->LastError());
    if (window_.prompts) window_.prompts().Tell(kStartFailed);
    return;
  }
  page_ = &page;
  panel->BeginRecording(delay, hook_->Now());
  if (window_.setRecordingUi) window_.setRecordingUi(true, false);
}

void CMacroRecorder::Stop() {
  if (!IsRecording() && !page_) return;
  CMacroControlUI* panel = page_ ? CMacroEditor::PanelOf(*page_) : nullptr;
  if (panel) panel->EndRecording();
  hook_->StopHooks();
  page_ = nullptr;
  if (window_.setRecordingUi) window_.setRecordingUi(true, true);
  if (panel && !panel->SaveMacro()) Trace("recording: the recorded macro was not saved");
  if (window_.setRecordingUi) window_.setRecordingUi(false, false);
}

void CMacroRecorder::OnLost() {
  Stop();
  if (window_.prompts) window_.prompts().Tell(kCaptureLost);
}

CScreenLockWatcher::CScreenLockWatcher(std::function<void()> locked) : locked_(std::move(locked)) {
  QDBusConnection session = QDBusConnection::sessionBus();
  if (session.isConnected()) {
    // Desktops announce their screen saver (and lock) under one of these names.
    for (const QString& name : {QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("org.gnome.ScreenSaver"),
                                QStringLiteral("org.mate.ScreenSaver"), QStringLiteral("org.cinnamon.ScreenSaver")}) {
      session.connect(QString(), QString(), name, QStringLiteral("ActiveChanged"), this, SLOT(OnActiveChanged(bool)));
    }
  }
  QDBusConnection system = QDBusConnection::systemBus();
  if (system.isConnected()) {
    system.connect(QStringLiteral("org.freedesktop.login1"), QString(), QStringLiteral("org.freedesktop.login1.Session"),
                   QStringLiteral("Lock"), this, SLOT(OnLock()));
  }
}

void CScreenLockWatcher::OnActiveChanged(bool active) {
  if (active && locked_) locked_();
}

void CScreenLockWatcher::OnLock() {
  if (locked_) locked_();
}

}  // namespace norvane::app
