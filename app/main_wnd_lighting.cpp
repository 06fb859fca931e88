// The main window's lighting coordination: who drives the device lighting (this program or another one),
// the system's sleep, game events, the supported-device list for the device-list companion, and the pages
// that join the lighting synchronisation.
#include <QTimer>

#include "app/copy_data_record.h"
#include "app/device_list_record.h"
#include "app/game_light.h"
#include "app/instance_bus.h"
#include "app/light_sync.h"
#include "app/main_messages.h"
#include "app/main_wnd.h"
#include "app/page_lighting.h"
#include "app/resume_relight.h"
#include "controls/pages/device_page.h"
#include "platform/trace.h"

namespace norvane::app {

namespace {

constexpr const char* kLightControlLabel = "control_light_status";
constexpr const char* kControllingText = "light_control_on_text";      // "控制灯光"
constexpr const char* kNotControllingText = "light_control_off_text";  // "不控制灯光"
constexpr int kGameLightMs = 5000;

}  // namespace

void CMainWnd::SetLightControlAll(bool on) {
  if (devices_) {
    for (controls::CDevicePageUI* page : devices_->Pages()) {
      if (page->Device() && TakesLightControl(*page->Device())) page->Device()->SetLightControl(on);
    }
  }
  if (hooks_.setLightControlAll) hooks_.setLightControlAll(on);
}

void CMainWnd::SetLightControlFlag(bool on) {
  Trace(on ? "light control: this program drives the device lighting"
           : "light control: the device lighting is left to another program");
  lightControl_ = on;
  ShowLightControlState();
  // The lighting of before a sleep is not written over another program's.
  if (!on) relight_->Cancel();
  // While the system sleeps the pages stay off; the wake-up hands them the flag.
  if (awake_) SetLightControlAll(on);
}

void CMainWnd::ShowLightControlState() {
  if (ui::CControlUI* label = FindControl(kLightControlLabel))
    label->SetTextId(lightControl_ ? kControllingText : kNotControllingText);
}

void CMainWnd::ToggleLightControl(ui::CControlUI*) {
  const bool on = !lightControl_;
  Broadcast(RegisteredMessage::kLightControlStateMessage, 1, on ? 1 : 0);
  SetLightControlFlag(on);
}

void CMainWnd::OnPowerBroadcast(ui::WPARAM event) {
  if (event == PBT_APMSUSPEND) {
    // No keyboard stays held while the system sleeps: a recording ends as its stop button ends it.
    SetInputCapture(false);
    awake_ = false;
    relight_->OnSuspend();
    SetLightControlAll(false);
    if (devices_) devices_->SetSuspended(true);
  } else if (event == PBT_APMRESUMEAUTOMATIC) {
    awake_ = true;
    if (devices_) devices_->SetSuspended(false);
    SetLightControlAll(lightControl_);
    // Devices may have lost their lighting in the sleep: while it is ours, it goes back to them.
    if (lightControl_) {
      relight_->OnResume();
    } else {
      relight_->Cancel();
    }
  }
}

void CMainWnd::SendDeviceList() {
  if (hooks_.sendDeviceList) hooks_.sendDeviceList();
  // Only to a companion that is on the bus now; nothing waits for it.
  if (options_.bus &&
      !options_.bus->SendCopyDataTo(kDeviceListServiceName, kCopyDataDeviceList, BuildDeviceListRecord())) {
    Trace("device list: nobody to send it to");
  }
}

void CMainWnd::OnGameMessage(ui::WPARAM wParam, ui::LPARAM lParam) {
  if (wParam <= 2) {
    if (hooks_.gameLightEvent) hooks_.gameLightEvent(wParam, lParam);
    gameLight_->OnGameEvent(wParam, lParam);
  }
  // Any game message, also one this program does not know, leads to the restore 5 s later.
  StartTimer(kTimerGameLight, kGameLightMs);
}

void CMainWnd::OnUserLightEdit(controls::CDevicePageUI& page) {
  gameLight_->Forget(page);
  relight_->Forget(page);
  // A music effect chosen (or left) needs the audio companion at once, once the edit is done.
  QTimer::singleShot(0, GetWidget(), [this] {
    if (!destroyed_) WatchMusicEffects();
  });
}

void CMainWnd::OnPageCreatedForLighting(controls::CDevicePageUI& page) {
  if (!page.Device()) return;
  lightSync_->targets.Add(page.Device());
  if (TakesLightControl(*page.Device()) && !(lightControl_ && awake_)) page.Device()->SetLightControl(false);
}

}  // namespace norvane::app
