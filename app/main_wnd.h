#pragma once
// CMainWnd: the program's only top-level window and its hub. It owns the device side (pages, tab strip and
// scan thread, through IDeviceService), the worker slots, the tray icon and its menu, and it is the window
// that other programs (over the bus) and the program's own threads talk to with messages.
//
// The window is created hidden; its start-up sequence runs on the skin's first layout ("windowinit") and it
// is shown once the first device scan pass is done. The title-bar close hides it to the tray; the program
// ends through the tray menu's "exit".

#include <QByteArray>
#include <QRect>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "app/bus_message.h"
#include "app/device_hook.h"
#include "app/device_service.h"
#include "app/main_wnd_hooks.h"
#include "app/notify_router.h"
#include "app/pending_profile_gate.h"
#include "app/profile_actions.h"
#include "app/profile_switcher.h"
#include "app/user_prompts.h"
#include "app/registered_messages.h"
#include "app/screen_size.h"
#include "app/skin_changed.h"
#include "app/worker_slots.h"
#include "platform/atomic_file.h"
#include "platform/registry_settings.h"
#include "tools/norvanectl/device_session.h"
#include "uilib/menu.h"
#include "uilib/resource_manager.h"
#include "uilib/tray_icon.h"
#include "uilib/window_impl_base.h"

namespace norvane::editors {
class CLightingEditor;
}

namespace norvane::app {

class CInstanceBus;
class AudioLevelProcessor;
class CSleepMonitor;
class CScreenWatcher;
class CGameLight;
class CResumeRelight;
class CAudioCompanion;
class AudioStyleStore;
struct AudioStyle;
struct LightSyncShared;

struct MainWndOptions {
  // Builds the device side once the skin exists; empty: the window runs without devices (tests).
  DeviceServiceFactory deviceServiceFactory;
  // Where broadcasts go; may be null (no bus).
  CInstanceBus* bus = nullptr;
  // The settings key (the "LANGUAGE" value).
  std::filesystem::path settingsFile = DefaultRegistrySettingsFile();
  // Listen for the system's sleep and wake on the system bus.
  bool watchSleep = true;
  // Answers the window's questions to the user; null: the message window and the file dialogs.
  UserPrompts* prompts = nullptr;
  // The program's own editors registered with the router; tests may register stand-ins instead.
  bool ownEditors = true;
  // Where the screen size comes from; empty: the primary screen.
  ScreenSizeSource screenSize;
  // The audio capture companion the window runs for the music effects; nullopt: norvane-audio next to the
  // program, an empty text: none.
  std::optional<QString> audioCompanion;
  QStringList audioCompanionArguments;
  // Started with the session (--minimized): after the first device scan the window goes to the tray, or is
  // minimised where there is none, instead of coming to the front. A later start still raises it.
  bool startMinimized = false;
  // Whether the desktop offers a tray; empty: ask the desktop.
  std::function<bool()> trayAvailable;
  // Switch the devices' profiles by their rules, with these settings (the window supplies the pages and
  // when the user is busy); empty: no switching (tests).
  std::optional<CProfileSwitcher::Options> profileRules;
  // Asks for a colour (ARGB) from `initial`; empty: the colour palette dialog over the window.
  std::function<std::optional<std::uint32_t>(std::uint32_t initial)> chooseColour;
  // The capture backends a macro recording tries in order; none given: those of the session.
  std::optional<CDeviceHook::BackendList> recordingBackends;
};

class CMainWnd : public ui::WindowImplBase, public ui::IQueryControlText, public SkinChangedReceiver {
 public:
  static constexpr int kSoundLevelCount = 500;
  static constexpr int kAudioBandCount = 6;

  explicit CMainWnd(MainWndOptions options = {}, MainWndHooks hooks = {});
  ~CMainWnd() override;

