// Key button labels: what each function type is labelled with, how the parts join, and the tooltip.
#include "devices/key_labels.h"

#include <gtest/gtest.h>

#include <map>

namespace norvane::devices {
namespace {

const std::vector<std::string> kMacros = {"Reload", "Jump twice"};

KeyLabel One(std::string nameKey) {
  return {{std::move(nameKey), true, ""}};
}

struct Case {
  KeyFunction function;
  std::optional<KeyLabel> label;
};

void ExpectLabels(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(DeriveKeyLabel(c.function, kMacros), c.label)
        << std::hex << int{c.function.type} << "/" << int{c.function.data1} << "/" << int{c.function.data2};
  }
}

TEST(KeyLabels, KeyboardKeys) {
  ExpectLabels({
      {{0x20, 0x00, 0x04}, One("keyboard_key_A")},
      {{0x00, 0x00, 0x04}, One("keyboard_key_A")},  // the exact match does not look at the type
      {{0x20, 0x00, 0x00}, One("close_text")},
      {{0x00, 0x00, 0x00}, One("close_text")},
      {{0x20, 0x02, 0x04}, KeyLabel{{"keyboard_key_LShift", true, ""}, {"keyboard_key_A", true, "+"}}},
      {{0x20, 0x40, 0x29}, KeyLabel{{"keyboard_key_RAlt", true, ""}, {"keyboard_key_Esc", true, "+"}}},
      // right Ctrl with a shortcut's key: the keys, then what the shortcut does
      {{0x20, 0x10, 0x1D},
       KeyLabel{{"keyboard_key_RCtrl", true, ""}, {"keyboard_key_Z", true, "+"}, {"custem_undo", true, ""}}},
      {{0x20, 0x10, 0x05}, KeyLabel{{"keyboard_key_RCtrl", true, ""}, {"keyboard_key_B", true, "+"}}},
      {{0x00, 0x02, 0x04}, std::nullopt},  // the joined form only takes rows of the function's type
      {{0x20, 0x03, 0xF0}, KeyLabel{{"keyboard_key_LCtrl", true, ""}, {"keyboard_key_LShift", true, "+"}}},
  });
}

// A key the table does not know gets no label rather than the name of every key; a combination of
// modifiers names each of them.
TEST(KeyLabels, UnknownKeysAndModifierCombinations) {
  EXPECT_EQ(DeriveKeyLabel({0x20, 0x00, 0xF0}, kMacros), std::nullopt);
  EXPECT_EQ(DeriveKeyLabel({0x20, 0x03, 0x04}, kMacros),
            (KeyLabel{{"keyboard_key_LCtrl", true, ""}, {"keyboard_key_LShift", true, "+"}, {"keyboard_key_A", true, "+"}}));
}

TEST(KeyLabels, MouseFunctions) {
  ExpectLabels({{{0x10, 0x04, 0}, One("mouse_key_middle")},
                {{0x10, 0x20, 0}, std::nullopt},
                {{0x11, 0x25, 0x83}, One("mouse_key_right_Swing")},
                {{0x11, 0x25, 0x7F}, One("mouse_key_left_Swing")},
                {{0x12, 0x00, 0x80}, One("mouse_key_down_Swing")},
                {{0x12, 0x00, 0x03}, One("mouse_key_up_Swing")},
                {{0x13, 3, 0}, One("mouse_key_DPI_loop")},
                {{0x13, 4, 0}, std::nullopt},
                {{0x16, 0, 0}, One("mouse_key_DPI_shift")}});
}

TEST(KeyLabels, ShortcutsMediaSystemAndSpecialKeys) {
  ExpectLabels({{{0x22, 0, 0}, One("custem_open")},
                {{0x22, 0, 8}, One("custem_select_all")},
                {{0x22, 0, 9}, std::nullopt},
                {{0x23, 0, 0}, One("show_window")},
                {{0x30, 0x83, 0x01}, One("media_text")},  // usage 0x0183: data1 is the low byte
                {{0x30, 0x26, 0x02}, One("wed_stop")},
                {{0x30, 0x8A, 0x01}, One("media_mail")},
                {{0x30, 0x83, 0x02}, std::nullopt},
                {{0x40, 4, 0}, One("system_wake_up")},
                {{0x40, 1, 1}, std::nullopt},
                {{0xA0, 0x02, 0}, One("mouse_key_smart_key")},
                {{0xA0, 0x00, 0}, One("close_text")},
                {{0xA0, 0x1B, 0}, One("keyboard_key_GM")},
                {{0xD0, 0xA2, 3}, One("keyboard_key_M3")},
                {{0xD0, 0xA2, 6}, std::nullopt}});
}

TEST(KeyLabels, MacrosUnlabelledAndUnknownTypes) {
  ExpectLabels({{{0x70, 1, 0}, KeyLabel{{"Jump twice", false, ""}}},
                {{0x71, 0, 5}, KeyLabel{{"Reload", false, ""}}},
                {{0x70, 2, 0}, std::nullopt},
                {{0x15, 0, 0}, std::nullopt},
                {{0xB0, 0, 0}, std::nullopt},
                {{0x99, 0, 0}, KeyLabel{{"关闭", false, ""}}},
                {{0x72, 3, 0}, KeyLabel{{"关闭", false, ""}}}});
  EXPECT_FALSE(DeriveKeyLabel({0x70, 0, 0}, {}));
}

const Localizer kLocalize = [](std::string_view nameKey) {
  static const std::map<std::string_view, std::string> texts = {{"keyboard_key_RCtrl", "Right Ctrl"},
                                                                {"keyboard_key_Z", "Z"},
                                                                {"custem_undo", " (undo)"},
                                                                {"keyboard_key_A", "A"},
                                                                {"Key_Set", " -> "}};
  const auto it = texts.find(nameKey);
  return it == texts.end() ? "?" + std::string(nameKey) : it->second;
};

TEST(KeyLabels, ComposedTextLocalizesNameKeysOnly) {
  EXPECT_EQ(ComposeKeyLabel(*DeriveKeyLabel({0x20, 0x10, 0x1D}, kMacros), kLocalize), "Right Ctrl+Z (undo)");
  EXPECT_EQ(ComposeKeyLabel(*DeriveKeyLabel({0x70, 1, 0}, kMacros), kLocalize), "Jump twice");
}

TEST(KeyLabels, ButtonTooltipAndKeySetMark) {
  EXPECT_EQ(OwnKeyNameKey({0x20, 0x00, 0x04}), "keyboard_key_A");
  EXPECT_EQ(OwnKeyNameKey({0x00, 0x00, 0x04}), "");  // the own name compares the type too

  EXPECT_EQ(MakeKeyButtonLabel("keyboard_key_A", "a", kLocalize), (KeyButtonLabel{"A", "A -> a", true}));
  EXPECT_EQ(MakeKeyButtonLabel("keyboard_key_A", "Right Ctrl+Z (undo)", kLocalize),
            (KeyButtonLabel{"A", "A -> Right Ctrl+Z (undo)", false}));
  EXPECT_EQ(MakeKeyButtonLabel("", "A", kLocalize), (KeyButtonLabel{"", " -> A", false}));
}

}  // namespace
}  // namespace norvane::devices
