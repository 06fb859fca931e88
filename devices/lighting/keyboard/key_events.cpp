#include "devices/lighting/keyboard/key_events.h"

#include <algorithm>
#include <optional>

namespace norvane::lighting::keyboard {
namespace {

struct Cell {
  int column = 0;
  int row = 0;
};

struct Neighbour {
  int dColumn;
  int dRow;
  int pressGain;
  int releaseLoss;
};

// The glow's reach: next to the key, one further along the column or diagonal, two along the row.
constexpr std::array<Neighbour, 12> kGlowReach = {{
    {0, -1, 150, 15},
    {0, 1, 150, 15},
    {-1, 0, 150, 15},
    {1, 0, 150, 15},
    {0, -2, 90, 90},
    {0, 2, 90, 90},
    {-1, -1, 90, 90},
    {-1, 1, 90, 90},
    {1, -1, 90, 90},
    {1, 1, 90, 90},
    {-2, 0, 60, 90},
    {2, 0, 60, 90},
}};

std::optional<Cell> FindCell(std::uint8_t led) {
  if (led == kNoLed) return std::nullopt;
  for (std::size_t k = 0; k < kColumns; ++k) {
    for (std::size_t r = 0; r < kRows; ++r) {
      if (kGeometry[k][r] == led) return Cell{static_cast<int>(k), static_cast<int>(r)};
    }
  }
  return std::nullopt;
}

std::uint8_t LedAtCell(int column, int row) {
  if (column < 0 || row < 0) return kNoLed;
  return LedAt(static_cast<std::size_t>(column), static_cast<std::size_t>(row));
}

std::uint8_t AddClamped(std::uint8_t value, int delta) {
  return static_cast<std::uint8_t>(std::clamp(int{value} + delta, 0, 255));
}

// True when the cell or a cell within the glow's reach holds a held key other than `released`.
bool HeldNearby(const KeyboardLightState& state, Cell cell, std::uint8_t released) {
  auto heldAt = [&](int column, int row) {
    const std::uint8_t led = LedAtCell(column, row);
    return led != kNoLed && led != released && state.held[led] == 1;
  };
  if (heldAt(cell.column, cell.row)) return true;
  return std::any_of(kGlowReach.begin(), kGlowReach.end(),
                     [&](const Neighbour& n) { return heldAt(cell.column + n.dColumn, cell.row + n.dRow); });
}

}  // namespace

void SpreadKeyGlow(KeyboardLightState& state, std::uint8_t led, std::uint8_t action) {
  const std::optional<Cell> cell = FindCell(led);
  if (!cell) return;
  if (action == kKeyPressed) {
    state.keyAction[led] = kKeyPressed;
    state.held[led] = 1;
    state.fade[led] = 255;
    for (const Neighbour& n : kGlowReach) {
      const std::uint8_t other = LedAtCell(cell->column + n.dColumn, cell->row + n.dRow);
      if (other == kNoLed) continue;
      state.keyAction[other] = kKeyPressed;
      state.fade[other] = AddClamped(state.fade[other], n.pressGain);
    }
    return;
  }
  if (action != kKeyReleased) return;
  for (const Neighbour& n : kGlowReach) {
    const Cell at{cell->column + n.dColumn, cell->row + n.dRow};
    const std::uint8_t other = LedAtCell(at.column, at.row);
    if (other == kNoLed || HeldNearby(state, at, led)) continue;
    state.keyAction[other] = kKeyReleased;
    state.fade[other] = AddClamped(state.fade[other], -n.releaseLoss);
  }
  if (!HeldNearby(state, *cell, led)) state.keyAction[led] = kKeyReleased;
  state.held[led] = 0;
}

void TriggerLed(KeyboardLightState& state, std::uint8_t liveMode, std::uint8_t led, std::uint8_t action,
                RandomSource& random) {
  if (led >= kLedSlots) return;
  switch (liveMode) {
    case 8:
      SpreadKeyGlow(state, led, action);
      break;
    case 10:
      state.keyAction[led] = action;
      state.fade[led] = 255;
      state.hue[led] = static_cast<std::uint8_t>(random.Below(kWheelSize));
      break;
    case 9:
    case 44:
      RippleFromLed(state, led, action);
      break;
    default:
      break;
  }
}

void TriggerKey(KeyboardLightState& state, std::uint8_t liveMode, std::span<const std::uint8_t> keyPositions,
                std::uint8_t devicePosition, std::uint8_t action, RandomSource& random) {
  // 255 marks the keys this keyboard does not have; it is never a real key.
  if (devicePosition == kNoDeviceKey) return;
  if (action != kKeyPressed && action != kKeyReleased) return;
  const std::size_t keys = std::min(keyPositions.size(), kLedSlots);
  for (std::size_t key = 0; key < keys; ++key) {
    if (keyPositions[key] != devicePosition) continue;
    return TriggerLed(state, liveMode, static_cast<std::uint8_t>(key), action, random);
  }
}

}  // namespace norvane::lighting::keyboard
