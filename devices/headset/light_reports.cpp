#include "devices/headset/light_reports.h"

#include <algorithm>

namespace norvane::devices::headset {
namespace {

constexpr std::array<std::uint8_t, 2> kZones = {0x22, 0x44};
constexpr std::size_t kFirstHalf = 7;  // LEDs 0 to 6; the second half is LEDs 7 to 12
constexpr std::size_t kValueOffset = 4;

enum class Channel { kRed, kGreen, kBlue };

// Data kinds of the first and the second half of a colour.
constexpr std::array<std::array<std::uint8_t, 2>, 3> kKinds = {{{0xAA, 0xAD}, {0xAB, 0xAE}, {0xAC, 0xAF}}};

std::uint8_t ChannelValue(const lighting::LedRecord& led, Channel channel) {
  const std::uint8_t colour = channel == Channel::kRed ? led.red : channel == Channel::kGreen ? led.green : led.blue;
  return std::min(lighting::Scale(colour, led.level), kHighestChannel);
}

LightReport Report(std::uint8_t zone, std::uint8_t kind, std::span<const lighting::LedRecord> leds, std::size_t first,
                   std::size_t count, Channel channel) {
  LightReport report{};
  report[0] = kLightReportId;
  report[1] = zone;
  report[2] = kind;
  for (std::size_t i = 0; i < count && first + i < leds.size(); ++i) {
    report[kValueOffset + i] = ChannelValue(leds[first + i], channel);
  }
  return report;
}

}  // namespace

LightReports BuildLightReports(std::span<const lighting::LedRecord> leds) {
  leds = leds.first(std::min(leds.size(), kHeadsetLedCount));
  LightReports reports{};
  std::size_t next = 0;
  for (const Channel channel : {Channel::kRed, Channel::kGreen, Channel::kBlue}) {
    const auto& kinds = kKinds[static_cast<std::size_t>(channel)];
    for (const std::uint8_t zone : kZones) {
      reports[next++] = Report(zone, kinds[0], leds, 0, kFirstHalf, channel);
      reports[next++] = Report(zone, kinds[1], leds, kFirstHalf, kHeadsetLedCount - kFirstHalf, channel);
    }
  }
  return reports;
}

std::vector<std::size_t> LightReportCache::Changed(const LightReports& reports) const {
  std::vector<std::size_t> changed;
  for (std::size_t i = 0; i < reports.size(); ++i) {
    if (!sent_[i] || *sent_[i] != reports[i]) changed.push_back(i);
  }
  return changed;
}

void LightReportCache::MarkSent(std::size_t index, const LightReport& report) {
  if (index < sent_.size()) sent_[index] = report;
}

}  // namespace norvane::devices::headset
