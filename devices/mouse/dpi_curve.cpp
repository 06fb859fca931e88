#include "devices/mouse/dpi_curve.h"

#include <algorithm>

namespace norvane::devices::mouse {

int DpiScale::DpiOf(int position) const {
  if (sensor == kSteppedSensor && position > kSteppedFrom) {
    return step * kSteppedFrom + position * kWideStep + lowest - kSteppedFrom * kWideStep;
  }
  return position * step + lowest;
}

int DpiScale::PositionOf(int dpi) const {
  dpi = std::max(dpi, lowest);
  // The position whose DPI is the largest not above the typed value, so that typing what a position shows
  // gives that position (its wide steps start where its even ones end, at position 48).
  const int evenTop = DpiOf(kSteppedFrom);
  int position = 0;
  if (sensor == kSteppedSensor && dpi > evenTop) {
    position = (dpi - evenTop) / kWideStep + kSteppedFrom;
  } else if (step > 0) {
    position = (dpi - lowest) / step;
  }
  return Clamp(position);
}

int DpiScale::Clamp(int position) const {
  return std::clamp(position, 0, std::max(highestPosition, 0));
}

}  // namespace norvane::devices::mouse
