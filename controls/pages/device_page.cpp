#include "controls/pages/device_page.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLayout>
#include <QStackedWidget>
#include <algorithm>

#include "controls/device_key_button.h"
#include "controls/device_option.h"
#include "controls/device_profile.h"
#include "controls/mp_device_power.h"
#include "controls/pages/light_preview.h"
#include "controls/select_panel.h"
#include "devices/button_binding.h"
#include "platform/trace.h"
#include "uilib/combo.h"
#include "uilib/option.h"
#include "uilib/paint_manager.h"
#include "uilib/resource_manager.h"
#include "uilib/tab_layout.h"

namespace norvane::controls {

namespace {

constexpr const char* kSelectPanelClass = "SelectPanel";
constexpr const char* kFunctionSwitch = "device_function_switch";
constexpr const char* kKeyFunctionSwitch = "device_key_function_switch";
constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kWhiteLight = PackKeyLight(255, 255, 255);
constexpr int kFullLevel = 255;
// Marks a light button that shows no colour yet, so the first frame always paints it.
constexpr uint32_t kNothingShown = 0xFFFFFFFFu;

ui::CControlUI* FindByClass(QWidget* root, const char* className) {
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (ui::CControlUI* control = ui::ControlOf(w); control && control->GetClass() == className)
      return control;
  }
  return nullptr;
}

// An LED's colour scaled by its level (as LedColour), as 0xRRGGBB.
uint32_t ScaledRgb(const lighting::LedRecord& led) {
  const auto scale = [&led](uint8_t channel) { return uint32_t(channel) * led.level / 255; };
  return scale(led.red) << 16 | scale(led.green) << 8 | scale(led.blue);
}

template <class T>
T* As(const QPointer<QWidget>& widget) {
  return widget ? dynamic_cast<T*>(ui::ControlOf(widget.data())) : nullptr;
}

}  // namespace

CDevicePageUI::CDevicePageUI() {
  // The page's option groups are its own: another page with the same skin has its own selection.
  setProperty(ui::kOptionScopeProperty, true);
  syncRetry_.setSingleShot(true);
  QObject::connect(&syncRetry_, &QTimer::timeout, this, [this] { RetryFirstSync(); });
}

CDevicePageUI::~CDevicePageUI() {
  if (auto* tab = DeviceTab(); tab && tab->GetPage() == this) tab->SetPage(nullptr);
  // The device's threads call back into this page (view, preview, poster): they end first.
  device_.reset();
}

bool CDevicePageUI::BuildLayout(const ui::CDuiString& skinName, ui::IDialogBuilderCallback* callback) {
  if (!ui::CDialogBuilder::Create(skinName, callback, this)) return false;
  FitFunctionSwitch();
  previewControl_ = Preview();
  previewWidget_ = previewControl_ ? previewControl_->GetWidget() : nullptr;
  previewFound_ = true;
  FindPictures();
  return true;
}

