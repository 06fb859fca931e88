#include "devices/keyboard/settings_record.h"

#include <algorithm>

#include "devices/lighting/mode_table.h"

namespace norvane::devices::keyboard {
namespace {

constexpr std::uint8_t kTopLevel = 4;

std::uint8_t Level(std::uint8_t value) {
  return std::min(value, kTopLevel);
}

}  // namespace

LiveSettings DecodeSettingsRecord(const SettingsRecord& record, std::span<const std::uint8_t> modeTable) {
  using namespace record_byte;
  LiveSettings live;
  live.light.mode = lighting::EffectForDeviceCode(modeTable, record[kMode]);
  live.light.brightness = record[kBrightness];
  // A speed byte above 4 would give a negative level; the slowest level is the nearest meaning.
  live.light.speed = static_cast<std::uint8_t>(kTopLevel - Level(record[kSpeed]));
  live.light.direction = record[kDirection];
  live.light.multiColour = record[kMultiColour];
  live.light.red = record[kRed];
  live.light.green = record[kGreen];
  live.light.blue = record[kBlue];
  live.light.presetColour = record[kPresetColour];
  live.light.customGroup = record[kCustomGroup];
  live.wFlag = record[kWFlag];
  live.sixKey = record[kSixKey];
  live.winLock = record[kWinLock];
  return live;
}

SettingsRecord EncodeSettingsRecord(const SettingsRecord& last, const lighting::LightParams& light,
                                    const KeyboardSystemStages& system,
                                    std::span<const std::uint8_t> modeTable, std::uint8_t activeProfile) {
  using namespace record_byte;
  SettingsRecord record = last;
  record[kActiveProfile] = activeProfile;
  record[kMode] =
      IsStreamedMode(light.mode) ? kStreamedModeCode : lighting::DeviceCodeForEffect(modeTable, light.mode);
  record[kBrightness] = Level(light.brightness);
  record[kSpeed] = static_cast<std::uint8_t>(kTopLevel - Level(light.speed));
  record[kDirection] = light.direction;
  record[kMultiColour] = light.multiColour;
  record[kRed] = light.red;
  record[kGreen] = light.green;
  record[kBlue] = light.blue;
  record[kZero] = 0;
  record[kPresetColour] = light.presetColour;
  record[kWFlag] = static_cast<std::uint8_t>(system.w_flag);
  record[kSixKey] = static_cast<std::uint8_t>(system.key6_flag);
  record[kWinLock] = static_cast<std::uint8_t>(system.win_flag);
  record[kPollingRate] = static_cast<std::uint8_t>(system.polling_rate);
  record[kCustomGroup] = light.customGroup;
  return record;
}

}  // namespace norvane::devices::keyboard
