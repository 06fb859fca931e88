#pragma once
// The in-process messages the main window answers. Numbers keep the values the program's components agree
// on; registered messages from other programs arrive over the bus and are posted to the window under the
// ids below (kRegisteredMessageBase + their place in the table), so they are queued calls on the UI thread
// like every other message.

#include <optional>

#include "app/registered_messages.h"
#include "uilib/types.h"

namespace norvane::app {

using ui::LPARAM;
using ui::UINT;
using ui::WPARAM;

// Delivered by the window library.
using ui::WA_INACTIVE;
using ui::WM_ACTIVATE;
using ui::WM_MOUSEHOVER;
using ui::WM_MOUSELEAVE;

inline constexpr UINT WM_COPYDATA = 0x004A;
inline constexpr UINT WM_DISPLAYCHANGE = 0x007E;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_POWERBROADCAST = 0x0218;

inline constexpr WPARAM PBT_APMSUSPEND = 0x04;
inline constexpr WPARAM PBT_APMRESUMEAUTOMATIC = 0x12;

inline constexpr UINT kMsgHookInstall = ui::WM_USER + 30;  // wParam 0 remove, 1 install
inline constexpr UINT kMsgTraceOnly = ui::WM_USER + 200;
inline constexpr UINT kMsgShowSettingProgress = 3072;
inline constexpr UINT kMsgSwitchLanguage = 3089;  // wParam: language index
inline constexpr UINT kMsgInterfaceFound = 3090;
inline constexpr UINT kMsgInterfaceLost = 3091;
inline constexpr UINT kMsgOpenSettings = 3093;
inline constexpr UINT kMsgClearUpdateBadge = 3094;
inline constexpr UINT kMsgNothing = 3330;
inline constexpr UINT kMsgDeviceTabLink = 3331;  // wParam: tab index, lParam 0 hide / 1 show

// Registered messages live above every fixed number, as they do where ids are handed out by name.
inline constexpr UINT kRegisteredMessageBase = 0xC000;
UINT RegisteredMessageId(RegisteredMessage id);
std::optional<RegisteredMessage> RegisteredMessageFromId(UINT msg);

// The main window's timers. Each fires once per start.
enum MainTimer : int {
  kTimerApplyScale = 1011,     // start-up, 100 ms
  kTimerTrayMenu = 1032,       // tray right click, 10 ms
  kTimerProfileSwitch = 1055,  // profile chosen in "device_profile_combo", 400 ms
  kTimerGameLight = 1066,      // game lighting effect, 5000 ms
};

}  // namespace norvane::app
