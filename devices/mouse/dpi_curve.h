#pragma once
// DPI stages are stored as slider positions; the DPI a position stands for depends on the sensor. Most
// sensors step evenly from the lowest DPI; the 0x3325 sensor takes steps of 200 DPI above position 48.

#include <cstdint>

namespace norvane::devices::mouse {

inline constexpr std::uint16_t kSteppedSensor = 0x3325;
inline constexpr int kSteppedFrom = 48;  // the 0x3325 sensor's last position of even steps
inline constexpr int kWideStep = 200;    // its step above that position

// The DPI range of the sensor, from the information block.
struct DpiScale {
  std::uint16_t sensor = 0;
  int step = 0;             // DPI per position (below position 48 on the 0x3325 sensor)
  int highestPosition = 0;  // the slider's last position
  int lowest = 0;           // the DPI of position 0

  // The DPI a slider position stands for.
  [[nodiscard]] int DpiOf(int position) const;
  // The slider position of a typed DPI value: the position whose DPI is the largest not above it. Below
  // the lowest DPI counts as the lowest; the result lies within 0 .. highestPosition; a step of 0 gives
  // position 0.
  [[nodiscard]] int PositionOf(int dpi) const;
  // The position kept within the slider's range.
  [[nodiscard]] int Clamp(int position) const;
  // The DPI of the slider's last position: the most a user can type.
  [[nodiscard]] int HighestDpi() const { return DpiOf(highestPosition); }
};

}  // namespace norvane::devices::mouse
