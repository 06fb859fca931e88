#pragma once
// Captured input as the macro recorder's handlers take it: a key by its keyboard message and scan code, a
// mouse button by its mouse message, with the time it happened (milliseconds on the capture's own clock,
// wrapping at 32 bits) and, for buttons, where the pointer was (in the window system's logical pixels).
//
// The messages are the classic desktop numbers the macro files and menus are written in terms of: keys
// 0x100 down / 0x101 up (0x104 / 0x105 with Alt held), buttons 0x201..0x208, the extra buttons 0x20B / 0x20C
// with the button number 1 (back) or 2 (forward).

#include <cstdint>

#include "macro/scan_codes.h"

namespace norvane::macro {

namespace hook_message {
inline constexpr std::uint16_t kKeyDown = 0x100;
inline constexpr std::uint16_t kKeyUp = 0x101;
inline constexpr std::uint16_t kSysKeyDown = 0x104;
inline constexpr std::uint16_t kSysKeyUp = 0x105;
inline constexpr std::uint16_t kLeftDown = 0x201;
inline constexpr std::uint16_t kLeftUp = 0x202;
inline constexpr std::uint16_t kRightDown = 0x204;
inline constexpr std::uint16_t kRightUp = 0x205;
inline constexpr std::uint16_t kMiddleDown = 0x207;
inline constexpr std::uint16_t kMiddleUp = 0x208;
inline constexpr std::uint16_t kExtraDown = 0x20B;
inline constexpr std::uint16_t kExtraUp = 0x20C;
}  // namespace hook_message

// The extra buttons' numbers.
inline constexpr int kBackButtonNumber = 1;
inline constexpr int kForwardButtonNumber = 2;

struct HookKeyEvent {
  std::uint16_t message = hook_message::kKeyDown;
  ScanCode scan;
  std::uint32_t time = 0;

  [[nodiscard]] bool IsPress() const {
    return message == hook_message::kKeyDown || message == hook_message::kSysKeyDown;
  }
};

struct HookMouseEvent {
  std::uint16_t message = hook_message::kLeftDown;
  int extraButton = 0;  // for kExtraDown / kExtraUp
  int x = 0;
  int y = 0;
  std::uint32_t time = 0;
};

// The modes a capture runs in: where its input goes.
enum class HookMode : int {
  kNone = 0,
  kSingleKey = 1,  // one key for the key editor
  kAppend = 4,     // recording after the last step
  kBefore = 8,     // recording before the selected step
  kAfter = 16,     // recording after the selected step
  kSingle = 32,    // recording the selected step's key or button again
};

[[nodiscard]] constexpr bool IsRecordingMode(HookMode mode) {
  return mode == HookMode::kAppend || mode == HookMode::kBefore || mode == HookMode::kAfter ||
         mode == HookMode::kSingle;
}

}  // namespace norvane::macro
