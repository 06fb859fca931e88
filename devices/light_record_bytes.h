#pragma once
// Bytes 1 to 8 of the settings record of every kind: the light mode as its device code, the brightness
// level, 4 minus the speed level, the direction, the multi-colour flag, red, green and blue. The kinds'
// records add their own bytes around them.

#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/lighting/light_params.h"

namespace norvane::devices {

inline constexpr std::size_t kLightBytesEnd = 9;  // a record holds at least bytes 0 to 8

// The light parameters of those bytes: the mode mapped back through the mode table, the speed level from
// byte 3 (a byte above 4 counts as the slowest level). Fields the bytes do not hold stay 0.
lighting::LightParams ReadLightBytes(std::span<const std::uint8_t> record, std::span<const std::uint8_t> modeTable);

// Writes those bytes: the mode through the mode table, levels above 4 as 4, so the speed byte never wraps.
void WriteLightBytes(std::span<std::uint8_t> record, const lighting::LightParams& light,
                     std::span<const std::uint8_t> modeTable);

}  // namespace norvane::devices
