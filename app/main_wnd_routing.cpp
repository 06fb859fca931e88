// The main window's notification handling: every notification goes through the router, and the window
// carries out the targets that are its own (title bar, profile bar, device strip, function tabs).
#include <QPointer>
#include <QTimer>

#include <algorithm>

#include "app/desktop_settings_launcher.h"
#include "app/game_light.h"
#include "app/light_sync.h"
#include "app/macro_editor.h"
#include "app/macro_recorder.h"
#include "app/main_messages.h"
#include "app/main_wnd.h"
#include "app/profile_actions.h"
#include "app/profile_rules_editor.h"
#include "app/shoot_editor.h"
#include "app/skin_frame.h"
#include "app/window_prompts.h"
#include "controls/color_select_wnd.h"
#include "controls/device_key_button.h"
#include "controls/device_profile.h"
#include "app/audio_style.h"
#include "controls/device_strip.h"
#include "controls/pages/device_page.h"
#include "devices/device_kinds.h"
#include "editors/headset_editor.h"
#include "editors/audio_lighting_editor.h"
#include "editors/key_assignment_editor.h"
#include "editors/keyboard_system_editor.h"
#include "editors/lighting_editor.h"
#include "editors/mouse_editor.h"
#include "editors/page_controls.h"
#include "profiles/json_file_util.h"
#include "platform/trace.h"
#include "platform/xdg_paths.h"
#include "uilib/control_name.h"
#include "uilib/edit.h"
#include "uilib/slider.h"

