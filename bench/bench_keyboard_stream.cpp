// Lighting frames streamed to the emulated keyboard per second, as the page presents them in the
// host-driven modes: with an instant device and with 1 ms per transfer.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "devices/keyboard/keyboard_device.h"
#include "emulator/emulator.h"
#include "hid/hid_device.h"
#include "hid/interface_table.h"
#include "protocol/channel_opener.h"

namespace {

using namespace norvane;

std::string KeyboardCommandPath() {
  hid::HidDevice walker;
  walker.EnumerateInterfaces();
  while (const std::string* path = walker.NextInterfacePath()) {
    const auto row =
        hid::FindCandidateRow(hid::ParseVendorId(*path), hid::ParseProductId(*path),
                              hid::ParseInterfaceNumber(*path), hid::ParseCollectionNumber(*path));
    if (row && hid::InterfaceTable()[*row].IsVendorCommandInterface()) return *path;
  }
  return {};
}

void BM_KeyboardStreamedFrames(benchmark::State& state) {
  auto backend = std::make_shared<emulator::EmulatorBackend>(std::vector{emulator::DeviceModel::kKeyboard});
  const auto previous = hid::SetActiveHidBackend(backend);
  backend->SetLatency(std::chrono::milliseconds(state.range(0)));
  {
    devices::CNorvaneKeyboardDevice page;
    page.SetLedCount(170);
    const bool opened = protocol::OpenCommandInterface(page.CommandChannel(), KeyboardCommandPath(),
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
