#include "devices/keyboard/settings_record.h"

#include "devices/light_record_bytes.h"

namespace norvane::devices::keyboard {

LiveSettings DecodeSettingsRecord(const SettingsRecord& record, std::span<const std::uint8_t> modeTable) {
  using namespace record_byte;
  LiveSettings live;
  live.light = ReadLightBytes(record, modeTable);
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
  WriteLightBytes(record, light, modeTable);
  if (IsStreamedMode(light.mode)) record[kMode] = kStreamedModeCode;
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
