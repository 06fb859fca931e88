#pragma once
// What a device page needs from its widgets. The page itself is display-free; the UI layer implements these
// and attaches them. Every call comes on the UI thread.

#include <span>

#include "devices/lighting/device_frame.h"
#include "devices/lighting/led_record.h"

namespace norvane::devices {

// Which tabs of the page's function switches to show.
struct FunctionTabSelection {
  int function_tab = 0;
  int key_function_tab = -1;  // -1: leave the key-function switch as it is
  friend bool operator==(const FunctionTabSelection&, const FunctionTabSelection&) = default;
};

class PageView {
 public:
  virtual ~PageView() = default;
  // Binds the page's key and light buttons for these counts (both 0 for a page without a skin).
  virtual void BindKeyButtons(int key_count, int led_count) = 0;
  virtual void ShowFunctionTabs(FunctionTabSelection selection) = 0;
  // The wireless-capable flag, for the power-status control.
  virtual void ShowWirelessCapable(bool capable) = 0;
};

// The lighting preview: called by PresentFrame with the LED records it presented and the device frame
// built from them.
class FramePreview {
 public:
  virtual ~FramePreview() = default;
  virtual void ShowFrame(std::span<const lighting::LedRecord> leds, const lighting::DeviceFrame& frame) = 0;
};

}  // namespace norvane::devices
