#pragma once
// What the key assignment editor's controls hold, as plain values, and the rules between those values and a
// key's function: showing a function fills the fields, reading the fields gives a function back, a captured
// key fills the keyboard-key fields. The editor control copies the fields to and from its widgets; the rules
// live here so they can be checked without a window.
//
// Function kinds (the page of "function_switch_tablayout" and the user data of "keyset_function_combo"):
// 0 default, 1 mouse button, 2 pointer movement, 3 wheel, 4 DPI step, 5 rapid fire, 6 keyboard key, 7 media
// key, 8 system key, 9 macro, 10 gun key, 11 shortcut.

#include <cstdint>
#include <string>

#include "macro/scan_codes.h"
#include "profiles/profile_records.h"

namespace norvane::editors {

inline constexpr int kFunctionKinds = 12;
inline constexpr int kNoSelection = -1;
// Items of the macro end-mode combo: 0..3 end modes of type 0x70, 4 a cycle count (type 0x71).
inline constexpr int kMacroEndCycleItem = 4;

// Pointer movement or wheel: the direction combo's item and the three edits' texts.
struct MotionFields {
  int direction = kNoSelection;
  std::string count;
  std::string delay;
  std::string speed;
  friend bool operator==(const MotionFields&, const MotionFields&) = default;
};

struct KeyFunctionFields {
  int kind = kNoSelection;  // kNoSelection: no kind (the editor panel is hidden)
  // Combo selections, kNoSelection for none.
  int mouseButton = kNoSelection;
  int dpiStep = kNoSelection;
  int media = kNoSelection;
  int system = kNoSelection;
  int shortcut = kNoSelection;
  int gunKey = kNoSelection;
  MotionFields pointer;
  MotionFields wheel;
  std::string fireInterval;
  std::string fireCount;
  int modifier = kNoSelection;  // choice 0..4
  std::string keyNameKey;       // name key shown in the key text; empty: no key
  int macro = kNoSelection;
  int macroEnd = kNoSelection;
  bool cycleVisible = false;
  std::string cycleCount;
  friend bool operator==(const KeyFunctionFields&, const KeyFunctionFields&) = default;
};

// Shows `function` (the stored current or default) in the fields; what the tables cannot show leaves its
// fields as they were. Returns the current function as it stands afterwards: a keyboard key the key table
// does not know becomes type 0x20 with data1 and data2 0.
[[nodiscard]] KeyFunction ShowFunction(KeyFunctionFields& fields, KeyFunction function,
                                       KeyFunction defaultFunction, int macroCount);

// The function the fields give. `current` is the stored current function (kept where the fields give
// nothing: no combo selection, no macro); `defaultFunction` is the key's default (kind 0).
[[nodiscard]] KeyFunction ReadFunction(const KeyFunctionFields& fields, KeyFunction current,
                                       KeyFunction defaultFunction, int macroCount);

// Key capture for kind 6: a key pressed while the key text has the focus. A modifier selects its choice and
// clears the key; another key keeps the chosen modifier (none becomes choice 0) and becomes the key text and
// `current`. False (nothing changed) for a key the scan-code table does not know.
[[nodiscard]] bool CaptureKey(KeyFunctionFields& fields, KeyFunction& current, macro::ScanCode scan,
                              KeyFunction defaultFunction, int macroCount);

// Item 0 in the mouse button, DPI, media, system, macro, end-mode, gun key and shortcut combos; rapid fire
// "50" and "2", cycle count "1". Pointer movement and wheel stay.
void ResetParameterFields(KeyFunctionFields& fields);

// The decimal number an edit holds; 0 for anything that is not one.
[[nodiscard]] int NumberOfText(const std::string& text);

}  // namespace norvane::editors
