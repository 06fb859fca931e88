#include "macro/scan_codes.h"

#include <linux/input-event-codes.h>

#include <array>
#include <utility>

namespace norvane::macro {

namespace {

struct Row {
  int key;
  ScanCode scan;
};

constexpr ScanCode Plain(std::uint8_t code) {
  return {code, false};
}
constexpr ScanCode Extended(std::uint8_t code) {
  return {code, true};
}

// The kernel numbered the keys of the PC keyboard by their set-1 scan codes, so KEY_ESC (1) to KEY_KPDOT
// (83) are their own codes; the rest are listed here.
constexpr std::array kOtherKeys = {
    Row{KEY_102ND, Plain(0x56)},        Row{KEY_F11, Plain(0x57)},
    Row{KEY_F12, Plain(0x58)},          Row{KEY_RO, Plain(0x73)},
    Row{KEY_KATAKANAHIRAGANA, Plain(0x70)}, Row{KEY_HENKAN, Plain(0x79)},
    Row{KEY_MUHENKAN, Plain(0x7B)},     Row{KEY_YEN, Plain(0x7D)},
    Row{KEY_KPENTER, Extended(0x1C)},   Row{KEY_RIGHTCTRL, Extended(0x1D)},
    Row{KEY_KPSLASH, Extended(0x35)},   Row{KEY_SYSRQ, Extended(0x37)},
    Row{KEY_RIGHTALT, Extended(0x38)},  Row{KEY_HOME, Extended(0x47)},
    Row{KEY_UP, Extended(0x48)},        Row{KEY_PAGEUP, Extended(0x49)},
    Row{KEY_LEFT, Extended(0x4B)},      Row{KEY_RIGHT, Extended(0x4D)},
    Row{KEY_END, Extended(0x4F)},       Row{KEY_DOWN, Extended(0x50)},
    Row{KEY_PAGEDOWN, Extended(0x51)},  Row{KEY_INSERT, Extended(0x52)},
    Row{KEY_DELETE, Extended(0x53)},    Row{KEY_PAUSE, Plain(0x45)},
    Row{KEY_LEFTMETA, Extended(0x5B)},  Row{KEY_RIGHTMETA, Extended(0x5C)},
    Row{KEY_COMPOSE, Extended(0x5D)},
    // The Brazilian keypad's separator and the Korean boards' two language keys (Hanja, Hangul), whose
    // one-byte codes 0xF1 and 0xF2 a hook reports without their top bit.
    Row{KEY_KPCOMMA, Plain(0x7E)},      Row{KEY_HANJA, Plain(0x71)},
    Row{KEY_HANGEUL, Plain(0x72)},
};

// Keys whose code a hook reports otherwise than the keyboard sends it: right Shift and Num Lock carry the
// extended flag (Pause, which shares Num Lock's code, does not).
constexpr std::array kFlaggedKeys = {Row{KEY_RIGHTSHIFT, Extended(0x36)}, Row{KEY_NUMLOCK, Extended(0x45)}};

}  // namespace

std::optional<ScanCode> ScanCodeOfLinuxKey(int key_code) {
  for (const Row& row : kFlaggedKeys) {
    if (row.key == key_code) return row.scan;
  }
  if (key_code >= KEY_ESC && key_code <= KEY_KPDOT) return Plain(std::uint8_t(key_code));
  for (const Row& row : kOtherKeys) {
    if (row.key == key_code) return row.scan;
  }
  return std::nullopt;
}

std::optional<int> LinuxKeyOfScanCode(ScanCode scan) {
  for (const Row& row : kFlaggedKeys) {
    if (row.scan == scan) return row.key;
  }
  const bool flagged = scan.code == KEY_RIGHTSHIFT || scan.code == KEY_NUMLOCK;  // only with the flag
  if (!scan.extended && !flagged && scan.code >= KEY_ESC && scan.code <= KEY_KPDOT) return scan.code;
  for (const Row& row : kOtherKeys) {
    if (row.scan == scan) return row.key;
  }
  return std::nullopt;
}

}  // namespace norvane::macro
