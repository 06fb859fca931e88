#include "editors/light_layout_rules.h"

#include <array>

namespace norvane::editors::light_layout {

namespace {

constexpr DirectionTexts kHorizontal{"light_set_right_to_left_text", "light_set_left_to_right_text"};
constexpr DirectionTexts kRadial{"light_set_outside_to_inside_text", "light_set_inside_to_outside_text"};
constexpr DirectionTexts kVertical{"light_set_down_to_up_text", "light_set_up_to_down_text"};

// clang-format off
// Keyboard. The custom groups, the presets and the music modes each belong to one mode; the direction
// shows only for the modes that run one way or the other.
constexpr std::array kKeyboardRows = {
    LayoutRow{Modes({1, 2, 4}), false,
              {.sevenColour = kOn, .colour = kOn, .colourArea = kOn, .brightness = kOn, .speed = kOnShown,
               .direction = kOnShown, .texts = &kHorizontal}},
    LayoutRow{Modes({3}), false,
              {.sevenColour = kOff, .colour = kOff, .colourArea = kOff, .brightness = kOn, .speed = kOnShown,
               .direction = kOnShown, .texts = &kRadial}},
    LayoutRow{Modes({5, 7}), false,
              {.sevenColour = kOff, .colour = kOn, .colourArea = kOn, .brightness = kOn, .speed = kOffHidden,
               .direction = kOffHidden, .texts = &kHorizontal}},
    LayoutRow{Modes({6, 8, 9, 10, 13, 14, 15, 16, 17, 18, 20, 22, 23}), false,
              {.sevenColour = kOn, .colour = kOn, .colourArea = kOn, .brightness = kOn, .speed = kOnShown,
               .direction = kOffHidden, .texts = &kHorizontal}},
    LayoutRow{Modes({11, 12, 40, 42}), false,
              {.sevenColour = kOff, .colour = kOff, .colourArea = kOff, .brightness = kOn, .speed = kOnShown,
               .direction = kOffHidden, .texts = &kHorizontal}},
    LayoutRow{Modes({19}), false,
              {.sevenColour = kOn, .colour = kOn, .colourArea = kOn, .brightness = kOn, .speed = kOnShown,
               .direction = kOnShown, .texts = &kVertical}},
    LayoutRow{Modes({21}), false,
              {.sevenColour = kOff, .colour = kOn, .colourArea = kOn, .brightness = kOn, .speed = kOffHidden,
               .direction = kOffHidden, .custom = kShown, .texts = &kHorizontal}},
    LayoutRow{Modes({24}), false,
              {.sevenColour = kOn, .colour = kOn, .colourArea = kOn, .brightness = kOn, .speed = kOnShown,
               .direction = kOnHidden, .texts = &kVertical}},
    LayoutRow{Modes({25, 28, 31, 32, 33, 34, 35, 36, 37, 38, 39, 44}), true,
              {.sevenColour = kOff, .colour = kOff, .colourArea = kOn, .brightness = kOff, .speed = kOffShown,
               .direction = kOffHidden, .texts = &kHorizontal}},
    LayoutRow{Modes({26, 27}), false,
              {.sevenColour = kOff, .colour = kOff, .colourArea = kOn, .brightness = kOn, .speed = kOnShown,
               .direction = kOffHidden, .texts = &kHorizontal}},
    // The music effect's colour cycle is the music page's own (the foreground's): the effect's one would
    // only repeat its name.
    LayoutRow{Modes({29}), false,
              {.sevenColour = kOnHidden, .colour = kOn, .colourArea = kOn, .brightness = kOn, .speed = kOffHidden,
               .direction = kOnHidden, .audio = kShown, .colourPage = 1, .texts = &kHorizontal}},
    LayoutRow{Modes({30}), false,
              {.sevenColour = kOff, .colour = kOff, .colourArea = kOff, .brightness = kOn, .speed = kOffShown,
               .direction = kOffHidden, .texts = &kHorizontal}},
    LayoutRow{Modes({41, 43}), false,
              {.sevenColour = kOn, .colour = kOn, .colourArea = kOn, .brightness = kOn, .speed = kOnShown,
               .direction = kOnHidden, .texts = &kHorizontal}},
    LayoutRow{Modes({45}), false,
              {.sevenColour = kOff, .colour = kOff, .colourArea = kOff, .brightness = kOn, .speed = kOnHidden,
               .direction = kOffHidden, .preset = kShown, .texts = &kHorizontal}},
};

// A mouse has no music modes on the panel and its direction always runs up or down; its colour area and
// whether the direction shows are the device page's.
constexpr std::array kMouseRows = {
    LayoutRow{Modes({0, 5}), false,
              {.sevenColour = kOn, .colour = kOn, .brightness = kOn, .speed = kOn, .direction = kOn}},
    LayoutRow{Modes({1, 7, 8}), false,
              {.sevenColour = kOff, .colour = kOff, .brightness = kOn, .speed = kOn, .direction = kOff}},
    LayoutRow{Modes({2, 4, 6}), false,
              {.sevenColour = kOn, .colour = kOn, .brightness = kOn, .speed = kOn, .direction = kOff}},
    LayoutRow{Modes({3}), false,
              {.sevenColour = kOff, .colour = kOn, .brightness = kOn, .speed = kOff, .direction = kOff}},
    LayoutRow{Modes({9}), true,
              {.sevenColour = kOff, .colour = kOff, .brightness = kOff, .speed = kOff, .direction = kOff}},
};

// Mouse pads and headsets light several zones; the modes that can run alike on all of them offer that.
constexpr std::array kPadRows = {
    LayoutRow{Modes({0}), false,
              {.sevenColour = kOn, .colour = kOn, .brightness = kOn, .speed = kOn, .direction = kOn}},
    LayoutRow{Modes({1}), false,
              {.sevenColour = kOff, .colour = kOff, .brightness = kOn, .speed = kOn, .direction = kOff,
               .sameModeButton = 1}},
    LayoutRow{Modes({2, 4}), false,
              {.sevenColour = kOn, .colour = kOn, .brightness = kOn, .speed = kOn, .direction = kOff,
               .sameModeButton = 1}},
    LayoutRow{Modes({3}), false,
              {.sevenColour = kOff, .colour = kOn, .brightness = kOn, .speed = kOff, .direction = kOff,
               .sameModeButton = 1}},
    LayoutRow{Modes({8}), false,
              {.sevenColour = kOff, .colour = kOff, .brightness = kOff, .speed = kOff, .direction = kOff,
               .sameModeButton = 1}},
    LayoutRow{Modes({5, 6, 7}), true,
              {.sevenColour = kOff, .colour = kOff, .brightness = kOff, .speed = kOff, .direction = kOff}},
};

// A hub's effects have no direction.
constexpr std::array kHubRows = {
    LayoutRow{Modes({0, 2, 3}), false, {.sevenColour = kOn, .colour = kOn, .brightness = kOn, .speed = kOn}},
    LayoutRow{Modes({1}), false, {.sevenColour = kOff, .colour = kOn, .brightness = kOn, .speed = kOff}},
    LayoutRow{Modes({4}), false, {.sevenColour = kOff, .colour = kOff, .brightness = kOn, .speed = kOn}},
    LayoutRow{Modes({5}), true, {.sevenColour = kOff, .colour = kOff, .brightness = kOff, .speed = kOff}},
};

constexpr LayoutRule kKeyboard{
    .before = {.effect = kOn, .sevenColour = kShown, .colourArea = kOn, .speed = kShown, .direction = kOnHidden,
               .custom = kHidden, .preset = kHidden, .audio = kHidden, .colourPage = 0, .sameModeButton = 0},
    .rows = kKeyboardRows};
constexpr LayoutRule kMouse{
    .before = {.effect = kOn, .speed = kShown, .direction = kOn, .audio = kHidden, .colourPage = 0,
               .sameModeButton = 0, .texts = &kVertical},
    .rows = kMouseRows};
constexpr LayoutRule kPadAndHeadset{
    .before = {.effect = kOn, .direction = kOn, .sameModeButton = 0},
    .rows = kPadRows};
constexpr LayoutRule kHub{.before = {.effect = kOn}, .rows = kHubRows};

// clang-format on

constexpr LayoutStep kNothing{};

}  // namespace

const LayoutRule* RuleOfKind(int kind) {
  switch (kind) {
    case 1:
      return &kKeyboard;
    case 2:
      return &kMouse;
    case 3:
    case 4:
    case 7:
      return &kPadAndHeadset;
    case 5:
      return &kHub;
    default:
      return nullptr;
  }
}

const LayoutStep& StepOfMode(const LayoutRule& rule, int mode) {
  const bool listable = mode >= 0 && mode < 64;
  const LayoutStep* other = &kNothing;
  for (const LayoutRow& row : rule.rows) {
    if (listable && (row.modes >> mode & 1) != 0) return row.step;
    if (row.otherModes) other = &row.step;
  }
  return *other;
}

}  // namespace norvane::editors::light_layout
