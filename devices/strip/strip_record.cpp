#include "devices/strip/strip_record.h"

#include <algorithm>

#include "devices/lighting/mode_table.h"

namespace norvane::devices::strip {
namespace {

constexpr std::uint8_t kTopLevel = 4;
constexpr int kLastAddress = 0xFFFF;

std::uint8_t Level(std::uint8_t value) {
  return std::min(value, kTopLevel);
}

std::optional<std::uint16_t> AddressOf(int profile, int stride, int length) {
  if (profile < 0 || profile > (kLastAddress + 1 - length) / stride) return std::nullopt;
  return static_cast<std::uint16_t>(profile * stride);
}

}  // namespace

std::optional<std::uint16_t> WriteAddress(int profile) {
  return AddressOf(profile, kWriteStride, static_cast<int>(kRecordSize));
}

std::optional<std::uint16_t> LiveReadAddress(int profile) {
  return AddressOf(profile, kLiveReadStride, static_cast<int>(kLiveReadSize));
}

lighting::LightParams DecodeStripRecord(const StripRecord& record, std::span<const std::uint8_t> modeTable) {
  using namespace record_byte;
  lighting::LightParams light;
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

StripRecord EncodeStripRecord(const StripRecord& live, const lighting::LightParams& light,
                              std::span<const std::uint8_t> modeTable, std::uint8_t first) {
  using namespace record_byte;
  StripRecord record = live;
  record[kFirst] = first;
  record[kMode] = lighting::DeviceCodeForEffect(modeTable, light.mode);
  record[kBrightness] = Level(light.brightness);
  record[kSpeed] = static_cast<std::uint8_t>(kTopLevel - Level(light.speed));
  record[kDirection] = light.direction;
  record[kMultiColour] = light.multiColour;
  record[kRed] = light.red;
  record[kGreen] = light.green;
  record[kBlue] = light.blue;
  return record;
}

}  // namespace norvane::devices::strip
