#include "editors/headset_editor.h"

#include "controls/pages/device_page.h"
#include "devices/headset/hs6533_device.h"
#include "editors/magic_control.h"
#include "editors/page_controls.h"
#include "editors/voice6533_control.h"
#include "platform/trace.h"
#include "uilib/option.h"
#include "uilib/slider.h"

namespace norvane::editors {

namespace {

constexpr const char* kSurroundState = "hs_surround_state";
constexpr const char* kToldProperty = "_nv_audio_write_failed";

devices::CNorvaneHS6533Device* HeadsetOf(controls::CDevicePageUI& page) {
  return dynamic_cast<devices::CNorvaneHS6533Device*>(page.Device());
}

// The option's state as the notification reports it: the state it changed to, whatever happened to the
// option since.
bool IsSelected(const RoutedNotify& notify) {
  return notify.msg && dynamic_cast<ui::COptionUI*>(notify.msg->pSender) && notify.msg->wParam != 0;
}

std::optional<int> SliderValue(const RoutedNotify& notify) {
  auto* slider = dynamic_cast<ui::CSliderUI*>(notify.msg ? notify.msg->pSender : nullptr);
  if (!slider) return std::nullopt;
  return slider->GetValue();
}

}  // namespace

void CHeadsetEditor::OnRoute(const RoutedNotify& notify) {
  if (!notify.page) return;
  controls::CDevicePageUI& page = *notify.page;
  devices::CNorvaneHS6533Device* headset = HeadsetOf(page);
  if (!headset) return;
  const int result = Carry(notify, page, *headset);
  Report(page, result);
  // Nothing changed: the panels stay as the user left them (an option a group mate unselected must not be
  // shown selected again while its mate's own notification is still on its way).
  if (result != devices::kAudioNothing) Show(page);
}

int CHeadsetEditor::Carry(const RoutedNotify& notify, controls::CDevicePageUI& page,
                          devices::CNorvaneHS6533Device& headset) {
  auto* voice = FindInPageAs<CVoice6533ControlUI>(page, CVoice6533ControlUI::kItemName);
  switch (notify.action) {
    case RouteAction::kEqPreset:
      // The option that its group mate unselected says nothing.
      return IsSelected(notify) ? headset.ApplyEqPreset(notify.number) : devices::kAudioNothing;
    case RouteAction::kEqBand: {
      const std::optional<int> value = SliderValue(notify);
      return value ? headset.SetEqBand(notify.number, *value) : devices::kAudioNothing;
    }
    case RouteAction::kCustomEqChosen:
      return voice ? headset.ApplyCustomEq(voice->GetCustomSelection()) : devices::kAudioNothing;
    case RouteAction::kEqSave: {
      if (!voice) return devices::kAudioNothing;
      const std::string name = voice->GetCustomName();
      const int saved = headset.SaveCustomEq(name, voice->GetBands());
      if (saved == devices::kAudioDone) {
        voice->ClearCustomName();
      } else if (saved == devices::kAudioNothing) {
        page.ShowMessage({kNameTaken});
      } else if (saved == devices::kAudioRefused) {
        page.ShowMessage({name.empty() ? kNameNeeded : kSetsFull});
      }
      return saved;
    }
    case RouteAction::kEqDelete:
      return headset.DeleteCustomEq();
    case RouteAction::kMicIn:
      return headset.SetMicOn(IsSelected(notify));
    case RouteAction::kMicMonitor:
      return headset.SetMonitorOn(IsSelected(notify));
    case RouteAction::kMicInLevel: {
      const std::optional<int> value = SliderValue(notify);
      return value ? headset.ApplyMicLevel(*value) : devices::kAudioNothing;
    }
    case RouteAction::kMicMonitorLevel: {
      const std::optional<int> value = SliderValue(notify);
      return value ? headset.ApplyMonitorLevel(*value) : devices::kAudioNothing;
    }
    case RouteAction::kVoiceEnable:
      return headset.SetVoiceChanger(IsSelected(notify));
    case RouteAction::kVoiceEffect:
      return IsSelected(notify) ? headset.SelectVoice(notify.number) : devices::kAudioNothing;
    default:
      return devices::kAudioNothing;
  }
}

void CHeadsetEditor::Report(controls::CDevicePageUI& page, int result) {
  if (result == devices::kAudioDone) {
    page.setProperty(kToldProperty, false);
    return;
  }
  if (result != devices::kAudioNotTaken) return;
  Trace("headset editor: the audio chip did not take a setting");
  if (page.property(kToldProperty).toBool()) return;
  page.setProperty(kToldProperty, true);
  page.ShowMessage({kWriteFailed});
}

void CHeadsetEditor::Show(controls::CDevicePageUI& page) {
  devices::CNorvaneHS6533Device* headset = HeadsetOf(page);
  if (!headset) return;
  const devices::CNorvaneHS6533Device::AudioView& audio = headset->Audio();
  if (auto* voice = FindInPageAs<CVoice6533ControlUI>(page, CVoice6533ControlUI::kItemName)) {
    voice->SetEqualizerAvailable(audio.equalizer);
    voice->ShowPreset(audio.shownPreset);
    voice->ShowBands(audio.bands);
    voice->ShowCustomSets(audio.customNames, audio.customSelection, audio.customSetsShown);
    voice->ShowMicrophone({.on = audio.settings.mic_in_select != 0,
                           .level = audio.settings.mic_in_value,
                           .decibels = audio.micDb,
                           .levelAvailable = audio.micLevel,
                           .switchAvailable = audio.micMute});
    voice->ShowMonitoring({.on = audio.settings.mic_monitor_select != 0,
                           .level = audio.settings.mic_monitor_value,
                           .decibels = audio.monitorDb,
                           .levelAvailable = audio.monitorLevel,
                           .switchAvailable = audio.monitorMute});
    voice->ShowNotice(audio.noticeTextId);
  }
  if (auto* magic = FindInPageAs<CMagicControlUI>(page, CMagicControlUI::kItemName)) {
    magic->ShowVoiceChanger(audio.settings.magic_enable != 0, audio.settings.magic_type, audio.voiceChanger);
  }
  if (ui::CControlUI* surround = FindInPage(page, kSurroundState)) {
    surround->SetTextId(audio.surround ? "hs_surround_off_text" : "hs_surround_unavailable_text");
  }
}

}  // namespace norvane::editors
