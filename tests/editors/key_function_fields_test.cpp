// The key editor's fields: a function shown and read back, the byte layouts of motion and macros, edits that
// hold no number, and key capture.
#include "editors/key_function_fields.h"

#include <gtest/gtest.h>

#include "macro/key_tables.h"

namespace norvane::editors {
namespace {

constexpr KeyFunction kDefault{0x20, 0x00, 0x29};  // the key's own function: Esc
constexpr int kMacros = 3;

KeyFunction ShowAndRead(KeyFunctionFields& fields, KeyFunction function) {
  const KeyFunction current = ShowFunction(fields, function, kDefault, kMacros);
  return ReadFunction(fields, current, kDefault, kMacros);
}

TEST(KeyFunctionFields, EveryComboRowComesBack) {
  const auto check = [](std::span<const KeyFunction> rows, int kind, int KeyFunctionFields::*selection) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      KeyFunctionFields fields;
      EXPECT_EQ(ShowAndRead(fields, rows[i]), rows[i]) << kind << " item " << i;
      EXPECT_EQ(fields.kind, kind);
      EXPECT_EQ(fields.*selection, int(i));
    }
  };
  check(macro::MouseButtonFunctions(), 1, &KeyFunctionFields::mouseButton);
  check(macro::DpiStepFunctions(), 4, &KeyFunctionFields::dpiStep);
  check(macro::MediaKeyFunctions(), 7, &KeyFunctionFields::media);
  check(macro::SystemKeyFunctions(), 8, &KeyFunctionFields::system);
  std::vector<KeyFunction> shortcuts;
  for (const macro::ShortcutRow& row : macro::ShortcutTable()) shortcuts.push_back(row.function);
  check(shortcuts, 11, &KeyFunctionFields::shortcut);
}

TEST(KeyFunctionFields, KindsWithoutRows) {
  KeyFunctionFields fields;
  fields.shortcut = 7;
  EXPECT_EQ(ShowAndRead(fields, {0x20, 0x10, 0x1D}), (KeyFunction{0x20, 0x10, 0x1D}));  // Ctrl+Z: a shortcut
  EXPECT_EQ(fields.kind, 11);
  EXPECT_EQ(fields.shortcut, 2);
  fields.kind = 0;
  (void)ShowFunction(fields, {0xB0, 0, 0}, kDefault, kMacros);
  EXPECT_EQ(fields.kind, 11);

  (void)ShowFunction(fields, {0x10, 0x01, 0}, {0x10, 0x01, 0}, kMacros);  // the default, though not type 0
  EXPECT_EQ(fields.kind, 0);
  EXPECT_EQ(ReadFunction(fields, {0x10, 0x04, 0}, kDefault, kMacros), kDefault);
  EXPECT_EQ(ShowAndRead(fields, {0x72, 3, 0}), (KeyFunction{0x72, 3, 0}));
  EXPECT_EQ(fields.kind, 10);

  (void)ShowFunction(fields, {0x99, 1, 2}, kDefault, kMacros);
  EXPECT_EQ(fields.kind, -1);
  EXPECT_EQ(ReadFunction(fields, {0x99, 1, 2}, kDefault, kMacros), (KeyFunction{0x99, 1, 2}));
  fields.kind = 1;
  fields.mouseButton = 5;  // past the combo's end: the stored function stays
  EXPECT_EQ(ReadFunction(fields, {0x99, 1, 2}, kDefault, kMacros), (KeyFunction{0x99, 1, 2}));
}

TEST(KeyFunctionFields, ModifiersShowByChoiceAndReadBackLeftHanded) {
  struct Case {
    std::uint8_t shown;
    int choice;
    std::uint8_t read;
  };
  for (const Case& c : {Case{0x01, 1, 0x01}, Case{0x02, 2, 0x02}, Case{0x04, 3, 0x04}, Case{0x08, 4, 0x08},
                        Case{0x20, 2, 0x02}, Case{0x40, 3, 0x04}, Case{0x80, 4, 0x08}, Case{0x03, 0, 0x00}}) {
    KeyFunctionFields fields;
    EXPECT_EQ(ShowAndRead(fields, {0x20, c.shown, 0x04}), (KeyFunction{0x20, c.read, 0x04})) << int{c.shown};
    EXPECT_EQ(fields.kind, 6);
    EXPECT_EQ(fields.modifier, c.choice);
    EXPECT_EQ(fields.keyNameKey, "keyboard_key_A");
  }
}

