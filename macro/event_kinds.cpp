#include "macro/event_kinds.h"

#include <algorithm>
#include <string>

#include "macro/key_tables.h"
#include "macro/mouse_actions.h"

namespace norvane::macro {
namespace {

std::string Action(bool down) {
  return std::string(down ? kActionDown : kActionUp);
}

// The ordinary key rows (modifiers excluded) whose function has data1 == 0 and data2 == usage.
std::optional<std::string_view> KeyNameOfUsage(int usage) {
  if (usage <= 0 || usage > 0xFF) return std::nullopt;
  const std::span<const KeyNameRow> rows =
      KeyNameTable().subspan(kModifierRows, kOrdinaryKeyEnd - kModifierRows);
  const auto found = std::find_if(rows.begin(), rows.end(), [&](const KeyNameRow& row) {
    return row.function.data1 == 0 && row.function.data2 == usage;
  });
  if (found == rows.end()) return std::nullopt;
  return found->nameKey;
}

std::optional<std::string_view> ModifierNameOfBit(int bit) {
  if (bit <= 0 || bit > 0xFF) return std::nullopt;
  const std::span<const KeyNameRow> rows = KeyNameTable().first(kModifierRows);
  const auto found = std::find_if(rows.begin(), rows.end(),
                                  [&](const KeyNameRow& row) { return row.function.data1 == bit; });
  if (found == rows.end()) return std::nullopt;
  return found->nameKey;
}

}  // namespace

std::optional<MacroEvent> KeyEventOfRow(std::size_t row, bool down, std::int64_t delay) {
  if (row >= kOrdinaryKeyEnd) return std::nullopt;
  const KeyFunction function = KeyNameTable()[row].function;
  if (row < kModifierRows) return MacroEvent{Action(down), function.data1, delay, event_type::kModifierKey};
  return MacroEvent{Action(down), function.data2, delay, event_type::kKey};
}

MacroEvent MouseButtonEvent(std::uint8_t button, bool down, std::int64_t delay) {
  return {Action(down), button, delay, event_type::kMouseButton};
}

MacroEvent MoveEvent(MoveDirection direction, int distance, std::int64_t delay) {
  const bool horizontal = direction == MoveDirection::kLeft || direction == MoveDirection::kRight;
  const bool down = direction == MoveDirection::kLeft || direction == MoveDirection::kUp;
  return {Action(down), std::clamp(distance, 0, kMaxMoveDistance), delay,
          horizontal ? event_type::kHorizontalMove : event_type::kVerticalMove};
}

std::string_view EventNameId(const MacroEvent& event) {
  std::optional<std::string_view> name;
  switch (event.type) {
    case event_type::kModifierKey:
      name = ModifierNameOfBit(event.button);
      break;
    case event_type::kKey:
      name = KeyNameOfUsage(event.button);
      break;
    default:
      if (const auto row = MouseActionOf(event.type, event.button, event.IsDown())) name = row->nameId;
      break;
  }
  return name.value_or(kOtherEventNameId);
}

std::string_view ActionLabelId(const MacroEvent& event) {
  return event.IsDown() ? kDownLabelId : kUpLabelId;
}

}  // namespace norvane::macro
