#pragma once
// Which groups of the lighting panel a light mode uses, per device kind. Each kind has one rule: a step
// applied before any mode (the groups only some modes show go back to their usual state), then the row of
// the mode. A row lists its modes; one row of each rule also takes every mode no row lists. A step names
// only what it changes: whatever it leaves out keeps the state it had.
//
// The groups are the panel's; the names the panel's skin gives them are the panel's business.

#include <cstdint>
#include <initializer_list>
#include <span>

namespace norvane::editors::light_layout {

enum class Set : std::uint8_t { kKeep, kOn, kOff };

// The enabled and the visible state of a group.
struct Switch {
  Set enabled = Set::kKeep;
  Set visible = Set::kKeep;
};

inline constexpr Switch kOn{Set::kOn, Set::kKeep};
inline constexpr Switch kOff{Set::kOff, Set::kKeep};
inline constexpr Switch kShown{Set::kKeep, Set::kOn};
inline constexpr Switch kHidden{Set::kKeep, Set::kOff};
inline constexpr Switch kOnShown{Set::kOn, Set::kOn};
inline constexpr Switch kOnHidden{Set::kOn, Set::kOff};
inline constexpr Switch kOffShown{Set::kOff, Set::kOn};
inline constexpr Switch kOffHidden{Set::kOff, Set::kOff};

// The language ids of the two direction options' texts.
struct DirectionTexts {
  const char* first;   // the option for direction 1
  const char* second;  // the option for direction 0
};

inline constexpr int kKeep = -1;

// Every member has its default written out: a table row names only what it changes.
struct LayoutStep {
  Switch effect = {};       // the mode choice
  Switch sevenColour = {};  // the multi-colour flag
  Switch colour = {};       // the colour values and the palette, alike
  Switch colourArea = {};   // the area holding them
  Switch brightness = {};
  Switch speed = {};
  Switch direction = {};
  Switch custom = {};          // the keyboard's custom colour groups
  Switch preset = {};          // the keyboard's preset modes
  Switch audio = {};           // the music modes
  int colourPage = kKeep;      // the page of the colour area: 0 the colours, 1 the music modes
  int sameModeButton = kKeep;  // what the same-mode button is asked to do (0 hide, else show if allowed)
  const DirectionTexts* texts = nullptr;
};

struct LayoutRow {
  std::uint64_t modes;  // bit m: mode m
  bool otherModes;      // also every mode no row of the rule lists
  LayoutStep step;
};

struct LayoutRule {
  LayoutStep before;
  std::span<const LayoutRow> rows;
};

// The modes of a row as bits; modes are below 64.
consteval std::uint64_t Modes(std::initializer_list<int> modes) {
  std::uint64_t bits = 0;
  for (int mode : modes) bits |= std::uint64_t{1} << mode;
  return bits;
}

// The rule of a device kind; null for a kind the panel has no layout for.
[[nodiscard]] const LayoutRule* RuleOfKind(int kind);
// The row of a mode in a rule: the one listing it, else the one taking the other modes.
[[nodiscard]] const LayoutStep& StepOfMode(const LayoutRule& rule, int mode);

}  // namespace norvane::editors::light_layout