void CDevicePageUI::FitFunctionSwitch() {
  // Sizes a function area to the page it shows; returns whether the area is to be seen.
  const auto fit = [](ui::CTabLayoutUI* area, bool shown) {
    auto* stack = qobject_cast<QStackedWidget*>(area->GetWidget());
    QWidget* current = stack ? stack->currentWidget() : nullptr;
    // The area is as tall as the page it shows, not as its tallest page: a stack counts every page, and a
    // page's layout makes its content's minimum the page's own unless told not to.
    for (int i = 0; stack && i < stack->count(); ++i) {
      QWidget* page = stack->widget(i);
      const bool showing = page == current && shown;
      const auto policy = showing ? QSizePolicy::Preferred : QSizePolicy::Ignored;
      page->setSizePolicy(policy, policy);
      if (QLayout* layout = page->layout()) {
        layout->setSizeConstraint(showing ? QLayout::SetDefaultConstraint : QLayout::SetNoConstraint);
        if (!showing) page->setMinimumSize(0, 0);
      }
    }
    if (stack) stack->updateGeometry();
    // An editor area that has nothing in it (yet) takes no room below the picture.
    return shown && current && !current->findChildren<QWidget*>().isEmpty();
  };
  auto* functions = dynamic_cast<ui::CTabLayoutUI*>(FindSubControl(kFunctionSwitch));
  // The key-function editors (key assignment, per-key lighting) work on the picture: they and the picture
  // belong to the first function page and give way to the others (macros, system settings), which need the
  // room below the profile bar more than a picture they do not use.
  const bool pictureTab = !functions || functions->GetCurSel() == 0;
  auto* keyFunctions = dynamic_cast<ui::CTabLayoutUI*>(FindSubControl(kKeyFunctionSwitch));
  struct Part {
    QWidget* widget;
    bool shown;
    bool area;  // a function area: hidden, it also takes no height
  };
  std::vector<Part> parts;
  if (functions) parts.push_back({functions->GetWidget(), fit(functions, true), true});
  if (keyFunctions) parts.push_back({keyFunctions->GetWidget(), fit(keyFunctions, pictureTab), true});
  // (dynamic_cast, not findChildren<CSelectPanelUI*>: the panel has no meta-object of its own, so Qt's
  // cast would take every widget for one.)
  for (QWidget* widget : GetWidget()->findChildren<QWidget*>()) {
    if (dynamic_cast<CSelectPanelUI*>(widget)) parts.push_back({widget, pictureTab, false});
  }
  // What goes is hidden before what comes is shown: for a moment both would count, and a window whose
  // layout asks for more room grows to it and keeps that size after the moment has passed.
  for (const bool showing : {false, true}) {
    for (const Part& part : parts) {
      if (part.shown != showing) continue;
      if (part.area) part.widget->setMaximumHeight(showing ? QWIDGETSIZE_MAX : 0);
      part.widget->setVisible(showing);
    }
  }
}

void CDevicePageUI::SetDevice(std::unique_ptr<devices::CNorvaneUSBDevice> device) {
  device_ = std::move(device);
  if (!device_) return;
  device_->AttachView(this);
  device_->AttachPreview(this);
}

void CDevicePageUI::SetPowerPanel(CMpDevicePowerUI* panel) {
  power_ = panel;
  // The flag may have come before the panel did.
  if (panel) panel->SetPanelVisible(wirelessCapable_);
}

CMpDevicePowerUI* CDevicePageUI::PowerPanel() const {
  return As<CMpDevicePowerUI>(power_);
}

CDeviceOptionUI* CDevicePageUI::DeviceTab() const {
  return As<CDeviceOptionUI>(tab_);
}

void CDevicePageUI::SetDeviceTab(CDeviceOptionUI* tab) {
  tab_ = tab;
}

ui::CControlUI* CDevicePageUI::KeyButton(int index) const {
  return index >= 0 && index < KeyButtonCount() ? ui::ControlOf(keyButtons_[std::size_t(index)].data())
                                                : nullptr;
}

ui::CControlUI* CDevicePageUI::LightButton(int index) const {
  return index >= 0 && index < LightButtonCount() ? ui::ControlOf(lightButtons_[std::size_t(index)].data())
                                                  : nullptr;
}

CLightPreviewUI* CDevicePageUI::Preview() const {
  // Every frame asks for it: once the layout is built, the answer is kept.
  if (!previewFound_) {
    return dynamic_cast<CLightPreviewUI*>(
        ui::CPaintManagerUI::FindSubControlByName(const_cast<CDevicePageUI*>(this), kPreviewName));
  }
  return previewWidget_ ? previewControl_ : nullptr;
}

ui::CControlUI* CDevicePageUI::AnimatedControl() {
  return Preview();
}

ui::CControlUI* CDevicePageUI::ButtonSearchRoot() {
  if (ui::CControlUI* panel = FindByClass(this, kSelectPanelClass)) return panel;
  return this;
}

