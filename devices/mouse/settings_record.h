#pragma once
// The mouse's 71-byte settings record, one per stored profile at profile number × 128 of the settings area;
// byte 0 of the area (byte 0 of record 0) is the number of the profile the mouse uses. Every byte of the
// record comes from the host's profile: lighting, report rate, the five DPI stages, the screen size and the
// pointer correction.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/lighting/light_params.h"
#include "profiles/profile_records.h"

namespace norvane::devices::mouse {

inline constexpr std::size_t kSettingsRecordSize = 71;
inline constexpr std::size_t kRecordSpacing = 128;
inline constexpr std::size_t kStageCount = 5;
inline constexpr std::size_t kStageSize = 9;
inline constexpr int kReportRateStages = 5;
// Light modes 0..9; anything above counts as mode 0 when written.
inline constexpr std::uint8_t kModeCount = 10;
using SettingsRecord = std::array<std::uint8_t, kSettingsRecordSize>;

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
inline constexpr std::size_t kUnused = 9;  // kept zero
inline constexpr std::size_t kReportRate = 11;
inline constexpr std::size_t kActiveStage = 12;
inline constexpr std::size_t kStages = 14;  // 5 × 9 bytes
inline constexpr std::size_t kFlag = 59;
inline constexpr std::size_t kScreenWidth = 60;   // 16-bit little-endian
inline constexpr std::size_t kScreenHeight = 62;  // 16-bit little-endian
inline constexpr std::size_t kCorrectionMinSquare = 64;
inline constexpr std::size_t kCorrectionThreshold = 65;
}  // namespace record_byte

// Offsets inside one 9-byte stage.
namespace stage_byte {
inline constexpr std::size_t kActive = 0;
inline constexpr std::size_t kXy = 1;
inline constexpr std::size_t kDpiX = 2;  // 16-bit little-endian slider position
inline constexpr std::size_t kDpiY = 4;  // 16-bit little-endian
inline constexpr std::size_t kRed = 6;
inline constexpr std::size_t kGreen = 7;
inline constexpr std::size_t kBlue = 8;
}  // namespace stage_byte

// Everything a record is written from.
struct SettingsSource {
  std::uint8_t activeProfile = 0;  // byte 0: the write's value
  lighting::LightParams light;     // mode as the page's effect index
  std::span<const std::uint8_t> modeTable;
  std::uint16_t reportRate = 0;  // 0..4; anything else is written as 0
  std::int32_t activeStage = 0;  // 0..4; anything else is written as 0
  std::span<const DpiStage> stages;  // stages beyond the fifth are not written; missing ones are zero
  std::uint8_t flag = 1;
  int screenWidth = 0;
  int screenHeight = 0;
  std::span<const CorrectInfoEntry> correction;  // the first selected entry is written
};

// The device code of light mode `mode`: a mode of 10 or more counts as 0, and a table too short for the
// mode gives its first entry (0 with no table at all).
[[nodiscard]] std::uint8_t ModeCode(std::span<const std::uint8_t> modeTable, std::uint8_t mode);

[[nodiscard]] SettingsRecord EncodeSettingsRecord(const SettingsSource& source);

// What a record read from the mouse says: the lighting (mode mapped back to the page's effect index, the
// direction not taken) and the active DPI stage.
struct LiveSettings {
  lighting::LightParams light;
  std::uint8_t activeStage = 0;
};
[[nodiscard]] LiveSettings DecodeSettingsRecord(const SettingsRecord& record,
                                                std::span<const std::uint8_t> modeTable);

}  // namespace norvane::devices::mouse