  // Skin hooks.
  ui::CDuiString GetWindowClassName() const override { return "MainWnd"; }
  ui::CDuiString GetSkinFile() const override { return "XML_MAIN"; }
  void InitWindow() override;
  void Notify(ui::TNotifyUI& msg) override;
  ui::CControlUI* CreateControl(const ui::CDuiString& className) override;
  ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam, bool& handled) override;
  // The skin's texts come from the language files: the window answers none itself.
  std::optional<ui::CDuiString> QueryControlText(const ui::CDuiString&) override { return std::nullopt; }
  int Receive(SkinChangedParam param) override;

  // A message from another program over the bus (UI thread): registered messages become queued window
  // messages, data records are taken at once.
  void OnBusMessage(const BusMessage& message);
  // A setting command norvanectl handed over the bus ("dpi", "set", "1", "800"), run on the pages'
  // devices; the page shows the change at once.
  cli::CommandOutput RunBusCommand(const std::vector<std::string>& words);
  // A data record: kind 1 sound levels, kind 2 audio bands; anything else, or an empty one, is ignored.
  // Longer data are cut to the receiving buffer.
  void OnCopyData(std::int64_t kind, const QByteArray& data);

  // Music lighting: the audio style (kept in "AudioFile.json") and the audio capture companion.
  const AudioStyle& GetAudioStyle() const;
  // The style in memory (SaveAudioStyleFile writes it), shown on every page's music panel.
  void SetAudioStyle(const AudioStyle& style);
  [[nodiscard]] FileResult SaveAudioStyleFile();
  // Back to the default style (a profile reset), shown and sent to the companion.
  void LoadAudioStyleFile();
  void SendStyleColour(const AudioStyle& style);
  // The audio capture message with wParam (6, 7, 8 for the red, green and blue sliders) to the companion.
  void SendAudioCaptureCommand(int wParam, int value);
  // A slider of the style's current colour (wParam 6 red, 7 green, 8 blue) set to a level 0 to 9: the
  // companion is told, the style takes it and is saved a moment later (a run of changes once).
  void OnStyleSlider(int wParam, int level);
  // The audio style window, modal, one at a time; with its OK the style is kept, saved and sent.
  void OpenAudioStyleWindow();
  // Starts or ends the companion as the keyboards' effects need it.
  void WatchMusicEffects();
  CAudioCompanion& AudioCompanion() { return *audioCompanion_; }

  // Operations for the rest of the program.
  void ShowAndRaise();
  // Scales the layout for the monitor the window is on: 144 DPI on monitors above 1500 x 960, else 96.
  void ApplyWindowScale();
  void ApplyWindowScale(const QRect& monitor);
  WorkerSlots::StopReport StopWorkers();
  void CloseChildWindows();
  void OpenSettingsWindow(bool centred);
  void OpenAboutWindow();
  void SetRecordingUi(bool all, bool enabled);
  // The user records a macro, or is in the middle of something a profile switch would replace: a dialog or
  // a menu is open, a control is dragged, a text is typed, a profile chosen in the bar is about to load.
  bool IsUserBusy() const;
  // The profile rules' switcher; null without one.
  CProfileSwitcher* ProfileSwitcher() const { return switcher_.get(); }
  void SwitchLanguage(int index);
  // The tray icon's click handling (lParam of the tray message: WM_LBUTTONUP, WM_RBUTTONUP).
  void OnTrayNotify(ui::LPARAM mouseMessage);
  void OnTrayLeftClick();
  void ShowTrayMenu();
  // Runs a menu item's command now. Items chosen in a menu (WM_MENUCLICK) get here through a queued call,
  // after the menu's own signal has returned.
  void OnMenuCommand(const ui::MenuCmd& command);
  // What the user should know about a device: a language text id, with a number for texts that are formats.
  // Shown over the window once the current work is done; one at a time, and only while the window shows.
  void ShowDeviceMessage(const ui::CDuiString& textId, std::optional<int> value);
  // Starts one of the window's timers; each fires once.
  void StartTimer(int timerId, int elapseMs);
  bool IsTimerRunning(int timerId) const { return timerIntervals_.count(timerId) != 0; }
  // The settings window tells the main window while it runs, so that relayed messages and "close all" reach
  // it.
  void SetSettingsWindow(ui::WindowHandle window) { settingsWnd_ = std::move(window); }
  // The settings key that keeps the language.
  const std::filesystem::path& SettingsFile() const { return options_.settingsFile; }

