#pragma once
// The keyboard's system settings on its "System" tab: report rate, key repeat delay and rate, the
// Windows-key lock, the W and six-key flags, and a field to try the repeat in. A change is kept in the
// device's settings and its profile, the profile is saved, and the settings record is written to the
// keyboard (profile 0, value 0). Repeat rate and delay live in the profile only: the keyboard's record has
// no byte for them, and the report rate is written but never read back.
//
// Controls (inside the keyboard page): "polling_rate_option_0".."3", "repeat_delay_check_0".."3",
// "repeat_delay_time_label1", "repeat_rate_slider", "winlockflag_option", "wflag_option", "6flag_option",
// "repeat_input_richedit" and "reset_repeat_btn".

#include "editors/editor.h"
#include "profiles/profile_records.h"

namespace norvane::devices {
class CNorvaneKeyboardDevice;
}

namespace norvane::editors {

class CKeyboardSystemEditor final : public IEditor {
 public:
  static constexpr int kOptionCount = 4;

  void OnRoute(const RoutedNotify& notify) override;
  void OnPageRefreshed(controls::CDevicePageUI& page) override { ShowSettings(page); }
  // Shows the device's settings on its page (after every refresh of the device).
  static void ShowSettings(controls::CDevicePageUI& page);
  // "Repeat_Delay_Time" followed by the delay in milliseconds: index 0..3 gives 250..1000 ms.
  static ui::CDuiString RepeatDelayText(int index);

 private:
  // Stores the settings, saves the profile and writes the record; tells the user when the write failed.
  static void Apply(controls::CDevicePageUI& page, devices::CNorvaneKeyboardDevice& keyboard,
                    const KeyboardSystemStages& settings);
};

}  // namespace norvane::editors
