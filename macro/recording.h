#pragma once
// The rules of recording a macro from captured input, free of any widget: which key or button an input is
// as a macro event, which inputs are left out (a key the keyboard repeats while held, the same button
// message twice), and the pause recorded before each event.

#include <cstdint>
#include <optional>

#include "macro/hook_events.h"
#include "macro/input_capture.h"
#include "macro/macro_event.h"

namespace norvane::macro {

// How a recording times its steps: as the user played them, with the fixed delay, or with none.
enum class DelayMode : int { kMeasured = 1, kFixed = 2, kZero = 3 };

// A recording adds no step beyond this many.
inline constexpr int kMaxRecordedRows = 4000;
inline constexpr std::uint32_t kMaxRecordedDelay = 65535;
// The fixed delay of a new editor.
inline constexpr int kDefaultFixedDelay = 50;

// Captured input as the recording's handlers take it: a key by its scan code (nothing for a key that has
// none), a button by its message (nothing for other buttons; side and back are the back button, extra and
// forward the forward button). A repeat of a held key is nothing: the press was taken. The position is
// taken as it is.
[[nodiscard]] std::optional<HookKeyEvent> HookKeyOf(const CapturedInput& input);
[[nodiscard]] std::optional<HookMouseEvent> HookMouseOf(const CapturedInput& input);

// The event a key is recorded as (delay 0): its press or release by the first key table row with its scan
// code; nothing for a key the table does not have.
[[nodiscard]] std::optional<MacroEvent> EventOfKey(const HookKeyEvent& key);

// The event a mouse button is recorded as (delay 0): left, right and middle by their message, the extra
// buttons by their number (2 forward, 1 back); nothing for anything else.
[[nodiscard]] std::optional<MacroEvent> EventOfMouse(const HookMouseEvent& mouse);

// Leaves out a press of the key pressed last (the keyboard repeating a held key); the key's release lets
// it through again.
class KeyRepeatFilter {
 public:
  [[nodiscard]] bool Accept(const HookKeyEvent& key);

 private:
  std::optional<ScanCode> lastPress_;
};

// Leaves out a mouse message equal to the one before (a press without its release in between).
class MouseRepeatFilter {
 public:
  [[nodiscard]] bool Accept(std::uint16_t message);

 private:
  std::uint16_t last_ = 0;
};

// The pause before each recorded event. Times are the events' own, in milliseconds of a clock that wraps
// at 32 bits (differences are taken modulo 2^32).
class DelayClock {
 public:
  // now: the time the recording starts, on the events' clock.
  void Begin(DelayMode mode, std::uint32_t now, int fixedDelay);
  // The delay for an event at `time`: the fixed delay, 0, or the time since the event before (or since
  // the start), held to kMaxRecordedDelay.
  [[nodiscard]] std::uint32_t Next(std::uint32_t time);
  DelayMode Mode() const { return mode_; }

 private:
  DelayMode mode_ = DelayMode::kMeasured;
  std::uint32_t last_ = 0;
  int fixed_ = kDefaultFixedDelay;
};

}  // namespace norvane::macro