namespace norvane::app {

namespace {

using editors::RouteAction;
using editors::RoutedNotify;

constexpr int kTestDpiMin = 200;
constexpr int kTestDpiMax = 6500;

}  // namespace

ui::CControlUI* CMainWnd::FindBeside(ui::CControlUI* control, const ui::CDuiString& name) const {
  controls::CDevicePageUI* page = editors::PageOfControl(control);
  return page ? ui::CPaintManagerUI::FindSubControlByName(page, name) : FindControl(name);
}

void CMainWnd::SetUpRouter() {
  router_.SetCurrentPage([this]() -> controls::CDevicePageUI* { return devices_ ? devices_->CurrentPage() : nullptr; });
  router_.SetKindOf([](const controls::CDevicePageUI& page) -> std::uint16_t {
    return page.Device() ? devices::PageKindCode(page.Device()->KindCode()) : 0;
  });
  router_.SetWindowHandler([this](const RoutedNotify& notify) { OnWindowRoute(notify); });
  // The message map of the default handling: its two rows go through the router as well.
  m_messageMap.Bind(ui::DUI_MSGTYPE_ITEMACTIVATE, [this](ui::TNotifyUI& msg) { router_.Dispatch(msg); });
  m_messageMap.Bind(ui::DUI_MSGTYPE_SETFOCUS, [this](ui::TNotifyUI& msg) { router_.Dispatch(msg); });
  if (options_.ownEditors) {
    auto system = std::make_unique<editors::CKeyboardSystemEditor>();
    router_.Register(editors::EditorSlot::kKeyboardSystem, system.get());
    ownEditors_.push_back(std::move(system));
    auto lighting = std::make_unique<editors::CLightingEditor>(lightSync_->effect, [this] {
      return devices_ ? devices_->Pages() : std::vector<controls::CDevicePageUI*>{};
    });
    lighting->SetEditListener([this](controls::CDevicePageUI& page) { OnUserLightEdit(page); });
    lightingEditor_ = lighting.get();
    router_.Register(editors::EditorSlot::kLighting, lighting.get());
    ownEditors_.push_back(std::move(lighting));
    auto audio = std::make_unique<editors::CAudioLightingEditor>(editors::CAudioLightingEditor::Hooks{
        // Modal: not inside the button's own signal.
        .openStyleWindow = [this] { QTimer::singleShot(0, GetWidget(), [this] { if (!destroyed_) OpenAudioStyleWindow(); }); },
        .styleSlider = [this](int wParam, int level) { OnStyleSlider(wParam, level); },
        .styleColour = [this] {
          const AudioStyle& style = GetAudioStyle();
          return style.colours[std::size_t(style.style % AudioStyle::kGroups)];
        }});
    router_.Register(editors::EditorSlot::kAudioLighting, audio.get());
    ownEditors_.push_back(std::move(audio));
    auto keys = std::make_unique<editors::CKeyAssignmentEditor>();
    router_.Register(editors::EditorSlot::kKeyAssignment, keys.get());
    ownEditors_.push_back(std::move(keys));
    auto macros = std::make_unique<CMacroEditor>([this]() -> UserPrompts& { return Prompts(); },
                                                  [this] { return GetHWND(); });
    router_.Register(editors::EditorSlot::kMacro, macros.get());
    ownEditors_.push_back(std::move(macros));
    auto headset = std::make_unique<editors::CHeadsetEditor>();
    router_.Register(editors::EditorSlot::kHeadset, headset.get());
    ownEditors_.push_back(std::move(headset));
    auto mouse = std::make_unique<editors::CMouseEditor>([this](std::uint32_t initial) {
      if (options_.chooseColour) return options_.chooseColour(initial);
      return controls::ChooseColour(this, dpi_, initial);
    });
    router_.Register(editors::EditorSlot::kMouse, mouse.get());
    ownEditors_.push_back(std::move(mouse));
    auto shoot = std::make_unique<CShootEditor>([this]() -> UserPrompts& { return Prompts(); });
    router_.Register(editors::EditorSlot::kShoot, shoot.get());
    ownEditors_.push_back(std::move(shoot));
    CMacroRecorder::Window window;
    window.currentPage = [this]() -> controls::CDevicePageUI* { return devices_ ? devices_->CurrentPage() : nullptr; };
    window.setRecordingUi = [this](bool all, bool enabled) { SetRecordingUi(all, enabled); };
    window.prompts = [this]() -> UserPrompts& { return Prompts(); };
    window.awake = [this] { return awake_; };
    auto recording = std::make_unique<CMacroRecorder>(std::move(window), options_.recordingBackends.value_or(
                                                                              CDeviceHook::DefaultBackends()));
    router_.Register(editors::EditorSlot::kRecording, recording.get());
    ownEditors_.push_back(std::move(recording));
    auto rules = std::make_unique<CProfileRulesEditor>([this]() -> UserPrompts& { return Prompts(); },
                                                       [this] { return switcher_.get(); });
    router_.Register(editors::EditorSlot::kProfileRules, rules.get());
    ownEditors_.push_back(std::move(rules));
  }
}

UserPrompts& CMainWnd::Prompts() {
  if (options_.prompts) return *options_.prompts;
  if (!ownPrompts_) ownPrompts_ = std::make_unique<CWindowPrompts>(*this, [this] { return dpi_; });
  return *ownPrompts_;
}

void CMainWnd::Notify(ui::TNotifyUI& msg) {
  const bool isTimer = msg.sType == ui::DUI_MSGTYPE_TIMER;
  if (!isTimer && TraceEnabled()) {
    Trace("notify " + msg.sType.ToUtf8() + " " + (msg.pSender ? msg.pSender->GetName().ToUtf8() : std::string()));
  }
  // A profile chosen in a page's combo loads after a short pause; what the user does on that page meanwhile
  // belongs to the profile the combo shows, so the switch happens first. A control the switch took away
  // has nothing left to act on.
  // (Input from the keyboard and the mouse has the switch done before it reaches the page: see
  // CPendingProfileGate. This covers a notification that comes without it.)
  if (!isTimer && IsTimerRunning(kTimerProfileSwitch) && msg.pSender) {
    if (QWidget* widget = msg.pSender->GetWidget(); IsOnPageAwaitingProfile(widget)) {
      const QPointer<QWidget> sender = widget;
      LoadChosenProfilesNow();
      if (!sender) return;
    }
  }
  // The message map's types are the default handling's; everything else is routed here first.
  const bool ownType = msg.sType != ui::DUI_MSGTYPE_ITEMACTIVATE && msg.sType != ui::DUI_MSGTYPE_SETFOCUS;
  if (ownType && router_.Dispatch(msg)) return;
  if (msg.sType == "click_wpremove" || msg.sType == "click_wpedit") return;
  WindowImplBase::Notify(msg);
}

void CMainWnd::LoadChosenProfilesNow() {
  if (IsTimerRunning(kTimerProfileSwitch)) OnTimer(kTimerProfileSwitch);
}

bool CMainWnd::IsOnPageAwaitingProfile(QWidget* widget) const {
  if (profileChosenOn_.empty()) return false;
  for (QWidget* w = widget; w; w = w->parentWidget()) {
    ui::CControlUI* control = ui::ControlOf(w);
    if (!control) continue;
    // The combo, and the list it drops down, are the choice still being made (scrolling through it restarts
    // the pause).
    if (control->GetName() == "device_profile_combo") return false;
    if (auto* page = dynamic_cast<controls::CDevicePageUI*>(control))
      return std::find(profileChosenOn_.begin(), profileChosenOn_.end(), page) != profileChosenOn_.end();
  }
  return false;
}

void CMainWnd::OnWindowRoute(const RoutedNotify& notify) {
  ui::CControlUI* sender = notify.msg ? notify.msg->pSender : nullptr;
  switch (notify.action) {
    case RouteAction::kWindowInit:
      OnWindowInit();
      return;
    case RouteAction::kWindowSize:
      if (displayChanged_) {
        displayChanged_ = false;
        ApplyWindowScale();
      }
      return;
    case RouteAction::kCloseToTray:
      // The program keeps running in the tray; it ends through the tray menu's "exit".
      HideToTray();
      return;
    case RouteAction::kHideWindow:
      ShowWindow(false);
      return;
    case RouteAction::kToggleLightControl:
      ToggleLightControl(sender);
      return;
    // The title-bar rows act only for the window's own buttons, not for a page control of the same name.
    case RouteAction::kMinimize:
      if (sender && sender == minBtn_) HandleMessage(ui::WM_SYSCOMMAND, ui::SC_MINIMIZE, 0);
      return;
    case RouteAction::kMaximize:
      if (sender && sender == maxBtn_) HandleMessage(ui::WM_SYSCOMMAND, ui::SC_MAXIMIZE, 0);
      return;
    case RouteAction::kRestore:
      if (sender && sender == restoreBtn_) HandleMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
      return;
    case RouteAction::kOpenSkinChooser:
      if (sender && sender == skinBtn_) {
        QWidget* button = skinBtn_->GetWidget();
        const QRect rect(button->mapToGlobal(QPoint(0, 0)), button->size());
        CSkinFrame::Open(this, rect, dpi_);
      }
      return;
    case RouteAction::kOpenSettings:
      if (sender && sender == setBtn_) {
        // Modal: not inside the button's own signal.
        QTimer::singleShot(0, GetWidget(), [this] { OpenSettingsWindow(false); });
      }
      return;
    case RouteAction::kOpenDesktopSettings:
      OpenDesktopSettings(notify.number);
      return;
    case RouteAction::kLoadDefaults:
    case RouteAction::kAddProfile:
    case RouteAction::kDeleteProfile:
    case RouteAction::kExportProfile:
    case RouteAction::kImportProfile:
    case RouteAction::kCopyProfile:
    case RouteAction::kResetProfile:
    case RouteAction::kRenameProfile:
      OnPageAction(notify);
      return;
    case RouteAction::kToggleProfileMenu:
      if (notify.page) {
        if (controls::CDeviceProfileUI* bar = notify.page->ProfileBar())
          bar->ShowProfileMenu(!bar->IsProfileMenuShown());
      }
      return;
    case RouteAction::kPreviousDevice:
      controls::SelectPreviousDevice(controls::DeviceStrip::Find(m_pm));
      return;
    case RouteAction::kNextDevice:
      controls::SelectNextDevice(controls::DeviceStrip::Find(m_pm));
      return;
    case RouteAction::kDeviceSelected:
      OnDeviceTabSelected();
      return;
    case RouteAction::kFunctionTab:
      if (notify.page && notify.number >= 1 && notify.number <= 8) {
        // Only the tab that became selected opens its area; its group mates report their unselection too.
        if (auto* option = dynamic_cast<ui::COptionUI*>(sender); option && !option->IsSelected()) return;
        // A tab of another page's bar (a hidden page) is not the current page's.
        if (controls::CDevicePageUI* owner = editors::PageOfControl(sender); owner && owner != notify.page) return;
        notify.page->Device()->SelectFunctionTab(notify.number);
        if (controls::CDeviceProfileUI* bar = notify.page->ProfileBar()) bar->SelectTab(notify.number);
      }
      return;
    case RouteAction::kProfileChosen: {
      // The switch waits a moment, so scrolling through the combo does not load every profile on the way. It
      // belongs to the page whose combo it was, whichever page is in front when the moment is over.
      controls::CDevicePageUI* owner = sender ? editors::PageOfControl(sender) : nullptr;
      if (!owner) owner = notify.page;
      if (owner && std::find(profileChosenOn_.begin(), profileChosenOn_.end(), owner) == profileChosenOn_.end())
        profileChosenOn_.push_back(owner);
      StartTimer(kTimerProfileSwitch, 400);
      profileGate_->Open();
      return;
    }
    case RouteAction::kTestSliderMoved:
      OnTestSliderMoved(notify);
      return;
    case RouteAction::kTestEditDone:
      OnTestEditDone(notify);
      return;
    case RouteAction::kMouseLightSelection:
      OnMouseLightSelection(notify);
      return;
    case RouteAction::kKeyClicked:
      OnKeyClicked(notify);
      return;
    default:
      return;
  }
}

void CMainWnd::OnKeyClicked(const RoutedNotify& notify) {
  // On the key assignment tab the key opens in the key editor; on the lighting tab it is painted.
  if (!notify.page || !notify.page->Device()) return;
  const int tab = notify.page->Device()->GetFunctionTab();
  RoutedNotify handed = notify;
  editors::EditorSlot slot = editors::EditorSlot::kKeyAssignment;
  if (tab == kLightingTab) {
    slot = editors::EditorSlot::kLighting;
    handed.action = RouteAction::kPaintKey;
  } else if (tab != editors::CKeyAssignmentEditor::kKeyTab) {
    return;
  }
  if (editors::IEditor* editor = router_.EditorOf(slot)) editor->OnRoute(handed);
}

void CMainWnd::OnPageAction(const RoutedNotify& notify) {
  // The confirmations and file dialogs run their own loops: not inside the button's signal, and only if the
  // page is still there by then.
  QPointer<controls::CDevicePageUI> page = notify.page;
  const RouteAction action = notify.action;
  QTimer::singleShot(0, GetWidget(), [this, page, action] {
    if (!page || destroyed_) return;
    // A game effect on the page gives way first: the action saves or replaces its profile.
    gameLight_->Restore(*page);
    const bool done = RunProfileAction(action, *page, Prompts(), ScreenSize());
    // A reset returns the music style to its default too.
    if (done && action == RouteAction::kResetProfile && !destroyed_) LoadAudioStyleFile();
  });
}

void CMainWnd::OnDeviceTabSelected() {
  const controls::DeviceStrip strip = controls::DeviceStrip::Find(m_pm);
  const controls::SelectedDevice selected = controls::SelectedDeviceOf(strip);
  selectedTab_ = selected.tabIndex;
  selectedKind_ = selected.kind;
  selectedVariant_ = selected.variant;
  controls::CDeviceOptionUI* tab = strip.Tab(selected.tabIndex);
  if (!tab || !strip.powerPages) return;
  if (tab->GetPowerIndex() < 0) {
    strip.powerPages->SetVisible(false);
  } else {
    strip.powerPages->SetVisible(true);
    strip.powerPages->SelectItem(tab->GetPowerIndex());
  }
}

// The test page's DPI pair: the slider's value goes into the edit of the same number while dragging, and
// the edit's number (kept within 200 to 6500) into the slider when it loses the focus.
void CMainWnd::OnTestSliderMoved(const RoutedNotify& notify) {
  auto* slider = dynamic_cast<ui::CSliderUI*>(notify.msg->pSender);
  if (!slider) return;
  if (ui::CControlUI* edit = FindBeside(slider, QString("vexor_DPI_edit_%1").arg(notify.number)))
    edit->SetText(QString::number(slider->GetValue()));
}

void CMainWnd::OnTestEditDone(const RoutedNotify& notify) {
  ui::CControlUI* edit = notify.msg->pSender;
  if (!edit) return;
  auto* slider =
      dynamic_cast<ui::CSliderUI*>(FindBeside(edit, QString("vexor_DPI_slider_%1").arg(notify.number)));
  if (!slider) return;
  const int value = std::clamp(ui::DigitsValue(QStringView(edit->GetText()).trimmed()), kTestDpiMin, kTestDpiMax);
  slider->SetValue(value);
  edit->SetText(QString::number(value));
}

// A rubber-band selection on the mouse's light picture that covers every light: the page reloads the
// document named for that case (the user data folder's ".json", which nothing writes, so normally nothing
// happens).
void CMainWnd::OnMouseLightSelection(const RoutedNotify& notify) {
  controls::CDevicePageUI* page = notify.page;
  auto* panel = dynamic_cast<ui::CContainerUI*>(notify.msg->pSender);
  if (!page || !panel || !page->Device()) return;
  const int leds = page->Device()->LedCount();
  if (leds <= 0) return;
  std::vector<int> states(std::size_t(leds), 0);
  bool anySelected = false;
  for (int i = 0; i < panel->GetCount(); ++i) {
    ui::CControlUI* child = panel->GetItemAt(i);
    auto* button = dynamic_cast<controls::CDeviceKeyButtonUI*>(child);
    if (!button) continue;
    const bool selected = button->GetSelectionState() != 0;
    for (const ui::CDuiString& text : {button->GetName(), button->GetUserData()}) {
      const std::optional<ui::ControlNameSplit> split = ui::SplitControlName(text);
      if (!split || split->prefix != "light_") continue;
      anySelected = anySelected || selected;
      if (split->number < leds) states[std::size_t(split->number)] = selected || !button->IsVisible() ? 1 : 0;
    }
  }
  if (!anySelected || std::find(states.begin(), states.end(), 0) != states.end()) return;
  const Json::Value document = JsonFileUtil().ReadJsonValue(UserDataFolder() / ".json");
  if (document.isNull()) return;
  devices::CNorvaneUSBDevice& device = *page->Device();
  device.LoadProfile();
  device.RefreshPage();
  device.SetScreenSize(ScreenSize().width, ScreenSize().height);
  if (devices::SettingsOps* settings = device.Settings()) (void)settings->WriteSettings(0, 0);
  device.RefreshKeyButtons();
}

void CMainWnd::OpenDesktopSettings(int n) {
  if (!OpenDesktopDeviceSettings(n)) Trace("main window: no desktop settings tool for " + std::to_string(n));
}

void CMainWnd::SetInputCapture(bool on) {
  // The key editor's key capture and a macro recording alike.
  for (editors::IEditor* editor : router_.Editors()) editor->SetInputCapture(on);
}

}  // namespace norvane::app