// ---- PageView.

void CDevicePageUI::BindKeyButtons(int key_count, int led_count) {
  keyButtons_.assign(std::size_t(std::max(key_count, 0)), nullptr);
  lightButtons_.assign(std::size_t(std::max(led_count, 0)), nullptr);
  mirrorLights_.assign(lightButtons_.size(), nullptr);
  shownLight_.assign(lightButtons_.size(), kNothingShown);
  logo_ = nullptr;
  if (key_count <= 0 && led_count <= 0) return;

  const auto lit = [](ui::CControlUI* control) {
    if (auto* button = dynamic_cast<CDeviceKeyButtonUI*>(control)) {
      button->SetLightOverlay(kWhiteLight, kFullLevel, true);
      button->Invalidate();
    }
  };
  ui::CControlUI* root = ButtonSearchRoot();
  for (QWidget* w : root->GetWidget()->findChildren<QWidget*>()) {
    ui::CControlUI* control = ui::ControlOf(w);
    // Only buttons stand for keys: a caption named like a key is not one.
    if (!control || !qobject_cast<QAbstractButton*>(w)) continue;
    const std::string name = control->GetName().ToUtf8();
    const std::string data = control->GetUserData().ToUtf8();
    const std::optional<int> key = devices::KeyIndexFromName(name, key_count);
    const std::optional<int> led = devices::LedIndexFromUserData(data, led_count);
    const std::optional<int> mirror = devices::MirrorLedIndexFromName(name, led_count);
    // The first button of a number wins, as the page's skin lists them.
    if (key && !keyButtons_[std::size_t(*key)]) keyButtons_[std::size_t(*key)] = w;
    if (led && !lightButtons_[std::size_t(*led)]) {
      lightButtons_[std::size_t(*led)] = w;
      lit(control);
    }
    if (mirror && !mirrorLights_[std::size_t(*mirror)]) {
      mirrorLights_[std::size_t(*mirror)] = w;
      lit(control);
    }
    if (!logo_ && control->GetName() == kLogoName) logo_ = w;
  }
  FindPictures();
}

void CDevicePageUI::ShowFunctionTabs(devices::FunctionTabSelection selection) {
  if (auto* functions = dynamic_cast<ui::CTabLayoutUI*>(FindSubControl(kFunctionSwitch))) {
    functions->SelectItem(selection.function_tab);
    FitFunctionSwitch();
  }
  if (selection.key_function_tab < 0) return;
  if (auto* keyFunctions = dynamic_cast<ui::CTabLayoutUI*>(FindSubControl(kKeyFunctionSwitch))) {
    keyFunctions->SelectItem(selection.key_function_tab);
    FitFunctionSwitch();
  }
}

void CDevicePageUI::ShowWirelessCapable(bool capable) {
  wirelessCapable_ = capable;
  if (CMpDevicePowerUI* panel = PowerPanel()) panel->SetPanelVisible(capable);
  // A mouse pad that reports its charge is the wireless-charging pad: its tab shows that pad.
  constexpr int kMousePadKind = 3;
  CDeviceOptionUI* tab = DeviceTab();
  if (tab && device_ && device_->KindCode() == kMousePadKind) tab->SetIconKind(kMousePadKind, capable ? 1 : 0);
}

void CDevicePageUI::ShowMessage(const devices::DeviceMessage& message) {
  if (messageSink_) messageSink_(ui::CDuiString(message.textId), message.value);
}

void CDevicePageUI::ShowWirelessStatus(std::span<const uint8_t> status) {
  if (CMpDevicePowerUI* panel = PowerPanel()) panel->ShowStatus(status);
}

void CDevicePageUI::RefreshPage() {
  if (refreshListener_) refreshListener_();
}

