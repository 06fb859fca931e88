#include "devices/lighting/reactive_fade.h"

#include <algorithm>

namespace norvane::lighting {
namespace {

// Never wraps: a faint value must not come back at full brightness (the mode-29 curve subtracts 45 from
// values as small as 16).
constexpr std::uint8_t Minus(std::uint8_t value, unsigned amount) {
  return static_cast<std::uint8_t>(value > amount ? value - amount : 0);
}

// Shared tail of every curve: slow steps of 8 while bright enough, then single steps to 0.
constexpr std::uint8_t Tail(std::uint8_t value) {
  if (value > 16) return Minus(value, 8);
  return value ? Minus(value, 1) : 0;
}

}  // namespace

std::uint8_t FadeStep(std::uint8_t value, unsigned mode) {
  if (mode == 0) {
    if (value & 0x80) return Minus(value, 40);
    if (value & 0x40) return Minus(value, 30);
    if (value & 0x20) return Minus(value, 15);
    return Tail(value);
  }
  if (mode == 29) {
    if (value & 0x90) return Minus(value, 45);
    if (value & 0x70) return Minus(value, 35);
    return value ? Minus(value, 1) : 0;
  }
  if (value & 0x80) return Minus(value, 40);
  if (value & 0x40) return Minus(value, 30);
  if (value & 0x20) return Minus(value, 10);
  return Tail(value);
}

std::uint8_t ReactiveBuffers::FadeStep(std::size_t position, unsigned mode) {
  if (position >= fade.size()) return 0;
  fade[position] = lighting::FadeStep(fade[position], mode);
  return fade[position];
}

void ReactiveBuffers::LatchColumns() {
  for (std::size_t position = 0; position <= 8; ++position) {
    if (columns[position]) fade[position] = 255;
  }
}

void ReactiveBuffers::RotateColumns(bool forward) {
  if (forward) {
    std::rotate(columns.rbegin(), columns.rbegin() + 1, columns.rend());
  } else {
    std::rotate(columns.begin(), columns.begin() + 1, columns.end());
  }
}

void ReactiveBuffers::Clear() {
  fade.fill(0);
  columns.fill(0);
}

}  // namespace norvane::lighting
