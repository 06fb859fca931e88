#pragma once
// The keyboard's 31-byte settings record, one per stored profile at profile number × 31 of the settings
// area; byte 0 of record 0 is the number of the profile the keyboard uses. The host owns the lighting and
// system bytes; every other byte belongs to the firmware and is written back as last read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/lighting/light_params.h"
#include "profiles/profile_records.h"

namespace norvane::devices::keyboard {

inline constexpr std::size_t kSettingsRecordSize = 31;
using SettingsRecord = std::array<std::uint8_t, kSettingsRecordSize>;

// The device mode code of the host-streamed lighting (modes 29 and 30).
inline constexpr std::uint8_t kStreamedModeCode = 0xFE;
inline constexpr std::uint8_t kAudioMode = 29;
inline constexpr std::uint8_t kAudioColourMode = 30;
inline constexpr std::uint8_t kCustomColourMode = 21;

inline bool IsStreamedMode(std::uint8_t mode) {
  return mode == kAudioMode || mode == kAudioColourMode;
}

namespace record_byte {
inline constexpr std::size_t kActiveProfile = 0;
inline constexpr std::size_t kMode = 1;
inline constexpr std::size_t kBrightness = 2;
inline constexpr std::size_t kSpeed = 3;  // 4 − speed level
inline constexpr std::size_t kDirection = 4;
inline constexpr std::size_t kMultiColour = 5;
inline constexpr std::size_t kRed = 6;
inline constexpr std::size_t kGreen = 7;
inline constexpr std::size_t kBlue = 8;
inline constexpr std::size_t kZero = 16;
inline constexpr std::size_t kPresetColour = 18;  // "ZZCCLedMode"
inline constexpr std::size_t kWFlag = 19;
inline constexpr std::size_t kSixKey = 20;
inline constexpr std::size_t kWinLock = 21;
inline constexpr std::size_t kPollingRate = 22;
inline constexpr std::size_t kCustomGroup = 25;
}  // namespace record_byte

// What a record read from the keyboard says. `mode` is the page's effect index (the mode table mapped back),
// or the code as read when no effect has it (kStreamedModeCode for the streamed modes).
struct LiveSettings {
  lighting::LightParams light;
  std::uint16_t wFlag = 0;
  std::uint16_t sixKey = 0;
  std::uint16_t winLock = 0;
};

LiveSettings DecodeSettingsRecord(const SettingsRecord& record, std::span<const std::uint8_t> modeTable);

// The record to write: the firmware's bytes from `last`, the lighting from `light` (mode mapped through the
// mode table; the streamed modes as kStreamedModeCode) and the system settings. Levels above 4 are written
// as 4, so the speed byte never wraps.
SettingsRecord EncodeSettingsRecord(const SettingsRecord& last, const lighting::LightParams& light,
                                    const KeyboardSystemStages& system,
                                    std::span<const std::uint8_t> modeTable, std::uint8_t activeProfile);

}  // namespace norvane::devices::keyboard
