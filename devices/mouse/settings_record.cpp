#include "devices/mouse/settings_record.h"

#include <algorithm>

#include "devices/lighting/mode_table.h"

namespace norvane::devices::mouse {
namespace {

constexpr std::uint8_t kTopLevel = 4;

std::uint8_t Level(std::uint8_t value) {
  return std::min(value, kTopLevel);
}

void Put16(SettingsRecord& record, std::size_t at, unsigned value) {
  record[at] = static_cast<std::uint8_t>(value & 0xFF);
  record[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// The screen size travels in 16 bits; a size that does not fit is not a size the mouse can use.
unsigned ScreenValue(int pixels) {
  return pixels > 0 && pixels <= 0xFFFF ? static_cast<unsigned>(pixels) : 0;
}

}  // namespace

std::uint8_t ModeCode(std::span<const std::uint8_t> modeTable, std::uint8_t mode) {
  const std::size_t index = mode < kModeCount ? mode : 0;
  if (index < modeTable.size()) return modeTable[index];
  return modeTable.empty() ? 0 : modeTable.front();
}

SettingsRecord EncodeSettingsRecord(const SettingsSource& source) {
  using namespace record_byte;
  SettingsRecord record{};
  const lighting::LightParams& light = source.light;
  record[kActiveProfile] = source.activeProfile;
  record[kMode] = ModeCode(source.modeTable, light.mode);
  record[kBrightness] = Level(light.brightness);
  record[kSpeed] = static_cast<std::uint8_t>(kTopLevel - Level(light.speed));
  record[kDirection] = light.direction;
  record[kMultiColour] = light.multiColour;
  record[kRed] = light.red;
  record[kGreen] = light.green;
  record[kBlue] = light.blue;
  record[kReportRate] = source.reportRate < kReportRateStages ? static_cast<std::uint8_t>(source.reportRate) : 0;
  record[kActiveStage] =
      source.activeStage >= 0 && source.activeStage < static_cast<int>(kStageCount)
          ? static_cast<std::uint8_t>(source.activeStage)
          : 0;
  const std::size_t stages = std::min(source.stages.size(), kStageCount);
  for (std::size_t n = 0; n < stages; ++n) {
    const DpiStage& stage = source.stages[n];
    const std::size_t at = kStages + n * kStageSize;
    record[at + stage_byte::kActive] = stage.active;
    record[at + stage_byte::kXy] = stage.xy;
    Put16(record, at + stage_byte::kDpiX, stage.dpi_x);
    Put16(record, at + stage_byte::kDpiY, stage.dpi_y);
    record[at + stage_byte::kRed] = stage.red;
    record[at + stage_byte::kGreen] = stage.green;
    record[at + stage_byte::kBlue] = stage.blue;
  }
  record[kFlag] = source.flag;
  Put16(record, kScreenWidth, ScreenValue(source.screenWidth));
  Put16(record, kScreenHeight, ScreenValue(source.screenHeight));
  const auto selected = std::find_if(source.correction.begin(), source.correction.end(),
                                     [](const CorrectInfoEntry& entry) { return entry.select != 0; });
  if (selected != source.correction.end()) {
    record[kCorrectionMinSquare] = selected->min_sq;
    record[kCorrectionThreshold] = selected->pix_thresh;
  }
  return record;
}

LiveSettings DecodeSettingsRecord(const SettingsRecord& record, std::span<const std::uint8_t> modeTable) {
  using namespace record_byte;
  LiveSettings live;
  live.light.mode = lighting::EffectForDeviceCode(modeTable, record[kMode]);
  live.light.brightness = record[kBrightness];
  // A speed byte above 4 would give a negative level; the slowest level is the nearest meaning.
  live.light.speed = static_cast<std::uint8_t>(kTopLevel - Level(record[kSpeed]));
  live.light.multiColour = record[kMultiColour];
  live.light.red = record[kRed];
  live.light.green = record[kGreen];
  live.light.blue = record[kBlue];
  live.activeStage = record[kActiveStage];
  return live;
}

}  // namespace norvane::devices::mouse
