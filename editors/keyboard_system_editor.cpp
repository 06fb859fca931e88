#include "editors/keyboard_system_editor.h"

#include "controls/pages/device_page.h"
#include "devices/keyboard/keyboard_device.h"
#include "editors/page_controls.h"
#include "platform/trace.h"
#include "protocol/command_codes.h"
#include "uilib/edit.h"
#include "uilib/option.h"
#include "uilib/slider.h"

namespace norvane::editors {

namespace {

constexpr const char* kPollingPrefix = "polling_rate_option_";
constexpr const char* kDelayPrefix = "repeat_delay_check_";
constexpr const char* kDelayLabel = "repeat_delay_time_label1";
constexpr const char* kRateSlider = "repeat_rate_slider";
constexpr const char* kWinLock = "winlockflag_option";
constexpr const char* kWFlag = "wflag_option";
constexpr const char* kSixKey = "6flag_option";
constexpr const char* kRepeatInput = "repeat_input_richedit";
constexpr const char* kRepeatInputTip = "Repeat_input_text";
constexpr const char* kWriteFailed = "device_settings_write_failed";

devices::CNorvaneKeyboardDevice* KeyboardOf(controls::CDevicePageUI& page) {
  return dynamic_cast<devices::CNorvaneKeyboardDevice*>(page.Device());
}

// An index the options show: anything outside 0..3 shows as 0.
int ShownIndex(int index) {
  return index >= 0 && index < CKeyboardSystemEditor::kOptionCount ? index : 0;
}

void SelectOnly(controls::CDevicePageUI& page, const char* prefix, int index) {
  for (int i = 0; i < CKeyboardSystemEditor::kOptionCount; ++i) {
    if (auto* option = FindInPageAs<ui::COptionUI>(page, prefix + QString::number(i)))
      option->Selected(i == index, false);
  }
}

void ShowFlag(controls::CDevicePageUI& page, const char* name, std::uint16_t flag) {
  if (auto* option = FindInPageAs<ui::COptionUI>(page, name)) option->Selected(flag != 0, false);
}

void ShowDelayLabel(controls::CDevicePageUI& page, int index) {
  if (ui::CControlUI* label = FindInPage(page, kDelayLabel)) {
    label->SetResourceText(false);
    label->SetText(CKeyboardSystemEditor::RepeatDelayText(index));
  }
}

void ShowRepeatInput(controls::CDevicePageUI& page) {
  if (auto* input = FindInPageAs<ui::CRichEditUI>(page, kRepeatInput)) {
    input->SetText({});
    input->GetWidget()->setProperty("placeholderText", QString(LocalizedText(kRepeatInputTip)));
  }
}

bool IsSelected(const RoutedNotify& notify) {
  auto* option = dynamic_cast<ui::COptionUI*>(notify.msg ? notify.msg->pSender : nullptr);
  return option && option->IsSelected();
}

}  // namespace

ui::CDuiString CKeyboardSystemEditor::RepeatDelayText(int index) {
  return LocalizedText("Repeat_Delay_Time") + QString::number(ShownIndex(index) * 250 + 250) + "ms";
}

void CKeyboardSystemEditor::ShowSettings(controls::CDevicePageUI& page) {
  devices::CNorvaneKeyboardDevice* keyboard = KeyboardOf(page);
  if (!keyboard) return;
  const KeyboardSystemStages settings = keyboard->SystemSettings();
  SelectOnly(page, kPollingPrefix, ShownIndex(settings.polling_rate));
  ShowFlag(page, kWinLock, settings.win_flag);
  ShowFlag(page, kWFlag, settings.w_flag);
  ShowFlag(page, kSixKey, settings.key6_flag);
  if (auto* slider = FindInPageAs<ui::CSliderUI>(page, kRateSlider)) slider->SetValue(settings.repeat);
  SelectOnly(page, kDelayPrefix, ShownIndex(settings.repeat_delay));
  ShowDelayLabel(page, settings.repeat_delay);
  ShowRepeatInput(page);
}

void CKeyboardSystemEditor::OnRoute(const RoutedNotify& notify) {
  if (!notify.page) return;
  controls::CDevicePageUI& page = *notify.page;
  if (notify.action == RouteAction::kClearRepeatTest) {
    if (auto* input = FindInPageAs<ui::CRichEditUI>(page, kRepeatInput)) input->SetText({});
    return;
  }
  devices::CNorvaneKeyboardDevice* keyboard = KeyboardOf(page);
  if (!keyboard) return;
  KeyboardSystemStages settings = keyboard->SystemSettings();
  switch (notify.action) {
    case RouteAction::kPollingRate:
      // The option that was unselected by its group mate says nothing; the selected one carries the rate.
      if (notify.number < 0 || notify.number >= kOptionCount || !IsSelected(notify)) return;
      settings.polling_rate = std::uint16_t(notify.number);
      break;
    case RouteAction::kRepeatDelay:
      if (notify.number < 0 || notify.number >= kOptionCount || !IsSelected(notify)) return;
      settings.repeat_delay = std::uint16_t(notify.number);
      ShowDelayLabel(page, notify.number);
      break;
    case RouteAction::kRepeatRate: {
      auto* slider = dynamic_cast<ui::CSliderUI*>(notify.msg ? notify.msg->pSender : nullptr);
      if (!slider) return;
      settings.repeat = std::uint16_t(std::clamp(slider->GetValue(), 0, 0xFFFF));
      break;
    }
    case RouteAction::kWindowsKeyLock:
      settings.win_flag = IsSelected(notify) ? 1 : 0;
      break;
    case RouteAction::kWFlag:
      settings.w_flag = IsSelected(notify) ? 1 : 0;
      break;
    case RouteAction::kSixKeyFlag:
      settings.key6_flag = IsSelected(notify) ? 1 : 0;
      break;
    default:
      return;
  }
  if (settings == keyboard->SystemSettings()) return;
  Apply(page, *keyboard, settings);
}

void CKeyboardSystemEditor::Apply(controls::CDevicePageUI& page, devices::CNorvaneKeyboardDevice& keyboard,
                                  const KeyboardSystemStages& settings) {
  keyboard.SetSystemSettings(settings);
  keyboard.SaveProfile();
  const int written = keyboard.WriteSettings(0, 0);
  if (written == protocol::kResultOk) return;
  Trace("keyboard system settings: the write failed with " + std::to_string(written));
  // A keyboard that is not connected gets the settings with its next synchronisation; say so only when
  // one that is there did not take them.
  if (keyboard.CommandChannel().IsOpen()) page.ShowMessage({kWriteFailed});
}

}  // namespace norvane::editors
