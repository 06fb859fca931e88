#include "app/main_wnd.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "app/about_wnd.h"
#include "app/audio_companion.h"
#include "app/audio_levels.h"
#include "app/audio_style.h"
#include "app/game_light.h"
#include "app/instance_bus.h"
#include "app/light_sync.h"
#include "app/main_messages.h"
#include "app/notice_follower.h"
#include "app/registered_messages.h"
#include "app/resume_relight.h"
#include "app/screen_watcher.h"
#include "app/set_wnd_opener.h"
#include "app/sleep_monitor.h"
#include "controls/device_profile.h"
#include "controls/pages/device_page.h"
#include "platform/trace.h"
#include "platform/xdg_paths.h"
#include "uilib/button.h"
#include "uilib/container.h"
#include "uilib/control_factory.h"
#include "uilib/dialog_builder.h"

namespace norvane::app {
namespace {

// The window's icon in the skin folder (also the tray's).
constexpr const char* kAppIcon = "main/app_icon.svg";

QIcon AppIcon() {
  return QIcon(ui::CResourceManager::GetInstance().ResolveResource(kAppIcon));
}

// Skin class names the window builds itself: controls registered under "C" + name + "UI".
constexpr const char* kPrefixedClasses[] = {
    "CircleProgress", "SelectPanel",         "DeviceKeyButton",  "HandImgButton",
    "AudioRecord",    "HandImgSelectButton", "RedioMacroButton", "ComboEditContainerElement"};

// Skin class names of control classes registered under their own name.
constexpr const char* kDirectClasses[][2] = {
    {"NorvaneMousePadDevice", "CNorvaneMousePadDevice"},
    {"NorvaneHS6533Device", "CNorvaneHS6533Device"},
    {"NorvaneMouseDevice", "CNorvaneMouseDevice"},
    {"NorvaneKeyboardDevice", "CNorvaneKeyboardDevice"},
    {"DeviceProfile", "CDeviceProfileUI"},
    {"LightControl", "CLightControlUI"},
    {"MagicControl", "CMagicControlUI"},
    {"Voice6533Control", "CVoice6533ControlUI"},
    {"KeySetControl", "CKeySetControlUI"},
    {"ShootControl", "CShootControlUI"},
};

// Skin class names that stand for a sub-skin, built with this window as the builder's callback.
constexpr const char* kSubSkins[][2] = {
    {"DeviceProfileUI", "XML\\CustomControlXML\\DeviceProfile.xml"},
    {"LightSetControlUI", "XML\\CustomControlXML\\LightControl.xml"},
    {"Voice6533SetControlUI", "XML\\CustomControlXML\\Voice6533Control.xml"},
    {"MagicSetControlUI", "XML\\CustomControlXML\\MagicControl.xml"},
    {"KeySetControlUI", "XML\\CustomControlXML\\KeySetControl.xml"},
    {"MacroSetControlUI", "XML\\CustomControlXML\\MacroControl.xml"},
    {"ShootKeySetControlUI", "XML\\CustomControlXML\\ShootControl.xml"},
    {"VirtualSetControlUI", "XML\\CustomControlXML\\VirtualSet.xml"},
};

}  // namespace

CMainWnd::CMainWnd(MainWndOptions options, MainWndHooks hooks)
    : options_(std::move(options)), hooks_(std::move(hooks)) {
  if (!hooks_.openSettingsWindow) {
    hooks_.openSettingsWindow = [](CMainWnd& window, bool centred) { RunSettingsWindow(window, centred); };
  }
  lightSync_ = std::make_shared<LightSyncShared>();
  gameLight_ = std::make_unique<CGameLight>([this] { return devices_ ? devices_->CurrentPage() : nullptr; });
  profileGate_ = std::make_unique<CPendingProfileGate>(CPendingProfileGate::Hooks{
      .awaitsProfile = [this](QWidget* target) { return IsOnPageAwaitingProfile(target); },
      .switchNow = [this] { LoadChosenProfilesNow(); }});
  relight_ = std::make_unique<CResumeRelight>(
      [this] { return devices_ ? devices_->Pages() : std::vector<controls::CDevicePageUI*>{}; });
  audioLevels_ = std::make_unique<AudioLevelProcessor>();
  audioStyle_ = std::make_unique<AudioStyleStore>(UserDataFolder() / "AudioFile.json",
                                                  DefaultDataFolder() / "AudioFile.json");
  const QString companion = options_.audioCompanion.value_or(QCoreApplication::applicationDirPath() +
                                                             QStringLiteral("/norvane-audio"));
  audioCompanion_ = std::make_unique<CAudioCompanion>(companion, options_.audioCompanionArguments, [this] {
    return options_.bus && options_.bus->IsOnBus(kAudioCaptureServiceName);
  });
  SetUpRouter();
}

CMainWnd::~CMainWnd() {
  profileGate_.reset();
  SkinChangedObserver().RemoveReceiver(this);
  switcher_.reset();
  // The resource manager must not ask a window that is gone for texts.
  ui::CResourceManager::GetInstance().SetTextQueryInterface(nullptr);
  // A game effect still showing gives way to the user's before the pages go.
  gameLight_->RestoreAll();
  StopWorkers();
  if (devices_) devices_->Teardown();
  devices_.reset();
}

void CMainWnd::InitWindow() {
  Trace("InitWindow");
  ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
  resources.SetTextQueryInterface(this);
  // The first language text file; the saved language replaces it in the start-up sequence.
  resources.LoadLanguage("lan_cn.xml");
  resources.ReloadText();
  SkinChangedObserver().AddReceiver(this);

  closeBtn_ = FindControl("closebtn");
  maxBtn_ = FindControl("maxbtn");
  restoreBtn_ = FindControl("restorebtn");
  minBtn_ = FindControl("minbtn");
  skinBtn_ = FindControl("skinbtn");
  gameModeBtn_ = FindControl("gamemodebtn");
  cloudBtn_ = FindControl("cloudbtn");
  smartEyesBtn_ = FindControl("smarteyesbtn");
  setBtn_ = FindControl("setbtn");

  if (ui::CControlUI* notice = FindControl("No_device_Link")) {
    std::vector<QWidget*> pageAreas;
    if (ui::CControlUI* pages = FindControl("device_switch")) pageAreas.push_back(pages->GetWidget());
    std::vector<QWidget*> powerArea;
    if (ui::CControlUI* power = FindControl("device_power_switch")) powerArea.push_back(power->GetWidget());
    new CNoticeFollower(notice->GetWidget(), std::move(pageAreas),
                        std::move(powerArea));  // owned by the notice
  }

  SetIcon(AppIcon());
  tray_.CreateTrayIcon(GetHWND(), AppIcon(), QString::fromUtf8(kInstanceName.data(), kInstanceName.size()));
}

ui::CControlUI* CMainWnd::CreateControl(const ui::CDuiString& className) {
  ui::CControlFactory* factory = ui::CControlFactory::GetInstance();
  for (const char* name : kPrefixedClasses) {
    if (className == name) return factory->CreateControl(ui::CDuiString("C") + name + "UI");
  }
  for (const auto& [skinName, registered] : kDirectClasses) {
    if (className == skinName) return factory->CreateControl(registered);
  }
  for (const auto& [skinName, subSkin] : kSubSkins) {
    if (className != skinName) continue;
    auto* holder = new ui::CVerticalLayoutUI();
    if (!ui::CDialogBuilder::Create(subSkin, this, holder->GetWidget())) {
      delete holder;
      return nullptr;
    }
    return holder;
  }
  return nullptr;
}

int CMainWnd::Receive(SkinChangedParam param) {
  ApplySkinChange(m_pm, param);
  return 0;
}

bool CMainWnd::IsShowing() const {
  return IsWindowVisible() && !IsMinimized();
}

void CMainWnd::Broadcast(RegisteredMessage id, std::int64_t wParam, std::int64_t lParam) {
  if (options_.bus) options_.bus->Broadcast(id, wParam, lParam);
}

void CMainWnd::SetWindowActiveAll(bool active) {
  if (devices_) devices_->SetWindowActive(active);
  if (hooks_.setWindowActiveAll) hooks_.setWindowActiveAll(active);
}

void CMainWnd::SetRecordingUi(bool all, bool enabled) {
  // The controls go off while a recording runs.
  recording_ = !enabled;
  if (all) {
    if (ui::CControlUI* strip = FindControl("device_select_layout")) strip->SetEnabled(enabled);
    // While recording, the page keeps its profile and its tab.
    controls::CDevicePageUI* page = devices_ ? devices_->CurrentPage() : nullptr;
    if (controls::CDeviceProfileUI* bar = page ? page->ProfileBar() : nullptr) bar->SetEnabled(enabled);
  }
  for (editors::IEditor* editor : router_.Editors()) editor->SetRecordingUi(all, enabled);
}

bool CMainWnd::IsUserBusy() const {
  if (recording_ || timerIntervals_.count(kTimerProfileSwitch)) return true;
  if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) return true;
  // In another program's window the user edits nothing here.
  if (!active_) return false;
  if (QGuiApplication::mouseButtons() != Qt::NoButton) return true;
  const QWidget* focus = QApplication::focusWidget();
  return focus && (qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QAbstractSpinBox*>(focus) ||
                   qobject_cast<const QPlainTextEdit*>(focus) || qobject_cast<const QTextEdit*>(focus));
}

void CMainWnd::OnFinalMessage() {
  WindowImplBase::OnFinalMessage();
}

}  // namespace norvane::app
