// Device pages and the scan thread: one tick of each generic generator through a page of 170 LEDs (the
// page's lock included), PresentFrame, and how often an idle scanner enumerates with a keyboard and a mouse
// attached (it should not at all: it waits for hotplug changes).

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "devices/usb_device.h"
#include "emulator/emulator.h"
#include "hid/catalogue/device_scanner.h"

namespace {

using namespace norvane;
using namespace std::chrono_literals;

constexpr int kLeds = 170;

std::unique_ptr<devices::CNorvaneUSBDevice> MakePage() {
  auto page = std::make_unique<devices::CNorvaneUSBDevice>();
  page->SetLedCount(kLeds);
  page->SetLightParams({.brightness = 3, .speed = 4, .direction = 1, .multiColour = 1, .red = 200});
  return page;
}

template <typename Generator>
void RunGenerator(benchmark::State& state, Generator generator) {
  auto page = MakePage();
  ManualClock clock;
  for (auto _ : state) {
    clock.Advance(15625us);
    generator(*page, clock.Now());
    benchmark::ClobberMemory();
  }
}

void BM_PageBreathing(benchmark::State& s) {
  RunGenerator(s, [](auto& page, auto) { page.FrameBreathing(); });
}
void BM_PageBreathingCycle(benchmark::State& s) {
  RunGenerator(s, [](auto& page, auto) { page.FrameBreathingCycle(); });
}
void BM_PageStatic(benchmark::State& s) {
  RunGenerator(s, [](auto& page, auto) { page.FrameStatic(); });
}
void BM_PageSpectrum(benchmark::State& s) {
  RunGenerator(s, [](auto& page, auto) { page.FrameSpectrum(); });
}
void BM_PageFlash(benchmark::State& s) {
  RunGenerator(s, [](auto& page, auto now) { page.FrameFlash(now); });
}
void BM_PageFlashCycle(benchmark::State& s) {
  RunGenerator(s, [](auto& page, auto now) { page.FrameFlashCycle(now); });
}
void BM_PageOff(benchmark::State& s) {
  RunGenerator(s, [](auto& page, auto) { page.FrameOff(); });
}
void BM_PagePresentFrame(benchmark::State& s) {
  RunGenerator(s, [](auto& page, auto) { page.PresentFrame(); });
}

BENCHMARK(BM_PageBreathing);
BENCHMARK(BM_PageBreathingCycle);
BENCHMARK(BM_PageStatic);
BENCHMARK(BM_PageSpectrum);
BENCHMARK(BM_PageFlash);
BENCHMARK(BM_PageFlashCycle);
BENCHMARK(BM_PageOff);
BENCHMARK(BM_PagePresentFrame);

// Counts the enumerations that reach the emulator.
class CountingBackend : public hid::HidBackend {
 public:
  explicit CountingBackend(std::shared_ptr<emulator::EmulatorBackend> inner) : inner_(std::move(inner)) {}
  std::optional<std::vector<hid::HidNodeInfo>> Enumerate() override {
    ++enumerations;
    return inner_->Enumerate();
  }
  std::unique_ptr<hid::HidNodeConnection> Open(const std::string& node_id, const hid::HidNodeInfo* expected,
                                               hid::OpenError& error) override {
    return inner_->Open(node_id, expected, error);
  }
  std::unique_ptr<hid::HotplugSubscription> WatchHotplug(std::function<void()> on_change) override {
    return inner_->WatchHotplug(std::move(on_change));
  }
  std::atomic<int> enumerations{0};

 private:
  std::shared_ptr<emulator::EmulatorBackend> inner_;
};

class SilentListener : public hid::catalogue::ScanListener {
 public:
  bool InterfaceFound(std::size_t, std::stop_token) override { return true; }
  bool InterfaceLost(std::size_t, std::stop_token) override { return true; }
  void FirstPassDone() override { first_pass = true; }
  std::atomic<bool> first_pass{false};
};

// Reports enumerations per second of an idle scanner over 3 s, after its first pass has settled.
void BM_IdleScannerEnumerations(benchmark::State& state) {
  const std::array models = {emulator::DeviceModel::kKeyboard, emulator::DeviceModel::kMouse};
  auto emulated = std::make_shared<emulator::EmulatorBackend>(models);
  auto counting = std::make_shared<CountingBackend>(emulated);
  auto previous = hid::SetActiveHidBackend(counting);
  double per_second = 0;
  for (auto _ : state) {
    SilentListener listener;
    hid::catalogue::DeviceScanner scanner(listener);
    scanner.Start();
    while (!listener.first_pass) std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(300ms);
    const int settled = counting->enumerations.load();
    std::this_thread::sleep_for(3s);
    per_second = (counting->enumerations.load() - settled) / 3.0;
    scanner.Stop();
  }
  state.counters["enumerations_per_second"] = per_second;
  hid::SetActiveHidBackend(previous);
}

BENCHMARK(BM_IdleScannerEnumerations)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
