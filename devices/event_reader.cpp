#include "devices/event_reader.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace norvane::devices {

namespace {

// A closed interface or a failed read is looked at again after this long.
constexpr std::chrono::milliseconds kIdleWait{10};

void WaitIdle(std::stop_token stop) {
  std::mutex mutex;
  std::condition_variable_any never;
  std::unique_lock lock(mutex);
  never.wait_for(lock, stop, kIdleWait, [] { return false; });
}

}  // namespace

std::optional<uint16_t> DecodeEventCode(hid::HidDevice& device, std::span<const uint8_t> report) {
  if (report.empty() || device.DecodeInputReport(report, hid::ReportType::kInput) == 0) return std::nullopt;
  for (const hid::HidUsageData& item : device.UsageData(hid::ReportType::kInput)) {
    if (item.report_id != report[0]) continue;
    if (item.is_button) {
      if (item.usages.empty()) return std::nullopt;
      return item.usages.front();
    }
    return item.usage;
  }
  return std::nullopt;
}

void RunEventReadLoop(hid::HidDevice& device, std::stop_token stop,
                      const std::function<void(uint16_t code)>& on_event) {
  std::vector<uint8_t> report;
  while (!stop.stop_requested()) {
    if (!device.IsOpen()) {
      WaitIdle(stop);
      continue;
    }
    report.assign(std::max<std::size_t>(device.Caps().input_report_byte_length, 1), 0);
    uint32_t bytes = 0;
    if (device.ReadReport(report, &bytes, hid::kInfinite) == 0 || bytes == 0) {
      WaitIdle(stop);
      continue;
    }
    if (stop.stop_requested()) break;
    const auto code = DecodeEventCode(
        device, std::span<const uint8_t>(report).first(std::min<std::size_t>(bytes, report.size())));
    if (code) on_event(*code);
  }
}

}  // namespace norvane::devices
