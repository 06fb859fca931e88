#pragma once
// Keys as the program recognises a pressed key: its PC scan code (set 1) and whether it carries the
// extended (E0) prefix, the way a keyboard hook reports them (Num Lock carries the extended flag, Pause does
// not). Every capture backend speaks Linux key codes (X11 key codes are those plus 8); this is the one table
// that turns them into scan codes, for the key editor's key capture and for macro recording alike.

#include <cstdint>
#include <optional>

namespace norvane::macro {

struct ScanCode {
  std::uint8_t code = 0;
  bool extended = false;
  friend bool operator==(const ScanCode&, const ScanCode&) = default;
};

// The scan code of a Linux key code (KEY_A, KEY_RIGHTCTRL, ...); nullopt for a key without one.
[[nodiscard]] std::optional<ScanCode> ScanCodeOfLinuxKey(int key_code);

// The Linux key code of a scan code; nullopt for one no key has.
[[nodiscard]] std::optional<int> LinuxKeyOfScanCode(ScanCode scan);

// X11 key codes are the kernel's key codes plus 8.
inline constexpr int kX11KeyCodeOffset = 8;

}  // namespace norvane::macro