void CDevicePageUI::ProfileSwitched() {
  // The keyboard chose another stored profile: the bar shows the list as it is on disk again.
  if (CDeviceProfileUI* bar = ProfileBar()) {
    const ProfileListResult loaded = bar->LoadProfileList();
    if (!loaded.done()) Trace("device page: the profile list could not be loaded: " + loaded.error);
  }
  for (const QPointer<QWidget>& widget : keyButtons_) {
    if (auto* key = As<CDeviceKeyButtonUI>(widget); key && key->GetSelectionState() != 0) {
      key->SetSelectionState(0);
      key->Invalidate();
    }
  }
}

void CDevicePageUI::HideHint() {
  if (ui::CControlUI* hint = FindSubControl(kHintName)) hint->SetVisible(false);
}

void CDevicePageUI::SetMoreThanOneTabVisible(bool more) {
  const bool changed = more != moreThanOneTab_;
  moreThanOneTab_ = more;
  if (changed && tabsListener_) tabsListener_(more);
}

void CDevicePageUI::SelectKeyButton(int key, bool selected) {
  if (auto* button = dynamic_cast<CDeviceKeyButtonUI*>(KeyButton(key))) {
    button->SetSelectionState(selected ? 1 : 0);
    button->Invalidate();
  }
}

void CDevicePageUI::ShowKeyLabel(int key, std::string_view ownNameKey, const devices::KeyLabel& label) {
  auto* button = dynamic_cast<CDeviceKeyButtonUI*>(KeyButton(key));
  if (!button) return;
  const devices::Localizer localize = [](std::string_view id) {
    const ui::CDuiString text = ui::CDuiString(std::string(id));
    const std::optional<ui::CDuiString> found = ui::CResourceManager::GetInstance().GetText(text);
    return found ? found->ToUtf8() : std::string(id);
  };
  const devices::KeyButtonLabel shown =
      devices::MakeKeyButtonLabel(ownNameKey, devices::ComposeKeyLabel(label, localize), localize);
  button->SetKeySetMarkHidden(shown.keySetMarkHidden ? 1 : 0);
  button->SetToolTip(ui::CDuiString(shown.toolText));
}

// ---- FramePreview.

void CDevicePageUI::ShowFrame(std::span<const lighting::LedRecord> leds, const lighting::DeviceFrame&) {
  // A streamed effect goes on reaching the device while nobody looks; the picture waits. When it shows
  // again, the next frame brings every light that changed meanwhile.
  frameChanged_ = false;
  if (!previewSeen_) return;
  bool changed = false;
  // The colour is already scaled by the LED's level.
  const auto paint = [](ui::CControlUI* button, uint32_t rgb) {
    if (auto* key = dynamic_cast<CDeviceKeyButtonUI*>(button)) {
      key->SetLightOverlay(PackKeyLight(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)), kFullLevel, true);
      key->Invalidate();
    } else if (button) {
      button->SetBkColor(kOpaque | rgb);
    }
  };
  const int logoLed = device_ ? device_->LogoLed() : -1;
  const std::size_t count = std::min(leds.size(), lightButtons_.size());
  for (std::size_t i = 0; i < count; ++i) {
    // Unchanged lights cost one comparison; the buttons are looked up only for a light that changed.
    const uint32_t rgb = ScaledRgb(leds[i]);
    if (shownLight_[i] == rgb) continue;
    ui::CControlUI* button = LightButton(int(i));
    ui::CControlUI* mirror = ui::ControlOf(mirrorLights_[i].data());
    ui::CControlUI* logo = int(i) == logoLed ? ui::ControlOf(logo_.data()) : nullptr;
    if (!button && !mirror && !logo) continue;
    shownLight_[i] = rgb;
    changed = true;
    for (ui::CControlUI* each : {button, mirror, logo}) paint(each, rgb);
  }
  if (CLightPreviewUI* preview = Preview()) changed = preview->SetLeds(leds) || changed;
  frameChanged_ = changed;
}

// ---- IDeviceTabPage.

bool CDevicePageUI::IsChannelOpen() const {
  return device_ && device_->CommandChannel().IsOpen();
}