  // State, for the rest of the program and for tests.
  int GetDPI() const { return dpi_; }
  int LanguageIndex() const { return languageIndex_; }
  bool IsAwake() const { return awake_; }
  bool LightControl() const { return lightControl_; }
  // The lighting synchronisation's pages and shared effect.
  const LightSyncShared& LightSync() const { return *lightSync_; }
  CGameLight& GameLight() { return *gameLight_; }
  // The primary screen in device pixels, as taken at start-up and after each screen change (the default
  // button's settings reset and the mouse's settings are written with it).
  ScreenPixelSize ScreenSize() const { return screenSize_; }
  bool IsWindowActive() const { return active_; }
  // The window is active, or the pointer is over it while it is inactive.
  bool IsHovered() const { return hover_; }
  bool IsShowing() const;
  WorkerSlots& Workers() { return workers_; }
  ui::CTrayIcon& Tray() { return tray_; }
  ui::CMenuWnd* TrayMenu() const { return trayMenu_.get(); }
  IDeviceService* Devices() const { return devices_.get(); }
  const std::array<std::int32_t, kSoundLevelCount>& SoundLevels() const { return soundLevels_; }
  const std::array<std::int32_t, kAudioBandCount>& AudioBands() const { return audioBands_; }
  int LeftRunningWorkers() const { return leftRunningWorkers_; }
  // Where the window's notifications go; editors register here.
  NotifyRouter& Router() { return router_; }
  // The tab the user selected last: index, icon kind and variant (-1, 0, 0 before any).
  int SelectedTabIndex() const { return selectedTab_; }

 protected:
  void OnFinalMessage() override;

 private:
  void OnWindowInit();
  void OnTimer(int timerId);
  void OnDestroy();
  void OnPowerBroadcast(ui::WPARAM event);
  bool OnRegisteredMessage(RegisteredMessage id, ui::WPARAM wParam, ui::LPARAM lParam);
  void OnMenuClickMessage(ui::WPARAM wParam);
  void UpdateNoDeviceNotice();
  void RefreshScreenSize();
  void RaiseToFront();
  void HideToTray();
  // The first showing of a window started minimised: into the tray, or minimised without one.
  void StartMinimized();
  void Broadcast(RegisteredMessage id, std::int64_t wParam, std::int64_t lParam);
  void SetLightControlAll(bool on);
  void SetWindowActiveAll(bool active);
  // The light-control flag as another program or the user set it: the flag, the label, the pages.
  void SetLightControlFlag(bool on);
  void ShowLightControlState();
  void SendDeviceList();
  void OnGameMessage(ui::WPARAM wParam, ui::LPARAM lParam);
  // A page's lighting was chosen by the user: a game effect or a wake-up does not replace it.
  void OnUserLightEdit(controls::CDevicePageUI& page);
  // A new page joins the synchronisation and takes the light-control state of the moment.
  void OnPageCreatedForLighting(controls::CDevicePageUI& page);
  // The router's targets in the window itself.
  void OnWindowRoute(const editors::RoutedNotify& notify);
  void OnPageAction(const editors::RoutedNotify& notify);
  void OnDeviceTabSelected();
  void ToggleLightControl(ui::CControlUI* sender);
  // A control of the same page as `control` (of the window, for a control outside every page).
  ui::CControlUI* FindBeside(ui::CControlUI* control, const ui::CDuiString& name) const;
  void OnTestSliderMoved(const editors::RoutedNotify& notify);
  void OnTestEditDone(const editors::RoutedNotify& notify);
  void OnMouseLightSelection(const editors::RoutedNotify& notify);
  void SetUpRouter();
  void SetInputCapture(bool on);
  void OnKeyClicked(const editors::RoutedNotify& notify);
  static constexpr int kLightingTab = 1;
  void OpenDesktopSettings(int n);
  UserPrompts& Prompts();

