#pragma once
// The page's mode table: one device mode code per entry of its effect list, in list order. Writing a
// setting maps the effect index to its code, reading maps a device code back to the first effect that has
// it. A value with no entry passes through unchanged in both directions.

#include <cstdint>
#include <span>

namespace norvane::lighting {

std::uint8_t DeviceCodeForEffect(std::span<const std::uint8_t> modeTable, std::uint8_t effectIndex);
std::uint8_t EffectForDeviceCode(std::span<const std::uint8_t> modeTable, std::uint8_t deviceCode);

}  // namespace norvane::lighting
