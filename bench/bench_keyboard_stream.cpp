// Lighting frames streamed to the emulated keyboard per second, as the page presents them in the
// host-driven modes: with an instant device and with 1 ms per transfer.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "devices/keyboard/keyboard_device.h"
#include "bench/bench_support.h"
#include "emulator/emulator.h"
#include "protocol/channel_opener.h"

namespace {

using namespace norvane;

void BM_KeyboardStreamedFrames(benchmark::State& state) {
  auto backend = std::make_shared<emulator::EmulatorBackend>(std::vector{emulator::DeviceModel::kKeyboard});
  const auto previous = hid::SetActiveHidBackend(backend);
  backend->SetLatency(std::chrono::milliseconds(state.range(0)));
  {
    devices::CNorvaneKeyboardDevice page;
    page.SetLedCount(170);
    const bool opened = protocol::OpenCommandInterface(page.CommandChannel(), bench::FirstCommandPath(),
                                                       protocol::LinkType::kWired) == hid::OpenError::kNone;
    if (!opened || page.ReadDeviceKeys() != 1) {
      state.SkipWithError("no emulated keyboard");
    } else {
      page.SetLightParams({.mode = 29, .brightness = 4});
      for (std::size_t led = 0; led < 170; ++led) {
        page.SetLedRecord(led, {static_cast<uint8_t>(led), 100, 200, 255, 0});
      }
      int64_t frames = 0;
      for (auto _ : state) {
        page.PresentFrame();
        if (page.LastStreamOutcome() != devices::keyboard::StreamOutcome::kSent) {
          state.SkipWithError("a frame was not taken");
          break;
        }
        if (++frames % 512 == 0) backend->ClearFrameLog();
      }
      state.SetItemsProcessed(frames);
      state.SetLabel(std::to_string(page.StreamBytes()) + " bytes, " + std::to_string(state.range(0)) +
                     " ms per transfer");
    }
  }
  hid::SetActiveHidBackend(previous);
}
BENCHMARK(BM_KeyboardStreamedFrames)->Arg(0)->Arg(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
