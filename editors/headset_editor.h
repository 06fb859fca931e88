#pragma once
// The headset editor: what the router hands it from a headset page's sound panel (Voice6533ControlItem),
// voice changer panel (MagicControlItem) and surround tab, carried out by the page's headset device, and
// the device's audio state shown on those panels after every change and every refresh of the page.
//
// A setting the headset's chip did not take is told once per page until one is taken again; the panels then
// show what the headset really has (an option the user flipped flips back). A name that is taken is told
// with "message_text_5".

#include "editors/editor.h"

namespace norvane::devices {
class CNorvaneHS6533Device;
}

namespace norvane::editors {

class CHeadsetEditor final : public IEditor {
 public:
  static constexpr const char* kWriteFailed = "hs_audio_write_failed";
  static constexpr const char* kSetsFull = "hs_eq_sets_full_text";
  static constexpr const char* kNameNeeded = "message_text_25";
  static constexpr const char* kNameTaken = "message_text_5";

  void OnRoute(const RoutedNotify& notify) override;
  void OnPageRefreshed(controls::CDevicePageUI& page) override { Show(page); }

  // The device's audio state on the page's panels.
  static void Show(controls::CDevicePageUI& page);

 private:
  static int Carry(const RoutedNotify& notify, controls::CDevicePageUI& page, devices::CNorvaneHS6533Device& headset);
  static void Report(controls::CDevicePageUI& page, int result);
};

}  // namespace norvane::editors
