// Linux key codes to the PC set-1 scan codes a keyboard hook reports, and back.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "macro/scan_codes.h"

namespace norvane::macro {
namespace {

TEST(ScanCodes, KeysReadAsTheHookReportsThem) {
  struct Case {
    int key;  // the kernel's key code
    std::uint8_t code;
    bool extended;
  };
  for (const Case& c : {Case{1, 0x01, false},     // Esc
                        Case{30, 0x1E, false},    // A
                        Case{42, 0x2A, false},    // left Shift
                        Case{54, 0x36, true},     // right Shift: the hook flags it extended
                        Case{29, 0x1D, false},    // left Ctrl
                        Case{97, 0x1D, true},     // right Ctrl
                        Case{28, 0x1C, false},    // Enter
                        Case{96, 0x1C, true},     // keypad Enter
                        Case{53, 0x35, false},    // /
                        Case{98, 0x35, true},     // keypad /
                        Case{69, 0x45, true},     // Num Lock
                        Case{119, 0x45, false},   // Pause
                        Case{71, 0x47, false},    // keypad 7
                        Case{102, 0x47, true},    // Home
                        Case{103, 0x48, true},    // Up
                        Case{111, 0x53, true},    // Delete
                        Case{87, 0x57, false},    // F11
                        Case{88, 0x58, false},    // F12
                        Case{99, 0x37, true},     // Print Screen
                        Case{125, 0x5B, true},    // left Win
                        Case{127, 0x5D, true},    // the application key
                        Case{86, 0x56, false},    // the key beside left Shift on ISO boards
                        Case{121, 0x7E, false},   // the Brazilian keypad's separator
                        Case{123, 0x71, false},   // Hanja
                        Case{122, 0x72, false}}) { // Hangul
    const std::optional<ScanCode> scan = ScanCodeOfLinuxKey(c.key);
    ASSERT_TRUE(scan) << c.key;
    EXPECT_EQ(*scan, (ScanCode{c.code, c.extended})) << c.key;
    EXPECT_EQ(LinuxKeyOfScanCode(*scan), c.key) << c.key;
  }
}

TEST(ScanCodes, KeysWithoutAScanCodeAndCodesWithoutAKeyGiveNothing) {
  for (int key : {0, -1, 113 /* mute */, 240, 100000}) EXPECT_FALSE(ScanCodeOfLinuxKey(key)) << key;
  EXPECT_FALSE(LinuxKeyOfScanCode({0x1E, true}));
  EXPECT_FALSE(LinuxKeyOfScanCode({0x00, false}));
  EXPECT_FALSE(LinuxKeyOfScanCode({0xFF, false}));
  EXPECT_FALSE(LinuxKeyOfScanCode({0x36, false})) << "right Shift comes flagged";
}

TEST(ScanCodes, NoTwoKeysShareAScanCode) {
  std::map<std::pair<int, bool>, int> seen;
  for (int key = 0; key < 256; ++key) {
    const std::optional<ScanCode> scan = ScanCodeOfLinuxKey(key);
    if (!scan) continue;
    const auto [it, fresh] = seen.emplace(std::make_pair(scan->code, scan->extended), key);
    EXPECT_TRUE(fresh) << "keys " << it->second << " and " << key;
  }
  EXPECT_GE(seen.size(), 104u) << "every key of a full-size board";
}

}  // namespace
}  // namespace norvane::macro
