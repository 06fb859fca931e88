// An idle program with an emulated keyboard and mouse attached and its window in the tray: the scan thread
// waits for hotplug changes, the lighting threads wait while no preview can be seen (the pages say so as the
// window hides), the sync threads wait in their reads. Reports, over a few idle
// seconds after the first synchronisations, the enumerations and HID backend calls per second and the
// CPU share of all the process's threads (getrusage).
//
// The device side is wired here as the device host wires it, without widgets: the pages' logic works
// without a display, and the widgets add nothing while the window is idle.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "devices/basic_device.h"
#include "devices/keyboard/keyboard_device.h"
#include "emulator/emulator.h"
#include "hid/catalogue/device_scanner.h"
#include "protocol/channel_opener.h"

namespace {

using namespace norvane;
using namespace std::chrono_literals;

constexpr auto kIdle = 3s;

// Counts what reaches the emulator.
class CountingBackend : public hid::HidBackend {
 public:
  explicit CountingBackend(std::shared_ptr<emulator::EmulatorBackend> inner) : inner_(std::move(inner)) {}
  std::optional<std::vector<hid::HidNodeInfo>> Enumerate() override {
    ++enumerations;
    ++calls;
    return inner_->Enumerate();
  }
  std::unique_ptr<hid::HidNodeConnection> Open(const std::string& node_id, const hid::HidNodeInfo* expected,
                                               hid::OpenError& error) override {
    ++calls;
    return inner_->Open(node_id, expected, error);
  }
  std::unique_ptr<hid::HotplugSubscription> WatchHotplug(std::function<void()> on_change) override {
    return inner_->WatchHotplug(std::move(on_change));
  }
  std::atomic<int> enumerations{0};
  std::atomic<int> calls{0};

 private:
  std::shared_ptr<emulator::EmulatorBackend> inner_;
};

// The host's arrival handling for a keyboard and a mouse, run on the scan thread (there is no UI thread
// here): the command interface opens the page's channel and the page synchronises; an event interface
// starts the page's sync thread.
class IdleHost : public hid::catalogue::ScanListener {
 public:
  IdleHost() {
    keyboard_->SetLedCount(170);
    keyboard_->SetKeyCount(170);
    mouse_->SetLedCount(15);
    mouse_->SetKeyCount(11);
    // As the pages say once the window is hidden: nobody sees a preview.
    keyboard_->SetPreviewShown(false);
    mouse_->SetPreviewShown(false);
  }
  void Attach(hid::catalogue::DeviceScanner& scanner) { scanner_ = &scanner; }

  bool InterfaceFound(std::size_t index, std::stop_token) override {
    const std::optional<hid::InterfaceEntry> entry = scanner_->Entry(index);
    if (!entry) return true;
    devices::CNorvaneUSBDevice* page = PageOf(entry->kind);
    if (!page) return true;
    std::lock_guard lock(mutex_);
    if (entry->role == hid::InterfaceRole::kEvent) {
      page->AttachEventInterface(*entry);
      return true;
    }
    page->SetIdentity(*entry);
    if (protocol::OpenCommandInterface(page->CommandChannel(), entry->path, protocol::LinkType::kWired) ==
        hid::OpenError::kNone) {
      page->InitialSync();
      ++synced;
    }
    return true;
  }
  bool InterfaceLost(std::size_t, std::stop_token) override { return true; }
  void FirstPassDone() override { first_pass = true; }

  std::atomic<bool> first_pass{false};
  std::atomic<int> synced{0};

 private:
  devices::CNorvaneUSBDevice* PageOf(hid::DeviceKind kind) {
    if (kind == hid::DeviceKind::kKeyboard) return keyboard_.get();
    if (kind == hid::DeviceKind::kMouse) return mouse_.get();
    return nullptr;
  }

  std::mutex mutex_;
  hid::catalogue::DeviceScanner* scanner_ = nullptr;
  std::unique_ptr<devices::CNorvaneKeyboardDevice> keyboard_ =
      std::make_unique<devices::CNorvaneKeyboardDevice>();
  std::unique_ptr<devices::CNorvaneBasicDevice> mouse_ = std::make_unique<devices::CNorvaneBasicDevice>();
};

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_IdleProgram(benchmark::State& state) {
  const std::array models = {emulator::DeviceModel::kKeyboard, emulator::DeviceModel::kMouse};
  auto emulated = std::make_shared<emulator::EmulatorBackend>(models);
  auto counting = std::make_shared<CountingBackend>(emulated);
  auto previous = hid::SetActiveHidBackend(counting);
  double enumerations = 0;
  double calls = 0;
  double cpu_share = 0;
  int synced = 0;
  for (auto _ : state) {
    IdleHost host;
    hid::catalogue::DeviceScanner scanner(host);
    host.Attach(scanner);
    scanner.Start();
    while (!host.first_pass) std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(300ms);  // the settling pass and the first synchronisations

    const int enumerations_before = counting->enumerations.load();
    const int calls_before = counting->calls.load();
    const double cpu_before = CpuSeconds();
    const auto started = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(kIdle);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    enumerations = (counting->enumerations.load() - enumerations_before) / wall;
    calls = (counting->calls.load() - calls_before) / wall;
    cpu_share = 100.0 * (CpuSeconds() - cpu_before) / wall;
    synced = host.synced.load();
    scanner.Stop();
  }
  state.counters["pages_synced"] = synced;
  state.counters["enumerations_per_second"] = enumerations;
  state.counters["backend_calls_per_second"] = calls;
  state.counters["cpu_percent_all_threads"] = cpu_share;
  hid::SetActiveHidBackend(previous);
}

BENCHMARK(BM_IdleProgram)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
