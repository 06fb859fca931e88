#include "macro/recording.h"

#include <linux/input-event-codes.h>

#include <algorithm>

#include "macro/event_kinds.h"
#include "macro/key_tables.h"
#include "macro/mouse_actions.h"

namespace norvane::macro {

namespace {

// The rows of the mouse action table that a message names on its own (left, right, middle).
constexpr std::size_t kPlainButtonRows = 6;
constexpr std::size_t kForwardRows = 6;
constexpr std::size_t kBackRows = 8;

struct ButtonMessages {
  int button;
  std::uint16_t down;
  std::uint16_t up;
  int extra;
};

constexpr ButtonMessages kButtons[] = {
    {BTN_LEFT, hook_message::kLeftDown, hook_message::kLeftUp, 0},
    {BTN_RIGHT, hook_message::kRightDown, hook_message::kRightUp, 0},
    {BTN_MIDDLE, hook_message::kMiddleDown, hook_message::kMiddleUp, 0},
    {BTN_SIDE, hook_message::kExtraDown, hook_message::kExtraUp, kBackButtonNumber},
    {BTN_BACK, hook_message::kExtraDown, hook_message::kExtraUp, kBackButtonNumber},
    {BTN_EXTRA, hook_message::kExtraDown, hook_message::kExtraUp, kForwardButtonNumber},
    {BTN_FORWARD, hook_message::kExtraDown, hook_message::kExtraUp, kForwardButtonNumber},
};

}  // namespace

std::optional<HookKeyEvent> HookKeyOf(const CapturedInput& input) {
  if (input.kind != CapturedInput::Kind::kKey || input.autoRepeat) return std::nullopt;
  const std::optional<ScanCode> scan = ScanCodeOfLinuxKey(input.code);
  if (!scan) return std::nullopt;
  return HookKeyEvent{input.pressed ? hook_message::kKeyDown : hook_message::kKeyUp, *scan, input.time};
}

std::optional<HookMouseEvent> HookMouseOf(const CapturedInput& input) {
  if (input.kind != CapturedInput::Kind::kButton) return std::nullopt;
  for (const ButtonMessages& button : kButtons) {
    if (button.button != input.code) continue;
    HookMouseEvent mouse;
    mouse.message = input.pressed ? button.down : button.up;
    mouse.extraButton = button.extra;
    mouse.x = input.x;
    mouse.y = input.y;
    mouse.time = input.time;
    return mouse;
  }
  return std::nullopt;
}

std::optional<MacroEvent> EventOfKey(const HookKeyEvent& key) {
  const std::optional<std::size_t> row = KeyRowOfScanCode(key.scan);
  if (!row) return std::nullopt;
  return KeyEventOfRow(*row, key.IsPress(), 0);
}

std::optional<MacroEvent> EventOfMouse(const HookMouseEvent& mouse) {
  const std::span<const MouseActionRow> table = MouseActionTable();
  std::optional<std::size_t> row;
  for (std::size_t i = 0; i < kPlainButtonRows && !row; ++i) {
    if (table[i].message == mouse.message) row = i;
  }
  if (!row && (mouse.message == hook_message::kExtraDown || mouse.message == hook_message::kExtraUp)) {
    const std::size_t up = mouse.message == hook_message::kExtraUp ? 1 : 0;
    if (mouse.extraButton == kForwardButtonNumber) row = kForwardRows + up;
    if (mouse.extraButton == kBackButtonNumber) row = kBackRows + up;
  }
  if (!row) return std::nullopt;
  const MouseActionRow& action = table[*row];
  return MouseButtonEvent(action.button, action.down, 0);
}

bool KeyRepeatFilter::Accept(const HookKeyEvent& key) {
  if (key.IsPress()) {
    if (lastPress_ == key.scan) return false;
    lastPress_ = key.scan;
    return true;
  }
  if (lastPress_ == key.scan) lastPress_.reset();
  return true;
}

bool MouseRepeatFilter::Accept(std::uint16_t message) {
  if (message == last_) return false;
  last_ = message;
  return true;
}

void DelayClock::Begin(DelayMode mode, std::uint32_t now, int fixedDelay) {
  mode_ = mode;
  last_ = now;
  fixed_ = fixedDelay;
}

std::uint32_t DelayClock::Next(std::uint32_t time) {
  switch (mode_) {
    case DelayMode::kFixed:
      return static_cast<std::uint32_t>(std::max(fixed_, 0));
    case DelayMode::kZero:
      return 0;
    case DelayMode::kMeasured:
      break;
  }
  // Unsigned: a clock that wrapped between two events still gives their distance.
  const std::uint32_t elapsed = time - last_;
  last_ = time;
  return std::min(elapsed, kMaxRecordedDelay);
}

}  // namespace norvane::macro
