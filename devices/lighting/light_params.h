#pragma once
// Plain inputs of the lighting generators. They mirror the profile's light records field for field so a
// page can copy them across without this folder depending on the profile code.

#include <cstdint>

#include "devices/lighting/led_record.h"

namespace norvane::lighting {

// The page's light parameters ("LightInfo"): what the generators of the current mode read.
struct LightParams {
  std::uint8_t mode = 0;
  std::uint8_t brightness = 0;  // level 0..4; anything above is treated as 4
  std::uint8_t speed = 0;       // level 0..4; anything above is treated as 4
  std::uint8_t direction = 0;   // non-zero: forward
  std::uint8_t multiColour = 0;
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t presetColour = 0;  // "ZZCCLedMode": the colour choice of the static preset mode
  std::uint8_t customGroup = 0;

  Rgb Colour() const { return Rgb{red, green, blue}; }
};

// One step of a custom light list ("LEDEffectList"): an effect shown for timeMs milliseconds.
struct LightStep {
  std::uint8_t mode = 0;
  std::uint8_t brightness = 0;
  std::uint8_t speed = 0;
  std::uint8_t direction = 0;
  std::uint8_t multiColour = 0;
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint32_t timeMs = 0;
  std::uint32_t cycle = 0;  // stored with the step; playback does not use it

  Rgb Colour() const { return Rgb{red, green, blue}; }
};

// The custom effect of one LED (the lighting editor's per-key effect list).
struct PerLedEffect {
  std::uint8_t type = 0;  // 0 breathing, 2 blink, 3 colour cycle; others do nothing
  std::uint8_t brightness = 0;
  std::uint8_t speed = 0;
  std::uint8_t multiColour = 0;
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t enabled = 0;

  Rgb Colour() const { return Rgb{red, green, blue}; }
};

// The page's audio light record: which visualisation the audio mode shows and its colours.
struct AudioLight {
  std::uint8_t mode = 0;  // visualisation 0..6
  Rgb background;
  Rgb foreground;
  std::uint8_t multiColour = 0;  // foreground from the colour wheel
  std::uint8_t colourType = 0;   // which colour the audio panel edits: 0 background, 1 foreground
};

}  // namespace norvane::lighting
