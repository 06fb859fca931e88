#include "devices/lighting/mode_table.h"

#include <algorithm>

namespace norvane::lighting {

std::uint8_t DeviceCodeForEffect(std::span<const std::uint8_t> modeTable, std::uint8_t effectIndex) {
  return effectIndex < modeTable.size() ? modeTable[effectIndex] : effectIndex;
}

std::uint8_t EffectForDeviceCode(std::span<const std::uint8_t> modeTable, std::uint8_t deviceCode) {
  const auto found = std::find(modeTable.begin(), modeTable.end(), deviceCode);
  const auto index = found - modeTable.begin();
  if (found == modeTable.end() || index > 255) return deviceCode;
  return static_cast<std::uint8_t>(index);
}

}  // namespace norvane::lighting
