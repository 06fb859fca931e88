#pragma once
// The audio light record as a page holds it: two 32-bit words and the colour-type byte, nine bytes in all.
//   word 0 = audio mode | background red << 8 | background green << 16 | background blue << 24
//   word 1 = foreground red | foreground green << 8 | foreground blue << 16 | multi-colour flag << 24

#include <cstdint>

#include "devices/lighting/light_params.h"

namespace norvane::lighting {

struct AudioLightWords {
  std::uint32_t word0 = 0;
  std::uint32_t word1 = 0;
  std::uint8_t colourType = 0;
  friend bool operator==(const AudioLightWords&, const AudioLightWords&) = default;
};

constexpr AudioLightWords PackAudioLight(const AudioLight& audio) {
  return {.word0 = std::uint32_t{audio.mode} | std::uint32_t{audio.background.red} << 8 |
                   std::uint32_t{audio.background.green} << 16 | std::uint32_t{audio.background.blue} << 24,
          .word1 = std::uint32_t{audio.foreground.red} | std::uint32_t{audio.foreground.green} << 8 |
                   std::uint32_t{audio.foreground.blue} << 16 | std::uint32_t{audio.multiColour} << 24,
          .colourType = audio.colourType};
}

constexpr AudioLight UnpackAudioLight(const AudioLightWords& words) {
  const auto byte = [](std::uint32_t word, int n) { return static_cast<std::uint8_t>(word >> (8 * n)); };
  return {.mode = byte(words.word0, 0),
          .background = {byte(words.word0, 1), byte(words.word0, 2), byte(words.word0, 3)},
          .foreground = {byte(words.word1, 0), byte(words.word1, 1), byte(words.word1, 2)},
          .multiColour = byte(words.word1, 3),
          .colourType = words.colourType};
}

}  // namespace norvane::lighting
