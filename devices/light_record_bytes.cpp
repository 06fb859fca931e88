#include "devices/light_record_bytes.h"

#include <algorithm>

#include "devices/lighting/mode_table.h"

namespace norvane::devices {
namespace {

constexpr std::uint8_t kTopLevel = 4;

enum Byte : std::size_t { kMode = 1, kBrightness, kSpeed, kDirection, kMultiColour, kRed, kGreen, kBlue };

std::uint8_t Level(std::uint8_t value) {
  return std::min(value, kTopLevel);
}

}  // namespace

lighting::LightParams ReadLightBytes(std::span<const std::uint8_t> record, std::span<const std::uint8_t> modeTable) {
  lighting::LightParams light;
  if (record.size() < kLightBytesEnd) return light;
  light.mode = lighting::EffectForDeviceCode(modeTable, record[kMode]);
  light.brightness = record[kBrightness];
  light.speed = static_cast<std::uint8_t>(kTopLevel - Level(record[kSpeed]));
  light.direction = record[kDirection];
  light.multiColour = record[kMultiColour];
  light.red = record[kRed];
  light.green = record[kGreen];
  light.blue = record[kBlue];
  return light;
}

void WriteLightBytes(std::span<std::uint8_t> record, const lighting::LightParams& light,
                     std::span<const std::uint8_t> modeTable) {
  if (record.size() < kLightBytesEnd) return;
  record[kMode] = lighting::DeviceCodeForEffect(modeTable, light.mode);
  record[kBrightness] = Level(light.brightness);
  record[kSpeed] = static_cast<std::uint8_t>(kTopLevel - Level(light.speed));
  record[kDirection] = light.direction;
  record[kMultiColour] = light.multiColour;
  record[kRed] = light.red;
  record[kGreen] = light.green;
  record[kBlue] = light.blue;
}

}  // namespace norvane::devices