  MainWndOptions options_;
  MainWndHooks hooks_;
  NotifyRouter router_;
  std::unique_ptr<UserPrompts> ownPrompts_;
  // The effect every synchronised device shows (the lighting editor writes it) and the pages the
  // synchronisation thread serves.
  std::shared_ptr<LightSyncShared> lightSync_;
  std::unique_ptr<CGameLight> gameLight_;
  std::unique_ptr<CResumeRelight> relight_;
  // Music lighting.
  void ProcessAudioLevels();
  void CloseAudioCapture();
  std::unique_ptr<AudioLevelProcessor> audioLevels_;
  std::unique_ptr<AudioStyleStore> audioStyle_;
  std::unique_ptr<CAudioCompanion> audioCompanion_;
  std::unique_ptr<QTimer> musicWatch_;
  std::unique_ptr<QTimer> styleSave_;
  void ShowAudioStyle();
  void SaveAudioStyleNow();
  bool audioStyleOpen_ = false;
  std::chrono::steady_clock::time_point levelWindowStart_{};
  int levelsInWindow_ = 0;
  std::vector<std::unique_ptr<editors::IEditor>> ownEditors_;
  editors::CLightingEditor* lightingEditor_ = nullptr;  // one of ownEditors_, when the window owns them
  // Whether a widget is on a page whose chosen profile waits to be loaded, and is not the choice itself.
  bool IsOnPageAwaitingProfile(QWidget* widget) const;
  // Ends the pause of a chosen profile: the pages it was chosen on load it now.
  void LoadChosenProfilesNow();
  std::unique_ptr<CPendingProfileGate> profileGate_;
  // The pages whose profile combo chose a profile since the switch timer started (identities only: checked
  // against the live pages before use).
  std::vector<controls::CDevicePageUI*> profileChosenOn_;
  int selectedTab_ = -1;
  int selectedKind_ = 0;
  int selectedVariant_ = 0;

  // Title-bar controls, found in InitWindow.
  ui::CControlUI* closeBtn_ = nullptr;
  ui::CControlUI* maxBtn_ = nullptr;
  ui::CControlUI* restoreBtn_ = nullptr;
  ui::CControlUI* minBtn_ = nullptr;
  ui::CControlUI* skinBtn_ = nullptr;
  ui::CControlUI* gameModeBtn_ = nullptr;
  ui::CControlUI* cloudBtn_ = nullptr;
  ui::CControlUI* smartEyesBtn_ = nullptr;
  ui::CControlUI* setBtn_ = nullptr;

  int languageIndex_ = -1;
  WorkerSlots workers_;
  int leftRunningWorkers_ = 0;
  bool lightControl_ = true;
  std::unique_ptr<ui::CMenuWnd> trayMenu_;
  ui::CTrayIcon tray_;
  std::unique_ptr<IDeviceService> devices_;
  std::unique_ptr<CProfileSwitcher> switcher_;
  bool recording_ = false;
  std::unique_ptr<CSleepMonitor> sleepMonitor_;
  std::unique_ptr<CScreenWatcher> screenWatcher_;

  // Child windows, known while they run.
  ui::WindowHandle settingsWnd_;
  bool settingsOpening_ = false;
  bool deviceMessageOpen_ = false;

  int dpi_ = ui::kDefaultDpi;
  ScreenPixelSize screenSize_;
  bool displayChanged_ = false;
  bool active_ = false;
  bool hover_ = false;
  bool awake_ = true;
  bool startedUp_ = false;
  bool destroyed_ = false;
  bool firstShowingDone_ = false;

  std::array<std::int32_t, kSoundLevelCount> soundLevels_{};
  std::array<std::int32_t, kAudioBandCount> audioBands_{};

  // Interval of every timer started, so that one that fires while the system sleeps can be re-armed.
  std::map<int, int> timerIntervals_;
};

}  // namespace norvane::app
