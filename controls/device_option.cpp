#include "controls/device_option.h"

#include <QAbstractButton>
#include <QFileInfo>

#include "uilib/paint_manager.h"
#include "uilib/resource_manager.h"
#include "uilib/tab_layout.h"
#include "uilib/window_wnd.h"

namespace norvane::controls {

namespace {

constexpr int kAttachDelayMs = 500;
constexpr int kLinkRetryMs = 3000;
constexpr int kFirstFrameMs = 5;
constexpr int kFrameReceiverMs = 50;
constexpr int kFrameWiredMs = 10;
// Frames only the preview wants follow the lighting tick (15.625 ms): a little faster, so none is missed.
constexpr int kFramePreviewMs = 15;
// How often a tab whose frames nobody wants looks whether that changed.
constexpr int kFrameDemandCheckMs = 250;
constexpr int kFirstStatusMs = 50;
constexpr int kStatusRepeatMs = 5000;
constexpr int kLinkWatchFirstMs = 2000;
constexpr int kLinkWatchRepeatMs = 3000;

template <class T>
T* As(const QPointer<QWidget>& widget) {
  return widget ? dynamic_cast<T*>(ui::ControlOf(widget.data())) : nullptr;
}

// A skin without the icon images keeps the theme's drawing instead of an empty picture.
bool SkinImageExists(const ui::CDuiString& image) {
  return QFileInfo(ui::CResourceManager::GetInstance().ResolveResource(image)).isFile();
}

}  // namespace

void CDeviceOptionUI::DoInit() {
  GetDeviceOption();
}

ui::COptionUI* CDeviceOptionUI::GetDeviceOption() {
  if (!built_) {
    built_ = true;
    if (!FindSubControl("device_select")) LoadSubSkin(kSkin);
    if (ui::CControlUI* option = FindSubControl("device_select")) {
      device_ = option->GetWidget();
      if (auto* button = qobject_cast<QAbstractButton*>(device_.data())) {
        QObject::connect(button, &QAbstractButton::toggled, button,
                         [this](bool on) { OnDeviceOptionToggled(on); });
      }
    }
    if (ui::CControlUI* synchro = FindSubControl("synchro_device_select")) synchro_ = synchro->GetWidget();
    if (ui::CControlUI* name = FindSubControl("device_select_name")) name_ = name->GetWidget();
    ApplyImages();
  }
  return As<ui::COptionUI>(device_);
}

ui::COptionUI* CDeviceOptionUI::GetSynchroOption() {
  GetDeviceOption();
  return As<ui::COptionUI>(synchro_);
}

ui::CControlUI* CDeviceOptionUI::GetNameLabel() {
  GetDeviceOption();
  return As<ui::CControlUI>(name_);
}

void CDeviceOptionUI::SetPage(IDeviceTabPage* page) {
  if (page == page_) return;
  if (!page) StopTimers();
  page_ = page;
}

void CDeviceOptionUI::SetAnimatedControl(ui::CControlUI* control) {
  animated_ = control ? control->GetWidget() : nullptr;
}

void CDeviceOptionUI::SetDeviceName(const ui::CDuiString& text, bool isTextId) {
  ui::CControlUI* label = GetNameLabel();
  if (!label) return;
  if (isTextId) {
    label->SetTextId(text);
  } else {
    label->SetText(text);
  }
}

void CDeviceOptionUI::SetIconKind(int kind, int variant) {
  iconKind_ = kind;
  iconVariant_ = variant;
  const std::optional<ui::CDuiString> stem = DeviceIconStem(kind, variant);
  if (!stem) return;
  icons_ = DeviceIconsForStem(*stem);
  if (ui::COptionUI* option = GetDeviceOption()) {
    option->GetWidget()->setProperty("tooltipid", QString(icons_.tooltipTextId));
    option->SetToolTip(
        ui::CResourceManager::GetInstance().GetText(icons_.tooltipTextId).value_or(icons_.tooltipTextId));
  }
  ApplyImages();
}

ui::CDuiString CDeviceOptionUI::CurrentImage() const {
  const ui::COptionUI* option = As<ui::COptionUI>(device_);
  const bool selected = option && option->IsSelected();
  const ui::COptionUI* synchro = As<ui::COptionUI>(synchro_);
  if (synchro && synchro->IsSelected()) return selected ? icons_.synchroSelected : icons_.synchroNormal;
  return selected ? icons_.selected : icons_.normal;
}

void CDeviceOptionUI::ApplyImages() {
  ui::COptionUI* option = As<ui::COptionUI>(device_);
  if (!option) return;
  const ui::CDuiString image = CurrentImage();
  option->SetBkImage(SkinImageExists(image) ? image : ui::CDuiString());
}

void CDeviceOptionUI::SetOptionGroup(const ui::CDuiString& group) {
  if (ui::COptionUI* option = GetDeviceOption()) option->SetGroup(group);
}

bool CDeviceOptionUI::IsSelected() {
  ui::COptionUI* option = GetDeviceOption();
  return option && option->IsSelected();
}

bool CDeviceOptionUI::IsSynchroChecked() {
  ui::COptionUI* synchro = GetSynchroOption();
  return synchro && synchro->IsSelected();
}

void CDeviceOptionUI::SetSynchro(bool on) {
  if (ui::COptionUI* synchro = GetSynchroOption()) synchro->Selected(on, false);
  ApplyImages();
}

void CDeviceOptionUI::ShowSynchroOption(bool show) {
  if (ui::COptionUI* synchro = GetSynchroOption()) synchro->SetVisible(show);
}

ui::CControlUI* CDeviceOptionUI::FindInWindow(const ui::CDuiString& name) const {
  if (name.isEmpty()) return nullptr;
  if (ui::CPaintManagerUI* pm = GetManager()) return pm->FindControl(name);
  // Outside a window (a strip being assembled): look through the widget tree the tab belongs to.
  for (QWidget* w : window()->findChildren<QWidget*>(name)) {
    if (ui::CControlUI* control = ui::ControlOf(w)) return control;
  }
  return nullptr;
}

void CDeviceOptionUI::ShowBoundPages() {
  if (auto* pages = dynamic_cast<ui::CTabLayoutUI*>(FindInWindow(tabLayoutName_)); pages && tabIndex_ >= 0)
    pages->SelectItem(tabIndex_);
  if (auto* power = dynamic_cast<ui::CTabLayoutUI*>(FindInWindow(powerLayoutName_))) {
    if (powerIndex_ < 0) {
      power->SetVisible(false);
    } else {
      power->SetVisible(true);
      power->SelectItem(powerIndex_);
    }
  }
}

void CDeviceOptionUI::OnDeviceOptionToggled(bool selected) {
  if (selected) ShowBoundPages();
  ApplyImages();
}

int CDeviceOptionUI::TabIndex() const {
  auto* strip = dynamic_cast<ui::CContainerUI*>(ui::ControlOf(parentWidget()));
  return strip ? strip->GetItemIndex(const_cast<CDeviceOptionUI*>(this)) : -1;
}

void CDeviceOptionUI::SendLinkMessage(bool show) {
  ui::CPaintManagerUI* pm = GetManager();
  const int index = TabIndex();
  if (!pm || index < 0) return;
  pm->GetWindow().SendMessage(kDeviceTabLinkMessage, ui::WPARAM(index), show ? 1 : 0);
}

void CDeviceOptionUI::StartAttachTimer() {
  ui::CPaintManagerUI::SetTimer(this, kTimerAttach, kAttachDelayMs);
}

void CDeviceOptionUI::StartLinkWatch() {
  ui::CPaintManagerUI::SetTimer(this, kTimerLinkWatch, kLinkWatchFirstMs);
}

void CDeviceOptionUI::StopTimers() {
  for (int id : {kTimerPresentFrame, kTimerAttach, kTimerResync, kTimerFirstDeferred, kTimerSecondDeferred,
                 kTimerWirelessStatus, kTimerLinkWatch}) {
    ui::CPaintManagerUI::KillTimer(this, id);
  }
}

void CDeviceOptionUI::OnTimer(int timerId) {
  const bool ours = timerId == kTimerPresentFrame || timerId == kTimerAttach || timerId == kTimerResync ||
                    timerId == kTimerFirstDeferred || timerId == kTimerSecondDeferred ||
                    timerId == kTimerWirelessStatus || timerId == kTimerLinkWatch;
  if (!ours) {
    ui::CHorizontalLayoutUI::OnTimer(timerId);
    return;
  }
  // A tab whose page is gone has nothing to drive; its timers simply lapse.
  if (!page_) return;
  switch (timerId) {
    case kTimerPresentFrame:
      OnPresentFrameTimer();
      break;
    case kTimerAttach:
      OnAttachTimer();
      break;
    case kTimerResync:
      page_->Resync();
      break;
    case kTimerFirstDeferred:
      page_->RunFirstDeferredTask();
      break;
    case kTimerSecondDeferred:
      page_->RunSecondDeferredTask();
      break;
    case kTimerWirelessStatus:
      if (!page_->IsChannelInUse()) page_->ReadWirelessStatus();
      if (page_ && page_->IsWirelessCapable())
        ui::CPaintManagerUI::SetTimer(this, kTimerWirelessStatus, kStatusRepeatMs);
      break;
    default:  // kTimerLinkWatch
      OnLinkWatchTimer();
      break;
  }
}

void CDeviceOptionUI::PresentSoon() {
  // Only while frames are being presented at all: the first one follows the first synchronisation.
  if (page_ && page_->IsChannelOpen() && IsTimerRunning(kTimerPresentFrame))
    ui::CPaintManagerUI::SetTimer(this, kTimerPresentFrame, 0);
}

void CDeviceOptionUI::OnPresentFrameTimer() {
  const FramesFor wanted = page_->NeedsFrames();
  if (wanted != FramesFor::kNobody) {
    page_->PresentFrame();
    if (page_->WantsAnimationRedraw() && animated_ && IsSelected()) animated_->update();
  }
  if (!page_->IsChannelOpen()) return;
  int next = kFrameDemandCheckMs;
  if (wanted == FramesFor::kPreview) next = kFramePreviewMs;
  if (wanted == FramesFor::kDevice) next = page_->IsReceiverLink() ? kFrameReceiverMs : kFrameWiredMs;
  ui::CPaintManagerUI::SetTimer(this, kTimerPresentFrame, next);
}

void CDeviceOptionUI::OnAttachTimer() {
  if (page_->IsReceiverLink() && page_->IsChannelOpen()) {
    if (page_->IsWirelessLinkUp() != 1) {
      if (IsVisible()) SendLinkMessage(false);
      ui::CPaintManagerUI::SetTimer(this, kTimerAttach, kLinkRetryMs);
      return;
    }
    SendLinkMessage(true);
    if (!page_) return;  // the window may have unlinked the page while handling the message
  }
  page_->InitialSync();
  if (!page_) return;
  ui::CPaintManagerUI::SetTimer(this, kTimerPresentFrame, kFirstFrameMs);
  if (page_->IsWirelessCapable() && page_->IsChannelOpen())
    ui::CPaintManagerUI::SetTimer(this, kTimerWirelessStatus, kFirstStatusMs);
  if (page_->IsReceiverLink()) ui::CPaintManagerUI::SetTimer(this, kTimerLinkWatch, kLinkWatchFirstMs);
}

void CDeviceOptionUI::OnLinkWatchTimer() {
  if (!page_->IsReceiverLink()) return;
  // A receiver that was unplugged has nothing to report; the next attach starts the watch again.
  if (!page_->IsChannelOpen()) return;
  if (page_->IsChannelInUse()) {
    ui::CPaintManagerUI::SetTimer(this, kTimerLinkWatch, kLinkWatchRepeatMs);
    return;
  }
  const bool online = page_->IsWirelessLinkUp() == 1;
  if (online && !IsVisible()) {
    SendLinkMessage(true);
    if (page_ && page_->IsWirelessCapable()) page_->ReadWirelessStatus();
  } else if (!online && IsVisible()) {
    SendLinkMessage(false);
  }
  if (page_ && page_->IsReceiverLink())
    ui::CPaintManagerUI::SetTimer(this, kTimerLinkWatch, kLinkWatchRepeatMs);
}

}  // namespace norvane::controls
