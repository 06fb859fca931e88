// The headset's lighting output reports per second, as its page presents frames every 10 ms and its
// lighting thread ticks every 15.625 ms, over ten seconds on a manual clock with 1 ms per transfer: while a
// static effect shows (after the first frame), and while the wave and the breathing run at speed levels 2
// and 4.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "devices/headset/hs6533_device.h"
#include "emulator/emulator.h"
#include "hid/hid_device.h"
#include "hid/interface_table.h"
#include "platform/clock.h"
#include "protocol/channel_opener.h"

namespace {

using namespace norvane;
using namespace std::chrono_literals;

std::string HeadsetPath() {
  hid::HidDevice walker;
  walker.EnumerateInterfaces();
  while (const std::string* path = walker.NextInterfacePath()) {
    if (hid::ParseProductId(*path) == 0x1630) return *path;
  }
  return {};
}

// range(0): the light mode (3 static, 0 wave, 2 breathing); range(1): the speed level.
void BM_HeadsetReportsPerSecond(benchmark::State& state) {
  auto backend = std::make_shared<emulator::EmulatorBackend>(std::vector{emulator::DeviceModel::kHeadset});
  const auto previous = hid::SetActiveHidBackend(backend);
  backend->SetLatency(1ms);
  const auto device = *backend->FindDevice(emulator::DeviceModel::kHeadset);
  ManualClock clock;
  {
    devices::CNorvaneHS6533Device page(devices::PageServices{.clock = &clock});
    page.SetLedCount(13);
    if (protocol::OpenCommandInterface(page.CommandChannel(), HeadsetPath(), protocol::LinkType::kWired) !=
        hid::OpenError::kNone) {
      state.SkipWithError("no emulated headset");
    } else {
      page.SetLightParams({.mode = static_cast<std::uint8_t>(state.range(0)), .brightness = 4,
                           .speed = static_cast<std::uint8_t>(state.range(1)), .multiColour = 1, .red = 255});
      constexpr auto kTick = std::chrono::microseconds(15625);
      constexpr auto kPresent = 10ms;
      constexpr int kSeconds = 10;
      double afterFirst = 0;
      for (auto _ : state) {
        backend->ClearOutputReports(device);
        const Clock::TimePoint start = clock.Now();
        Clock::TimePoint nextTick = start;
        Clock::TimePoint nextPresent = start;
        std::size_t firstFrame = 0;
        while (clock.Now() - start < std::chrono::seconds(kSeconds)) {
          if (clock.Now() >= nextTick) {
            page.LightingTick(clock.Now());
            nextTick += kTick;
          }
          if (clock.Now() >= nextPresent) {
            page.PresentFrame();
            page.WaitForLightReports();
            if (firstFrame == 0) firstFrame = backend->OutputReports(device).size();
            nextPresent += kPresent;
          }
          clock.Advance(1ms);
        }
        afterFirst = double(backend->OutputReports(device).size() - firstFrame) / kSeconds;
        state.counters["first_frame"] = double(firstFrame);
      }
      state.counters["reports_per_s"] = afterFirst;
      state.SetLabel(std::string(state.range(0) == 3 ? "static" : state.range(0) == 0 ? "wave" : "breathing") +
                     ", speed " + std::to_string(state.range(1)));
    }
  }
  hid::SetActiveHidBackend(previous);
}
BENCHMARK(BM_HeadsetReportsPerSecond)
    ->Args({3, 2})
    ->Args({0, 2})
    ->Args({0, 4})
    ->Args({2, 4})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
