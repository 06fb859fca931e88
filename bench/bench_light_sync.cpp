// The lighting synchronisation thread while synchronised lighting runs on three emulated devices (keyboard,
// mouse, mouse pad, each with its command channel open and in the shared effect): the CPU time of that
// thread alone (its own thread clock), per device. The shared effect is a colourful breathing at speed
// level 4, the fastest, so the thread steps as often as it ever does (every 7 ticks of 15.625 ms).

#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "app/light_sync.h"
#include "bench/bench_support.h"
#include "devices/basic_device.h"
#include "devices/keyboard/keyboard_device.h"
#include "emulator/emulator.h"
#include "hid/hid_device.h"
#include "protocol/channel_opener.h"

namespace {

using namespace norvane;
using namespace std::chrono_literals;

constexpr auto kRun = 4s;

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Opens the command collection of each emulated device into a page of its kind.
std::vector<std::unique_ptr<devices::CNorvaneUSBDevice>> OpenPages() {
  std::vector<std::unique_ptr<devices::CNorvaneUSBDevice>> pages;
  hid::HidDevice walker;
  walker.EnumerateInterfaces();
  while (const std::string* path = walker.NextInterfacePath()) {
    const auto row = hid::FindCandidateRow(hid::ParseVendorId(*path), hid::ParseProductId(*path),
                                           hid::ParseInterfaceNumber(*path), hid::ParseCollectionNumber(*path));
    if (!row || !hid::InterfaceTable()[*row].IsVendorCommandInterface()) continue;
    hid::InterfaceEntry entry = hid::InterfaceTable()[*row];
    entry.path = *path;
    std::unique_ptr<devices::CNorvaneUSBDevice> page;
    if (entry.kind == hid::DeviceKind::kKeyboard) {
      auto keyboard = std::make_unique<devices::CNorvaneKeyboardDevice>();
      bench::SetUpKeyboard(*keyboard);
      page = std::move(keyboard);
    } else {
      page = std::make_unique<devices::CNorvaneBasicDevice>();
      page->SetLedCount(entry.kind == hid::DeviceKind::kMouse ? 15 : 40);
    }
    page->SetIdentity(entry);
    if (protocol::OpenCommandInterface(page->CommandChannel(), entry.path, protocol::LinkType::kWired) !=
        hid::OpenError::kNone)
      continue;
    page->SetLightSynced(true);
    pages.push_back(std::move(page));
  }
  return pages;
}

void BM_LightSyncThread(benchmark::State& state) {
  const std::array models = {emulator::DeviceModel::kKeyboard, emulator::DeviceModel::kMouse,
                             emulator::DeviceModel::kMousePad};
  auto emulated = std::make_shared<emulator::EmulatorBackend>(models);
  emulated->SetLatency(1ms);
  auto previous = hid::SetActiveHidBackend(emulated);
  double cpuPerDevice = 0;
  int level = 0;
  std::size_t devices = 0;
  for (auto _ : state) {
    const std::vector<std::unique_ptr<devices::CNorvaneUSBDevice>> pages = OpenPages();
    devices = pages.size();
    auto shared = std::make_shared<app::LightSyncShared>();
    for (const auto& page : pages) shared->targets.Add(page.get());
    shared->effect.Store({.type = lighting::kSharedBreathing, .brightness = 4, .speed = 4, .multiColour = 1});

    double cpu = 0;
    lighting::StopTokenSleeper sleeper;
    const auto started = std::chrono::steady_clock::now();
    std::jthread thread([&](std::stop_token stop) {
      const double before = ThreadCpuSeconds();
      app::RunLightSync(*shared, SteadyClock::Instance(), sleeper, stop);
      cpu = ThreadCpuSeconds() - before;
    });
    std::this_thread::sleep_for(kRun);
    level = pages.empty() ? 0 : pages.front()->LedAt(0).level;
    thread.request_stop();
    thread.join();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    cpuPerDevice = devices ? 100.0 * cpu / wall / double(devices) : 0;
  }
  state.counters["devices"] = double(devices);
  state.counters["cpu_percent_per_device"] = cpuPerDevice;
  state.counters["last_level_shown"] = level;
  hid::SetActiveHidBackend(previous);
}

BENCHMARK(BM_LightSyncThread)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
