#pragma once
// The one way from a device object to its page's widgets. The device object is display-free; the UI layer
// implements this and attaches it. Every call comes on the UI thread. Beyond the button binding, every
// member has a do-nothing default, so a page (or a test's stand-in) implements only what it shows.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "devices/key_labels.h"
#include "devices/lighting/device_frame.h"
#include "devices/lighting/led_record.h"

namespace norvane::devices {

// Which tabs of the page's function switches to show.
struct FunctionTabSelection {
  int function_tab = 0;
  int key_function_tab = -1;  // -1: leave the key-function switch as it is
  friend bool operator==(const FunctionTabSelection&, const FunctionTabSelection&) = default;
};

// A message for the user by language text id; `value` fills in the number of a text that is a format.
struct DeviceMessage {
  std::string textId;
  std::optional<int> value = {};
  friend bool operator==(const DeviceMessage&, const DeviceMessage&) = default;
};

// How the last first synchronisation went.
enum class SyncResult {
  kNotRun,        // no synchronisation yet
  kDone,          // the first read was answered: the information block (a headset's active profile number)
  kNotConnected,  // the command channel was closed: nothing was asked
  kRefused,       // the device refused a request (status 0xFF or 0xFE)
  kNoReply,       // no reply in time, the request could not be written, or the receiver's link is down
};

class PageView {
 public:
  virtual ~PageView() = default;
  // Binds the page's key and light buttons for these counts (both 0 for a page without a skin).
  virtual void BindKeyButtons(int key_count, int led_count) = 0;
  virtual void ShowFunctionTabs(FunctionTabSelection selection) = 0;
  // The wireless-capable flag, for the power-status control.
  virtual void ShowWirelessCapable(bool capable) = 0;

  // What the user should know (a failed write, a macro set too large).
  virtual void ShowMessage(const DeviceMessage& /*message*/) {}
  // The 6-byte wireless status record (byte 3: 1 on the receiver link).
  virtual void ShowWirelessStatus(std::span<const std::uint8_t> /*status*/) {}
  // After every first synchronisation.
  virtual void ShowSyncResult(SyncResult /*result*/) {}
  // The device refreshed its state (lists, lighting, settings): the page shows it.
  virtual void RefreshPage() {}
  // The device switched its profile itself: the profile list starts over and key buttons lose their marks.
  virtual void ProfileSwitched() {}
  // A key button's selection state (function tab 1 selects, 2 deselects one key).
  virtual void SelectKeyButton(int /*key*/, bool /*selected*/) {}
  // SelectKey or SelectLightKey: show the key assignment editor for this key.
  virtual void ShowKeyAssignment(int /*key*/) {}
  // A key button's label: the name key of the key's own name and what its function does.
  virtual void ShowKeyLabel(int /*key*/, std::string_view /*ownNameKey*/, const KeyLabel& /*label*/) {}
  // The page's first hint has done its work once the user chose a function tab.
  virtual void HideHint() {}
};

// The lighting preview: called by PresentFrame with the LED records it presented and the device frame
// built from them.
class FramePreview {
 public:
  virtual ~FramePreview() = default;
  virtual void ShowFrame(std::span<const lighting::LedRecord> leds, const lighting::DeviceFrame& frame) = 0;
};

}  // namespace norvane::devices
