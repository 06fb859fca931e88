#pragma once
// One LED of a page's lighting frame, and the colour triple the generators work with.

#include <cstdint>

namespace norvane::lighting {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Five bytes per LED: the colour, a level 0..255 that scales it, and a mark byte that each device kind uses
// for its own purpose (the keyboard's custom colours keep their "set" mark there). Generators never touch
// the mark.
struct LedRecord {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t level = 0;
  std::uint8_t mark = 0;

  friend bool operator==(const LedRecord&, const LedRecord&) = default;
};

static_assert(sizeof(LedRecord) == 5);

// Sets colour and level, keeping the mark.
inline void Paint(LedRecord& led, Rgb colour, std::uint8_t level) {
  led.red = colour.red;
  led.green = colour.green;
  led.blue = colour.blue;
  led.level = level;
}

inline void Darken(LedRecord& led) {
  Paint(led, Rgb{}, 0);
}

// value × factor ÷ 256, the scaling every generator uses for levels and colours.
constexpr std::uint8_t Scale(unsigned value, unsigned factor) {
  return static_cast<std::uint8_t>((value * factor) >> 8);
}

}  // namespace norvane::lighting