bool CDevicePageUI::IsReceiverLink() const {
  return device_ && device_->CommandChannel().IsWireless();
}

bool CDevicePageUI::IsWirelessCapable() const {
  return device_ && device_->IsWirelessCapable();
}

void CDevicePageUI::InitialSync() {
  syncRetry_.stop();
  syncRetriesLeft_ = kFirstSyncRetries;
  if (device_) device_->InitialSync();
}

void CDevicePageUI::RetryFirstSync() {
  // A device gone meanwhile is synchronised afresh when it comes back.
  if (!device_ || !device_->CommandChannel().IsOpen()) {
    syncRetriesLeft_ = 0;
    return;
  }
  // Another series (a write the user started) runs first; this try waits for it rather than fail on it.
  if (device_->IsCommandChannelInUse()) {
    syncRetry_.start(kFirstSyncRetryMs);
    return;
  }
  device_->InitialSync();
}

void CDevicePageUI::Resync() {
  if (device_) device_->Resync();
}

void CDevicePageUI::PresentFrame() {
  frameChanged_ = false;
  if (device_) device_->PresentFrame();
}

FramesFor CDevicePageUI::NeedsFrames() {
  if (!device_) return FramesFor::kNobody;
  UpdatePreviewSeen();
  if (device_->FramesReachDevice()) return FramesFor::kDevice;
  return previewSeen_ ? FramesFor::kPreview : FramesFor::kNobody;
}

// ---- Whether the preview can be seen.

void CDevicePageUI::FindPictures() {
  for (const QPointer<QWidget>& picture : pictures_) {
    if (picture) picture->removeEventFilter(this);
  }
  pictures_.clear();
  if (CLightPreviewUI* preview = Preview()) pictures_.emplace_back(preview->GetWidget());
  const bool lights = std::any_of(lightButtons_.begin(), lightButtons_.end(),
                                  [](const QPointer<QWidget>& button) { return !button.isNull(); });
  if (lights) pictures_.emplace_back(ButtonSearchRoot()->GetWidget());
  for (const QPointer<QWidget>& picture : pictures_) picture->installEventFilter(this);
}

bool CDevicePageUI::PreviewCanBeSeen() const {
  return PreviewCanBeSeenIn(window());
}

bool CDevicePageUI::PreviewCanBeSeenIn(const QWidget* window) const {
  const bool shown = std::any_of(pictures_.begin(), pictures_.end(),
                                 [](const QPointer<QWidget>& picture) { return picture && picture->isVisible(); });
  if (!shown) return false;
  if (window->isMinimized()) return false;
  // A window that is shown but not mapped (unmapped by the window manager, on no screen) shows nothing.
  const QWindow* handle = window->windowHandle();
  return handle != nullptr && handle->isExposed();
}

void CDevicePageUI::UpdatePreviewSeen() {
  QWidget* window = this->window();
  WatchWindow(window);
  previewSeen_ = PreviewCanBeSeenIn(window);
  if (device_) device_->SetPreviewShown(previewSeen_);
}

void CDevicePageUI::WatchWindow(QWidget* window) {
  if (window != watchedWindow_) {
    if (watchedWindow_) watchedWindow_->removeEventFilter(this);
    watchedWindow_ = window;
    window->installEventFilter(this);
  }
  QWindow* handle = window->windowHandle();
  if (handle != watchedHandle_) {
    if (watchedHandle_) watchedHandle_->removeEventFilter(this);
    watchedHandle_ = handle;
    if (handle) handle->installEventFilter(this);
  }
}

bool CDevicePageUI::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Expose:
    case QEvent::WindowStateChange: {
      const bool wasSeen = previewSeen_;
      UpdatePreviewSeen();
      // Shown again: the lighting thread is already awake; the picture gets its frame at once.
      if (previewSeen_ && !wasSeen) {
        if (CDeviceOptionUI* tab = DeviceTab()) tab->PresentSoon();
      }
      break;
    }
    default:
      break;
  }
  return CHorizontalLayoutUI::eventFilter(watched, event);
}

