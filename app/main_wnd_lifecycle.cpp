// The main window's start-up sequence (on the skin's first layout), its language, and its end.
#include <QTimer>
#include <QWidget>

#include "app/about_wnd.h"
#include "app/music_wnd.h"
#include "app/audio_companion.h"
#include "app/audio_style.h"
#include "app/game_light.h"
#include "app/language_config.h"
#include "app/language_fonts.h"
#include "app/light_sync.h"
#include "app/main_messages.h"
#include "app/main_wnd.h"
#include "controls/pages/device_page.h"
#include "app/profile_rules_editor.h"
#include "app/screen_watcher.h"
#include "app/sleep_monitor.h"
#include "platform/trace.h"

namespace norvane::app {

void CMainWnd::OnWindowInit() {
  if (startedUp_) return;
  startedUp_ = true;

  // Other programs reach the window only through the bus receiver, which admits by message name; there
  // is no per-window filter to open here.

  // This program now drives the device lighting.
  Broadcast(RegisteredMessage::kLightControlStateMessage, 1, 1);
  ShowLightControlState();

  SwitchLanguage(SavedLanguageIndex(RegistrySettings(options_.settingsFile), ReadLanguageConfig()));

  if (options_.deviceServiceFactory) {
    DeviceHostHooks deviceHooks;
    deviceHooks.showAndRaise = [this] {
      PostMessage(RegisteredMessageId(RegisteredMessage::kInstanceMessage));
    };
    deviceHooks.beforeLosingSelection = [this] {
      CloseChildWindows();
      SetInputCapture(false);
    };
    deviceHooks.showMessage = [this](const ui::CDuiString& textId, std::optional<int> value) {
      // Not inside the device code that reported it: the message runs its own loop.
      QTimer::singleShot(0, GetWidget(), [this, textId, value] { ShowDeviceMessage(textId, value); });
    };
    deviceHooks.closeSettingsWindow = [this] {
      if (settingsWnd_) settingsWnd_.PostMessage(ui::WM_CLOSE);
    };
    deviceHooks.pageCreated = [this](controls::CDevicePageUI& page) {
      OnPageCreatedForLighting(page);
      if (page.Device()) page.Device()->SetScreenSize(screenSize_.width, screenSize_.height);
      // The page's device refreshed its state: every editor shows what it shows of that page again.
      page.SetRefreshListener([this, pagePtr = &page] {
        for (editors::IEditor* editor : router_.Editors()) editor->OnPageRefreshed(*pagePtr);
      });
      page.SetTabsListener([this, pagePtr = &page](bool more) {
        for (editors::IEditor* editor : router_.Editors()) editor->OnDeviceTabsChanged(*pagePtr, more);
      });
    };
    devices_ = options_.deviceServiceFactory(m_pm, std::move(deviceHooks));
  }
  if (devices_) devices_->CreateStartupPages();

  if (options_.profileRules) {
    CProfileSwitcher::Options rules = *options_.profileRules;
    rules.pages = [this] { return devices_ ? devices_->Pages() : std::vector<controls::CDevicePageUI*>{}; };
    rules.busy = [this] { return IsUserBusy(); };
    rules.apply = [this](controls::CDevicePageUI& page) {
      const ProfileSwitch outcome = SwitchToChosenProfile(page, screenSize_);
      // Said in the trace only: a message would pop up over the program the rule is for.
      if (outcome == ProfileSwitch::kWriteFailed) Trace("profile rules: the device did not take the profile");
      return outcome != ProfileSwitch::kNone;
    };
    switcher_ = std::make_unique<CProfileSwitcher>(std::move(rules));
    switcher_->SetFocusModeListener([this](CProfileSwitcher::FocusMode) {
      if (auto* editor =
              dynamic_cast<CProfileRulesEditor*>(router_.EditorOf(editors::EditorSlot::kProfileRules))) {
        editor->RefreshOpenPanels();
      }
    });
  }

  RefreshScreenSize();

  if (options_.watchSleep) sleepMonitor_ = std::make_unique<CSleepMonitor>(GetHWND());
  screenWatcher_ = std::make_unique<CScreenWatcher>(GetHWND(), GetWidget());

  // Hidden until the first device scan pass is done.
  ShowWindow(false);

  if (devices_) {
    devices_->StartScan();
    workers_.Put(kScanSlot, MakeOwnedElsewhereWorker([this] { devices_->StopScan(); }));
  } else {
    // Nothing to scan: the first pass is over at once.
    PostMessage(RegisteredMessageId(RegisteredMessage::kInstanceMessage), 0, 0);
  }
  workers_.Put(kLightSyncSlot, StartLightSyncThread(lightSync_));

  StartTimer(kTimerApplyScale, 100);

  // Music lighting: the audio style, its colour to the companion, and the companion while a keyboard shows
  // a music effect.
  audioStyle_->Load();
  SendStyleColour(audioStyle_->Style());
  ShowAudioStyle();
  musicWatch_ = std::make_unique<QTimer>();
  QObject::connect(musicWatch_.get(), &QTimer::timeout, [this] { WatchMusicEffects(); });
  musicWatch_->start(1000);
}

void CMainWnd::SwitchLanguage(int index) {
  if (index == languageIndex_) return;
  const std::vector<LanguageEntry> entries = ReadLanguageConfig();
  if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) {
    // No such language (the list is missing, unreadable or shorter): the texts shown stay, the user's
    // saved choice too.
    Trace("language: no entry " + std::to_string(index) + " in " + LanguageConfigFile().string());
    return;
  }
  const LanguageEntry& entry = entries[static_cast<std::size_t>(index)];
  ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
  // A language whose texts cannot be read is not switched to (the loader said why).
  if (!resources.LoadLanguage(QString::fromStdString(entry.file))) return;
  const std::string_view face = FaceForLanguage(entry.id);
  if (NeedsFontRebuild(index, languageIndex_) || CurrentFontFace() != face) RebuildFontTable(face);
  languageIndex_ = index;
  resources.SetLanguage(QString::fromStdString(entry.name));
  resources.ReloadText();
  // Saved only where the key exists; the program never creates it.
  (void)SaveLanguageId(RegistrySettings(options_.settingsFile), entry.id);
  if (QWidget* host = GetWidget()) host->update();
  if (settingsWnd_) settingsWnd_.SendMessage(kLanguageChangedMessage, 0, 0);
  if (const ui::WindowHandle about = CAboutWnd::Current()) about.SendMessage(kLanguageChangedMessage, 0, 0);
  if (const ui::WindowHandle style = CMusicWnd::Current()) style.SendMessage(kLanguageChangedMessage, 0, 0);
}

WorkerSlots::StopReport CMainWnd::StopWorkers() {
  // The window goes at once; the workers get their bounded time after.
  ShowWindow(false);
  const WorkerSlots::StopReport report = workers_.StopAll(kWorkerStopBound);
  leftRunningWorkers_ += report.overran;
  return report;
}

void CMainWnd::OnDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  // The user's lighting comes back before the pages' last saves and the workers' end.
  gameLight_->RestoreAll();
  tray_.DeleteTrayIcon();
  ui::PostQuitMessage(0);
  switcher_.reset();
  StopWorkers();
  if (musicWatch_) musicWatch_->stop();
  // A style change still waiting to be written is written now.
  if (styleSave_ && styleSave_->isActive()) (void)SaveAudioStyleFile();
  CloseAudioCapture();
  sleepMonitor_.reset();
  screenWatcher_.reset();
}

}  // namespace norvane::app
