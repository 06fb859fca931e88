#pragma once
// Switches each device to the profile its rules ask for (ProfileRules.json of the device folder) as chosen
// programs start, end and get the focus.
//
// The process watcher tells which processes of the rules' programs run; on X11 the focus follower tells
// whose window has the focus. On Wayland, or on an X server without a window manager that names the active
// window, the focus cannot be known and a focus rule applies while its program runs.
//
// Changes settle first: the decision is taken once nothing has changed for a short while (and at the
// latest after a longer one), so a program that starts and ends many times a second causes a few switches,
// not a storm of device writes. A device is switched only when what its rules ask for changed since the
// last decision, so a profile the user chooses by hand while a rule applies stays until the next change. A
// switch goes the way of a choice in the profile bar (the bar selects the profile, the page loads it and
// writes the device); while the user records a macro or edits, it waits.
//
// When no rule applies and the rules name no default profile, the device goes back to the profile it was on
// before the first rule took over.

#include <QObject>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/process_watcher.h"
#include "profiles/profile_rules.h"

class QFileSystemWatcher;
class QSocketNotifier;

namespace norvane {
class X11FocusFollower;
}

namespace norvane::controls {
class CDevicePageUI;
}

namespace norvane::app {

class CProfileSwitcher : public QObject {
 public:
  // How rules for the focus work in this session.
  enum class FocusMode {
    kFollowing,        // X11 with a window manager
    kWayland,          // the compositor does not tell: focus rules apply while the program runs
    kNoWindowManager,  // a bare X server: the same
    kUnknown,          // not watching (tests)
  };

  struct Options {
    // The device pages to switch.
    std::function<std::vector<controls::CDevicePageUI*>()> pages;
    // True while the user records a macro or edits something a switch would replace.
    std::function<bool()> busy;
    // Switches a page to the profile chosen in its bar's combo, as a choice there does; true when it did.
    // Empty: the page loads it (SwitchToChosenProfile of the page).
    std::function<bool(controls::CDevicePageUI&)> apply;
    ProcessWatcher::Options watcher;
    // Start the process watcher and the focus follower (tests feed the switcher themselves).
    bool watch = true;
    // The X display for the focus follower; empty: $DISPLAY.
    std::string display;
    // Whether the session is Wayland; empty: from WAYLAND_DISPLAY and XDG_SESSION_TYPE.
    std::optional<bool> wayland;
    std::chrono::milliseconds settle{300};
    std::chrono::milliseconds maxWait{2000};
    std::chrono::milliseconds busyRetry{500};
  };

  explicit CProfileSwitcher(Options options, QObject* parent = nullptr);
  ~CProfileSwitcher() override;

  FocusMode GetFocusMode() const { return focusMode_; }
  // Told when the focus mode changes (a window manager started or went).
  void SetFocusModeListener(std::function<void(FocusMode)> listener) { focusModeListener_ = std::move(listener); }

  // A page's rules or profiles changed, or its device was read: decide again (after the settling time).
  void RulesChanged();
  void PageRefreshed(controls::CDevicePageUI& page);

  // What the watchers report, also for tests: the running processes of the rules' programs; the focus.
  void SetRunning(std::vector<ProcessInfo> running);
  void SetFocus(FocusMode mode, std::optional<ProcessInfo> focused);

  // Decides for every page now, without the settling time.
  void DecideNow();
  // Device switches done, for tests and benchmarks.
  int SwitchCount() const { return switches_; }

 private:
  struct PageState {
    // What the rules asked for at the last decision that was carried out ("rule N id" or "default id").
    std::string decided;
    bool ruleApplied = false;
    // The profile in use before a rule took over.
    std::string returnTo;
    // The rule set as last read, and the files it was read from.
    ProfileRuleSet set;
    std::optional<std::filesystem::file_time_type> rulesTime;
    std::optional<std::filesystem::file_time_type> listTime;
    bool read = false;
  };

  void Schedule();
  void Decide(controls::CDevicePageUI& page, bool& waiting);
  const ProfileRuleSet& RulesOf(const std::filesystem::path& folder, PageState& state);
  bool Switch(controls::CDevicePageUI& page, const std::string& profileId);
  void UpdateWatchedPrograms();
  void StartFocusFollower();
  void OnFocusReport(int state, std::optional<int> pid);

  Options options_;
  std::map<std::filesystem::path, PageState> states_;
  RuleSituation situation_;
  FocusMode focusMode_ = FocusMode::kUnknown;
  std::function<void(FocusMode)> focusModeListener_;
  std::vector<std::string> watchedPrograms_;
  std::unique_ptr<ProcessWatcher> watcher_;
  std::unique_ptr<X11FocusFollower> focus_;
  std::unique_ptr<QSocketNotifier> focusNotifier_;
  std::unique_ptr<QFileSystemWatcher> folders_;
  QTimer settleTimer_;
  QTimer retryTimer_;
  std::optional<std::chrono::steady_clock::time_point> firstChange_;
  int switches_ = 0;
};

}  // namespace norvane::app