TEST(KeyFunctionFields, KeysTheTableDoesNotKnow) {
  KeyFunctionFields fields;
  EXPECT_EQ(ShowFunction(fields, {0x20, 0x00, 0xF0}, kDefault, kMacros), (KeyFunction{0x20, 0, 0}));
  EXPECT_EQ(fields.modifier, -1);
  EXPECT_EQ(fields.keyNameKey, "");
  EXPECT_EQ(ShowAndRead(fields, {0x20, 0x02, 0xF0}), (KeyFunction{0x20, 0x02, 0x00}));  // Shift stays
  EXPECT_EQ(fields.modifier, 2);

  const KeyFunctionFields before = fields;
  (void)ShowFunction(fields, {0x20, 0x81, 0x04}, kDefault, kMacros);
  EXPECT_EQ(fields, before);  // already kind 6; nothing else moves
}

TEST(KeyFunctionFields, PointerAndWheelBytes) {
  KeyFunctionFields fields;
  fields.kind = 2;
  fields.pointer = {1, "3", "2", "5"};
  EXPECT_EQ(ReadFunction(fields, {}, kDefault, kMacros), (KeyFunction{0x11, 0x25, 0x83}));
  fields.pointer = {1, "0", "2", "5"};
  EXPECT_EQ(ReadFunction(fields, {}, kDefault, kMacros).data2, 0x80);
  fields.pointer = {0, "200", "300", "abc"};  // counts keep 7 bits, delay and speed 4
  EXPECT_EQ(ReadFunction(fields, {}, kDefault, kMacros), (KeyFunction{0x11, 0xC0, 0x48}));
  (void)ShowFunction(fields, {0x11, 0x25, 0x83}, kDefault, kMacros);
  EXPECT_EQ(fields.pointer, (MotionFields{1, "3", "2", "5"}));

  fields.kind = 3;
  fields.wheel = {1, "3", "2", "5"};
  EXPECT_EQ(ReadFunction(fields, {}, kDefault, kMacros), (KeyFunction{0x12, 0x25, 0xFD}));
  fields.wheel = {1, "0", "", ""};  // not 0x80: that is the wheel's fastest
  EXPECT_EQ(ReadFunction(fields, {}, kDefault, kMacros), (KeyFunction{0x12, 0x00, 0x00}));
  fields.wheel = {0, "3", "0", "1"};
  EXPECT_EQ(ReadFunction(fields, {}, kDefault, kMacros), (KeyFunction{0x12, 0x01, 0x03}));
  (void)ShowFunction(fields, {0x12, 0x25, 0xFD}, kDefault, kMacros);
  EXPECT_EQ(fields.wheel, (MotionFields{1, "3", "2", "5"}));
  (void)ShowFunction(fields, {0x12, 0x00, 0x80}, kDefault, kMacros);
  EXPECT_EQ(fields.wheel.count, "128");
}

TEST(KeyFunctionFields, RapidFireAndEditTexts) {
  KeyFunctionFields fields;
  EXPECT_EQ(ShowAndRead(fields, {0x14, 50, 2}), (KeyFunction{0x14, 50, 2}));
  EXPECT_EQ(fields.fireInterval, "50");
  fields.fireInterval = "300";
  fields.fireCount = "";
  EXPECT_EQ(ReadFunction(fields, {}, kDefault, kMacros), (KeyFunction{0x14, 44, 0}));

  EXPECT_EQ(NumberOfText(" 42 "), 42);
  EXPECT_EQ(NumberOfText("007"), 7);
  EXPECT_EQ(NumberOfText("99999999999"), 2147483647);
  for (const char* text : {"", "  ", "abc", "4 2", "-5", "+5", "3x"})
    EXPECT_EQ(NumberOfText(text), 0) << text;
}