int CDevicePageUI::IsWirelessLinkUp() {
  return device_ ? device_->IsWirelessLinkUp() : 0;
}

bool CDevicePageUI::IsChannelInUse() {
  return device_ && device_->IsCommandChannelInUse();
}

void CDevicePageUI::ReadWirelessStatus() {
  if (device_) device_->ReadWirelessStatus();
}

// No device kind asks for the two deferred tasks; the tab's timers for them stay as harmless no-ops.
void CDevicePageUI::RunFirstDeferredTask() {}

void CDevicePageUI::RunSecondDeferredTask() {}

// ---- The notice of a failed first synchronisation.

void CDevicePageUI::ShowSyncResult(devices::SyncResult result) {
  if (result == devices::SyncResult::kRefused && syncRetriesLeft_ > 0) {
    --syncRetriesLeft_;
    Trace("device page: the first synchronisation was refused; asking again in " +
          std::to_string(kFirstSyncRetryMs) + " ms");
    syncRetry_.start(kFirstSyncRetryMs);
    return;
  }
  // Only a first synchronisation is asked again; later reads say at once how they went.
  syncRetriesLeft_ = 0;
  const ui::CDuiString textId = devices::SyncResultTextId(result);
  const bool news = textId != noticeTextId_;
  ShowNotice(textId);
  // The window hears of a failure once, not on every retry of the same one.
  if (news && !textId.isEmpty() && messageSink_) messageSink_(textId, std::nullopt);
}

void CDevicePageUI::ShowNotice(const ui::CDuiString& textId) {
  noticeTextId_ = textId;
  ui::CControlUI* notice = FindSubControl(kNoticeName);
  if (!notice) return;
  if (textId.isEmpty()) {
    notice->SetVisible(false);
    return;
  }
  notice->SetTextId(textId);
  notice->SetVisible(true);
}

CDeviceProfileUI* CDevicePageUI::ProfileBar() {
  for (QWidget* w : findChildren<QWidget*>()) {
    if (auto* bar = dynamic_cast<CDeviceProfileUI*>(ui::ControlOf(w));
        bar && bar->GetName() == CDeviceProfileUI::kItemName)
      return bar;
  }
  return nullptr;
}

void CDevicePageUI::SetUpProfileBar() {
  CDeviceProfileUI* bar = ProfileBar();
  if (!bar || !device_) return;
  bar->SetDeviceKind(int(device_->KindCode()));
  bar->SetFolders(device_->UserProfileFolder(), device_->DefaultProfileFile());
  const ProfileListResult loaded = bar->LoadProfileList();
  if (!loaded.done()) Trace("device page: the profile list could not be loaded: " + loaded.error);
  bar->SelectTab(1);
  device_->SetProfileStem(bar->GetCurrentProfileId().toStdString());
}

bool CDevicePageUI::SwitchToChosenProfile() {
  CDeviceProfileUI* bar = ProfileBar();
  if (!bar || !device_) return false;
  auto* combo = dynamic_cast<ui::CComboUI*>(bar->FindSubControl("device_profile_combo"));
  const int chosen = combo ? combo->GetCurSel() : -1;
  if (chosen < 0 || chosen >= bar->GetProfileCount()) return false;
  const ProfileListResult selected = bar->SelectProfile(chosen, false);
  if (selected.code == ProfileListResult::kFileError) {
    if (messageSink_) messageSink_(ProfileResultMessageId(selected), std::nullopt);
    return false;
  }
  return LoadSelectedProfile();
}

bool CDevicePageUI::LoadSelectedProfile() {
  CDeviceProfileUI* bar = ProfileBar();
  if (!bar || !device_) return false;
  device_->SetProfileStem(bar->GetCurrentProfileId().toStdString());
  device_->LoadProfile();
  device_->RefreshPage();
  return true;
}

}  // namespace norvane::controls
