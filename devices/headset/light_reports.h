#pragma once
// The headset's LEDs are driven by raw output reports on its HID interface, twelve per frame: for each of
// red, green and blue, the channel values of LEDs 0 to 6 and of LEDs 7 to 12, first for zone 0x22 and then
// for zone 0x44.
//
// Report (17 bytes): 0xFF (report id), zone (0x22 or 0x44), data kind, 0, then the seven (or six) channel
// values, zero-filled. Data kinds: 0xAA red 0-6, 0xAD red 7-12, 0xAB green 0-6, 0xAE green 7-12, 0xAC blue
// 0-6, 0xAF blue 7-12. Channel value = colour × level ÷ 256, at most 247.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "devices/lighting/led_record.h"

namespace norvane::devices::headset {

inline constexpr std::size_t kLightReportSize = 17;
inline constexpr std::size_t kLightReportCount = 12;
inline constexpr std::uint8_t kLightReportId = 0xFF;
inline constexpr std::size_t kHeadsetLedCount = 13;
inline constexpr std::uint8_t kHighestChannel = 247;

using LightReport = std::array<std::uint8_t, kLightReportSize>;
using LightReports = std::array<LightReport, kLightReportCount>;

// The frame's reports in sending order. LEDs beyond 13 are not sent; missing ones are dark.
LightReports BuildLightReports(std::span<const lighting::LedRecord> leds);

// What the headset was last sent, so that only reports whose bytes changed go out again.
class LightReportCache {
 public:
  // Indexes (in sending order) of the reports that differ from the ones last marked sent; all of them
  // after Clear.
  std::vector<std::size_t> Changed(const LightReports& reports) const;
  void MarkSent(std::size_t index, const LightReport& report);
  void Clear() { sent_ = {}; }

 private:
  std::array<std::optional<LightReport>, kLightReportCount> sent_{};
};

}  // namespace norvane::devices::headset
