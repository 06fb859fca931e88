#pragma once
// The recording of macros: what the router hands the recording slot (the record and stop buttons, the step
// menu's recording items) and the capture (CDeviceHook) that feeds the macro panel of the page being
// recorded on. Input is handed to that panel only while its page is the one shown and while the system is
// awake.
//
// A recording ends with the stop button, when its device tab goes (the window turns the capture off), when
// the system sleeps or the screen locks, and when the capture stops by itself (its display went away); each
// way ends it as the stop button does, saving what was recorded. A capture that cannot start says so and
// leaves the page as it was.

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "app/device_hook.h"
#include "app/user_prompts.h"
#include "editors/editor.h"
#include "macro/recording.h"

namespace norvane::editors {
class CMacroControlUI;
}

namespace norvane::app {

class CScreenLockWatcher;

class CMacroRecorder final : public editors::IEditor {
 public:
  static constexpr const char* kStartFailed = "macro_record_failed_text";
  static constexpr const char* kCaptureLost = "macro_record_lost_text";

  // What the recording needs of the window.
  struct Window {
    std::function<controls::CDevicePageUI*()> currentPage;
    std::function<void(bool all, bool enabled)> setRecordingUi;
    std::function<UserPrompts&()> prompts;
    std::function<bool()> awake;
  };

  explicit CMacroRecorder(Window window, CDeviceHook::BackendList backends = CDeviceHook::DefaultBackends(),
                          CDeviceHook::GrabFactory grab = CDeviceHook::DefaultGrab(), bool watchScreenLock = true);
  ~CMacroRecorder() override;

  void OnRoute(const editors::RoutedNotify& notify) override;
  void OnMenuItem(const ui::MenuCmd& command) override;
  // The window turns the capture off (a device tab goes, the system sleeps): a recording ends.
  void SetInputCapture(bool on) override;

  bool IsRecording() const { return hook_->IsRunning(); }
  // Ends the recording as the stop button does: the capture stops, the panel is usable again and the macro
  // is saved.
  void Stop();
  CDeviceHook& Hook() { return *hook_; }

 private:
  void Start(controls::CDevicePageUI& page, macro::DelayMode delay, macro::HookMode mode);
  editors::CMacroControlUI* RecordingPanel() const;
  void OnLost();

  Window window_;
  std::unique_ptr<CDeviceHook> hook_;
  std::unique_ptr<CScreenLockWatcher> screenLock_;
  QPointer<controls::CDevicePageUI> page_;  // the page recorded on
};

// Tells when the screen locks: the desktop's screen saver on the session bus, logind's session lock on the
// system bus.
class CScreenLockWatcher : public QObject {
  Q_OBJECT

 public:
  explicit CScreenLockWatcher(std::function<void()> locked);

 public slots:
  void OnActiveChanged(bool active);
  void OnLock();

 private:
  std::function<void()> locked_;
};

}  // namespace norvane::app
