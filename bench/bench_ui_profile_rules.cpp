// From a chosen program's start to the device written: the window on an emulated keyboard (1 ms per
// transfer) with a rule "while norvane-bench-game runs, profile2", a real program of that name started
// with fork and exec, and the time until the keyboard's settings record holds profile2's Windows-key lock.
// Then the program ends and the time until the record is back. With the switcher's own settings (settling
// 300 ms), once with the kernel's process events where this user has them and once scanning /proc.

#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <chrono>
#include <filesystem>

#include "app/device_service.h"
#include "app/main_wnd.h"
#include "bench/bench_ui_support.h"
#include "controls/device_profile.h"
#include "controls/pages/device_page.h"
#include "devices/keyboard/keyboard_device.h"
#include "emulator/emulator.h"
#include "hid/hid_backend.h"
#include "profiles/json_file_util.h"
#include "profiles/profile_rules.h"

namespace {

using namespace norvane;
using namespace std::chrono_literals;

constexpr std::size_t kWinLockByte = 21;

// Runs the event loop until `done` holds or `limitMs` passed; whether it holds.
template <class Done>
bool WaitFor(Done done, int limitMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}

void Wait(int ms) {
  WaitFor([] { return false; }, ms);
}

std::filesystem::path TempFolder(const char* name) {
  std::string pattern = (std::filesystem::temp_directory_path() / (std::string(name) + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) std::abort();
  return pattern;
}

class Setup {
 public:
  explicit Setup(bool connector) {
    setenv("XDG_DATA_HOME", data_.c_str(), 1);
    backend_ = std::make_shared<emulator::EmulatorBackend>(std::vector{emulator::DeviceModel::kKeyboard});
    backend_->SetLatency(1ms);
    previous_ = hid::SetActiveHidBackend(backend_);
    app::MainWndOptions options;
    options.deviceServiceFactory = app::MakeDeviceHostService;
    options.settingsFile = data_ / "registry.ini";
    options.watchSleep = false;
    app::CProfileSwitcher::Options rules;
    rules.wayland = true;
    rules.watcher.tryConnector = connector;
    options.profileRules = rules;
    window_ = std::make_unique<app::CMainWnd>(std::move(options));
    window_->Create(nullptr, "bench-profile-rules", false, 0, 0, 1000, 640);
    ok_ = WaitFor(
        [&] { return Keyboard() && Keyboard()->IsChannelOpen() && Keyboard()->ProfileBar(); }, 10000);
    if (!ok_) return;
    controls::CDeviceProfileUI& bar = *Keyboard()->ProfileBar();
    bar.AddProfile();
    const std::filesystem::path file = bar.GetProfilePath(1).toStdString();
    Json::Value document = JsonFileUtil().ReadJsonValue(file);
    document["Device"][0]["SystemStages"]["WinFlag"] = 1;
    JsonFileUtil().WriteJsonValue(file, document);
    ProfileRuleSet set;
    ProfileRule rule;
    rule.program = "norvane-bench-game";
    rule.profileId = file.stem().string();
    set.rules.push_back(rule);
    ProfileRuleFile(Keyboard()->Device()->UserProfileFolder()).Write(set);
    window_->ProfileSwitcher()->RulesChanged();
    std::filesystem::copy_file("/bin/sleep", programs_ / "norvane-bench-game");
    Wait(1500);  // the watcher has read the process list
  }
  ~Setup() {
    window_.reset();
    hid::SetActiveHidBackend(previous_);
    std::filesystem::remove_all(data_);
    std::filesystem::remove_all(programs_);
  }

  bool Ok() const { return ok_; }
  controls::CDevicePageUI* Keyboard() const {
    if (!window_ || !window_->Devices()) return nullptr;
    for (controls::CDevicePageUI* page : window_->Devices()->Pages()) {
      if (page->Device() && page->Device()->Kind() == hid::DeviceKind::kKeyboard) return page;
    }
    return nullptr;
  }
  std::uint8_t WinLock() const {
    const auto id = backend_->FindDevice(emulator::DeviceModel::kKeyboard).value_or(-1);
    return backend_->ReadMemory(id, emulator::MemoryArea::kSettings, 0, 31)[kWinLockByte];
  }
  // Seconds until the record holds `value`; negative when it did not within 10 s.
  double Until(std::uint8_t value, std::chrono::steady_clock::time_point from) {
    if (!WaitFor([&] { return WinLock() == value; }, 10000)) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
  }
  pid_t StartGame() {
    const std::string path = (programs_ / "norvane-bench-game").string();
    const pid_t pid = fork();
    if (pid == 0) {
      execl(path.c_str(), path.c_str(), "60", static_cast<char*>(nullptr));
      _exit(127);
    }
    return pid;
  }

 private:
  std::filesystem::path data_ = TempFolder("norvane-bench-data");
  std::filesystem::path programs_ = TempFolder("norvane-bench-programs");
  std::shared_ptr<emulator::EmulatorBackend> backend_;
  std::shared_ptr<hid::HidBackend> previous_;
  std::unique_ptr<app::CMainWnd> window_;
  bool ok_ = false;
};

void Measure(benchmark::State& state, bool connector) {
  Setup setup(connector);
  if (!setup.Ok()) {
    state.SkipWithError("the keyboard page did not come up");
    return;
  }
  double started = 0;
  double ended = 0;
  int runs = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t game = setup.StartGame();
    const double on = setup.Until(1, start);
    const auto stop = std::chrono::steady_clock::now();
    kill(game, SIGKILL);
    waitpid(game, nullptr, 0);
    const double off = setup.Until(0, stop);
    if (on < 0 || off < 0) {
      state.SkipWithError("the keyboard was not switched");
      return;
    }
    started += on;
    ended += off;
    ++runs;
  }
  state.counters["start_to_written_ms"] = started / runs * 1000;
  state.counters["end_to_written_ms"] = ended / runs * 1000;
}

void BM_ProgramStartToDeviceWrittenKernelEvents(benchmark::State& state) {
  Measure(state, true);
}
BENCHMARK(BM_ProgramStartToDeviceWrittenKernelEvents)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_ProgramStartToDeviceWrittenScanning(benchmark::State& state) {
  Measure(state, false);
}
BENCHMARK(BM_ProgramStartToDeviceWrittenScanning)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return norvane::bench::RunWidgetBenchmarks(argc, argv);
}