TEST(KeyFunctionFields, MacroEndModesAndCycles) {
  KeyFunctionFields fields;
  fields.cycleVisible = true;
  EXPECT_EQ(ShowAndRead(fields, {0x70, 1, 2}), (KeyFunction{0x70, 1, 2}));
  EXPECT_EQ(fields.kind, 9);
  EXPECT_FALSE(fields.cycleVisible);
  EXPECT_EQ(ShowAndRead(fields, {0x70, 1, 7}), (KeyFunction{0x70, 1, 0}));  // no such end mode
  EXPECT_EQ(fields.macroEnd, -1);
  EXPECT_EQ(ShowAndRead(fields, {0x71, 2, 9}), (KeyFunction{0x71, 2, 9}));
  EXPECT_EQ(fields.macroEnd, 4);
  EXPECT_TRUE(fields.cycleVisible);
  EXPECT_EQ(fields.cycleCount, "9");

  // A macro the list no longer has: nothing selected, so the stored function stays.
  EXPECT_EQ(ShowAndRead(fields, {0x71, 5, 9}), (KeyFunction{0x71, 5, 9}));
  EXPECT_EQ(fields.macro, -1);
  EXPECT_FALSE(fields.cycleVisible);
  EXPECT_EQ(ShowAndRead(fields, {0x70, 3, 0}), (KeyFunction{0x70, 3, 0}));
  EXPECT_EQ(fields.macroEnd, -1);
  fields.macro = 0;
  EXPECT_EQ(ReadFunction(fields, {0x70, 3, 0}, kDefault, 0), (KeyFunction{0x70, 3, 0}));
}

TEST(KeyFunctionFields, ResetTouchesParametersOnly) {
  KeyFunctionFields fields;
  fields.kind = 6;
  fields.pointer = {1, "3", "2", "5"};
  fields.modifier = 2;
  fields.keyNameKey = "keyboard_key_A";
  KeyFunctionFields expected = fields;
  expected.mouseButton = expected.dpiStep = expected.media = expected.system = 0;
  expected.macro = expected.macroEnd = expected.gunKey = expected.shortcut = 0;
  expected.fireInterval = "50";
  expected.fireCount = "2";
  expected.cycleCount = "1";
  ResetParameterFields(fields);
  EXPECT_EQ(fields, expected);
}

TEST(KeyFunctionFields, CaptureBuildsKeysFromPressedModifiers) {
  KeyFunctionFields fields;
  fields.kind = 6;
  KeyFunction current = kDefault;
  ASSERT_TRUE(CaptureKey(fields, current, {0x2A, false}, kDefault, kMacros));  // left Shift
  EXPECT_EQ(current, (KeyFunction{0x20, 0x02, 0x00}));
  EXPECT_EQ(fields.keyNameKey, "");
  ASSERT_TRUE(CaptureKey(fields, current, {0x1E, false}, kDefault, kMacros));  // A
  EXPECT_EQ(current, (KeyFunction{0x20, 0x02, 0x04}));
  EXPECT_EQ(fields.keyNameKey, "keyboard_key_A");
  EXPECT_EQ(ReadFunction(fields, current, kDefault, kMacros), current);

  ASSERT_TRUE(CaptureKey(fields, current, {0x1D, true}, kDefault, kMacros));  // right Ctrl
  ASSERT_TRUE(CaptureKey(fields, current, {0x1E, false}, kDefault, kMacros));
  EXPECT_EQ(current, (KeyFunction{0x20, 0x01, 0x04}));

  fields.modifier = -1;
  ASSERT_TRUE(CaptureKey(fields, current, {0x45, false}, kDefault, kMacros));  // Pause
  EXPECT_EQ(current, (KeyFunction{0x20, 0x00, 0x48}));
  EXPECT_EQ(fields.modifier, 0);

  const KeyFunctionFields before = fields;
  EXPECT_FALSE(CaptureKey(fields, current, {0x11, true}, kDefault, kMacros));
  EXPECT_EQ(current, (KeyFunction{0x20, 0x00, 0x48}));
  EXPECT_EQ(fields, before);
}

}  // namespace
}  // namespace norvane::editors
