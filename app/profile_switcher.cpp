#include "app/profile_switcher.h"

#include <QFileSystemWatcher>
#include <QSocketNotifier>
#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "controls/device_profile.h"
#include "controls/pages/device_page.h"
#include "platform/trace.h"
#include "platform/x11_focus.h"
#include "uilib/combo.h"

namespace norvane::app {
namespace {

std::optional<std::filesystem::file_time_type> ModifiedAt(const std::filesystem::path& file) {
  std::error_code error;
  const auto time = std::filesystem::last_write_time(file, error);
  if (error) return std::nullopt;
  return time;
}

bool WaylandSession() {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* type = std::getenv("XDG_SESSION_TYPE");
  return (wayland && *wayland) || (type && std::string_view(type) == "wayland");
}

std::string ProfileIdAt(controls::CDeviceProfileUI& bar, int index) {
  return std::filesystem::path(bar.GetProfilePath(index).toStdString()).stem().string();
}

// The name the profile bar shows for a profile; the identifier when the bar does not have it.
std::string ProfileNameOf(controls::CDeviceProfileUI& bar, const std::string& id) {
  const std::vector<std::string> names = bar.List().Names();
  for (int i = 0; i < bar.GetProfileCount() && i < static_cast<int>(names.size()); ++i) {
    if (ProfileIdAt(bar, i) == id) return names[static_cast<std::size_t>(i)];
  }
  return id;
}

}  // namespace

CProfileSwitcher::CProfileSwitcher(Options options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {
  settleTimer_.setSingleShot(true);
  retryTimer_.setSingleShot(true);
  connect(&settleTimer_, &QTimer::timeout, this, [this] {
    firstChange_.reset();
    DecideNow();
  });
  connect(&retryTimer_, &QTimer::timeout, this, [this] { DecideNow(); });
  folders_ = std::make_unique<QFileSystemWatcher>();
  // A rule written by norvanectl, or a profile renamed or deleted, shows in the device folder.
  connect(folders_.get(), &QFileSystemWatcher::directoryChanged, this, [this] { Schedule(); });
  const bool wayland = options_.wayland.value_or(WaylandSession());
  if (wayland) SetFocus(FocusMode::kWayland, std::nullopt);
  if (!options_.watch) return;

  watcher_ =
      std::make_unique<ProcessWatcher>(options_.watcher, [this](const std::vector<ProcessInfo>& running) {
        // From the watcher's thread to this one; dropped if the switcher is gone by then.
        QMetaObject::invokeMethod(
            this, [this, running] { SetRunning(running); }, Qt::QueuedConnection);
      });
  if (!watcher_->Start()) Trace("profile rules: the process watcher could not start");
  // On Wayland no client may know the focused window: nothing to follow.
  if (!wayland) StartFocusFollower();
}

CProfileSwitcher::~CProfileSwitcher() {
  // The watcher's thread posts to this object: it ends first.
  watcher_.reset();
  focusNotifier_.reset();
  focus_.reset();
}

void CProfileSwitcher::StartFocusFollower() {
  focus_ = std::make_unique<X11FocusFollower>(options_.display);
  focus_->SetListener([this](X11FocusFollower::State state, std::optional<int> pid) {
    OnFocusReport(static_cast<int>(state), pid);
  });
  OnFocusReport(static_cast<int>(focus_->GetState()), focus_->FocusedPid());
  if (focus_->Fd() < 0) return;
  focusNotifier_ = std::make_unique<QSocketNotifier>(focus_->Fd(), QSocketNotifier::Read);
  connect(focusNotifier_.get(), &QSocketNotifier::activated, this, [this] { focus_->Dispatch(); });
}

void CProfileSwitcher::OnFocusReport(int state, std::optional<int> pid) {
  const auto followerState = static_cast<X11FocusFollower::State>(state);
  // A lost display keeps its descriptor readable for good: listening on would spin.
  if (followerState == X11FocusFollower::State::kNoDisplay && focusNotifier_) {
    focusNotifier_->setEnabled(false);
  }
  FocusMode mode = FocusMode::kNoWindowManager;
  if (followerState == X11FocusFollower::State::kFollowing) mode = FocusMode::kFollowing;
  std::optional<ProcessInfo> focused;
  if (pid) focused = ReadProcessInfo(options_.watcher.procRoot, *pid);
  SetFocus(mode, std::move(focused));
}

void CProfileSwitcher::SetRunning(std::vector<ProcessInfo> running) {
  situation_.running = std::move(running);
  Schedule();
}

void CProfileSwitcher::SetFocus(FocusMode mode, std::optional<ProcessInfo> focused) {
  const bool modeChanged = mode != focusMode_;
  focusMode_ = mode;
  situation_.focusKnown = mode == FocusMode::kFollowing;
  situation_.focused = std::move(focused);
  if (modeChanged && focusModeListener_) focusModeListener_(mode);
  Schedule();
}

void CProfileSwitcher::RulesChanged() {
  Schedule();
}

void CProfileSwitcher::PageRefreshed(controls::CDevicePageUI&) {
  Schedule();
}

void CProfileSwitcher::Schedule() {
  const auto now = std::chrono::steady_clock::now();
  if (!firstChange_) firstChange_ = now;
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - *firstChange_);
  const auto left = std::max(std::chrono::milliseconds(0), options_.maxWait - waited);
  settleTimer_.start(std::min(options_.settle, left));
}

void CProfileSwitcher::DecideNow() {
  settleTimer_.stop();
  firstChange_.reset();
  bool waiting = false;
  if (options_.pages) {
    for (controls::CDevicePageUI* page : options_.pages()) {
      if (page) Decide(*page, waiting);
    }
  }
  UpdateWatchedPrograms();
  if (waiting) retryTimer_.start(options_.busyRetry);
}

const ProfileRuleSet& CProfileSwitcher::RulesOf(const std::filesystem::path& folder, PageState& state) {
  const auto rulesTime = ModifiedAt(folder / ProfileRuleFile::kFileName);
  const auto listTime = ModifiedAt(folder / "ProfileList.ini");
  if (!state.read || rulesTime != state.rulesTime || listTime != state.listTime) {
    state.set = ProfileRuleFile(folder).Read();
    state.rulesTime = rulesTime;
    state.listTime = listTime;
    state.read = true;
  }
  return state.set;
}

void CProfileSwitcher::Decide(controls::CDevicePageUI& page, bool& waiting) {
  devices::CNorvaneUSBDevice* device = page.Device();
  controls::CDeviceProfileUI* bar = page.ProfileBar();
  if (!device || !bar || !page.IsChannelOpen()) return;
  const std::filesystem::path folder = device->UserProfileFolder();
  if (folder.empty()) return;
  const QString watched = QString::fromStdString(folder.string());
  if (!folders_->directories().contains(watched)) folders_->addPath(watched);

  PageState& state = states_[folder];
  const ProfileRuleSet& set = RulesOf(folder, state);
  const RuleDecision decision = DecideProfile(set, situation_);
  const std::string decided =
      (decision.rule >= 0 ? "rule " + std::to_string(decision.rule) : std::string("default")) + " " +
      decision.profileId;
  if (decided == state.decided) return;
  if (state.decided.empty() && decision.rule < 0 && decision.profileId.empty()) {
    // Nothing asked for yet, nothing asked for now.
    state.decided = decided;
    return;
  }

  const std::string current = bar->GetCurrentProfileId().toStdString();
  std::string target = decision.profileId;
  if (decision.rule < 0 && target.empty()) target = state.returnTo;
  if (!target.empty() && target != current && options_.busy && options_.busy()) {
    waiting = true;
    return;
  }
  if (decision.rule >= 0 && !state.ruleApplied) state.returnTo = current;
  state.decided = decided;
  state.ruleApplied = decision.rule >= 0;

  const std::string device_name = folder.parent_path().filename().string();
  if (decision.rule >= 0) {
    const ProfileRule& rule = set.rules[static_cast<std::size_t>(decision.rule)];
    Trace("profile rules: " + device_name + ": rule " + std::to_string(decision.rule + 1) + " (\"" +
          rule.program + "\" " + (rule.when == RuleCondition::kFocused ? "has the focus" : "runs") +
          ") asks for \"" + ProfileNameOf(*bar, target) + "\"");
  } else {
    Trace("profile rules: " + device_name + ": no rule applies; " +
          (target.empty() ? std::string("the profile stays")
                          : "back to \"" + ProfileNameOf(*bar, target) + "\""));
  }
  if (target.empty() || target == current) return;
  Switch(page, target);
}

bool CProfileSwitcher::Switch(controls::CDevicePageUI& page, const std::string& profileId) {
  controls::CDeviceProfileUI* bar = page.ProfileBar();
  auto* combo = bar ? dynamic_cast<ui::CComboUI*>(bar->FindSubControl("device_profile_combo")) : nullptr;
  int index = -1;
  for (int i = 0; bar && i < bar->GetProfileCount(); ++i) {
    if (ProfileIdAt(*bar, i) == profileId) index = i;
  }
  if (!combo || index < 0 || !combo->SelectItem(index, false, false)) {
    Trace("profile rules: the profile " + profileId + " is not in the profile bar");
    return false;
  }
  // From here as if the user had chosen it in the bar.
  const bool switched = options_.apply ? options_.apply(page) : page.SwitchToChosenProfile();
  if (!switched) return false;
  ++switches_;
  return true;
}

void CProfileSwitcher::UpdateWatchedPrograms() {
  std::vector<std::string> programs;
  for (const auto& [folder, state] : states_) {
    for (std::string& program : RulePrograms(state.set)) {
      if (std::find(programs.begin(), programs.end(), program) == programs.end())
        programs.push_back(std::move(program));
    }
  }
  std::sort(programs.begin(), programs.end());
  if (programs == watchedPrograms_) return;
  watchedPrograms_ = programs;
  if (watcher_) watcher_->SetPrograms(std::move(programs));
}

}  // namespace norvane::app
