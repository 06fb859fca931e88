// The process watcher's cost while it waits for a chosen program: the CPU share of the process (whose only
// other thread sleeps) over a few seconds, and how often it compared the process list as a whole.
//
// - on a quiet copy of /proc (nothing starts: the watcher's own cost when nothing changes);
// - on the machine's /proc, scanning and with the kernel's process events where this user may have them
//   (whatever the machine runs meanwhile counts: on a busy machine these are upper bounds).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/process_watcher.h"

namespace {

using namespace norvane;
using namespace std::chrono_literals;

constexpr auto kWatch = 5s;

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A still copy of this machine's process list (command lines, names, executables), with a last process id
// that never moves.
std::filesystem::path QuietProc() {
  std::string pattern = (std::filesystem::temp_directory_path() / "norvane-bench-proc-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  const std::filesystem::path root = pattern;
  for (const int pid : ListProcessIds("/proc")) {
    const std::optional<ProcessInfo> info = ReadProcessInfo("/proc", pid);
    if (!info) continue;
    const std::filesystem::path folder = root / std::to_string(pid);
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "cmdline") << info->argv0 << '\0';
    std::ofstream(folder / "comm") << info->comm << '\n';
    if (!info->exe.empty()) std::filesystem::create_symlink(info->exe, folder / "exe");
  }
  std::ofstream(root / "loadavg") << "0.00 0.00 0.00 1/100 4242\n";
  return root;
}

void Watch(benchmark::State& state, const std::filesystem::path& procRoot, bool connector) {
  ProcessWatcher::Options options;
  options.procRoot = procRoot;
  options.tryConnector = connector;
  double share = 0;
  double scansPerSecond = 0;
  for (auto _ : state) {
    ProcessWatcher watcher(options, [](const std::vector<ProcessInfo>&) {});
    watcher.SetPrograms({"norvane-bench-game", "steam", "/opt/game/bin/game"});
    watcher.Start();
    std::this_thread::sleep_for(1500ms);  // the first look at every process is over
    if (connector && watcher.ActiveBackend() != ProcessWatcher::Backend::kConnector) {
      state.SkipWithError("this user may not listen to the kernel's process events");
      return;
    }
    const std::uint64_t scans = watcher.FullScans();
    const double cpu = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(kWatch);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    share = (CpuSeconds() - cpu) / wall * 100.0;
    scansPerSecond = double(watcher.FullScans() - scans) / wall;
  }
  state.counters["cpu_percent_of_a_core"] = share;
  state.counters["list_comparisons_per_s"] = scansPerSecond;
}

void BM_WatcherScanQuietProc(benchmark::State& state) {
  const std::filesystem::path root = QuietProc();
  Watch(state, root, false);
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_WatcherScanQuietProc)->Iterations(1)->Unit(benchmark::kSecond);

void BM_WatcherScanMachineProc(benchmark::State& state) {
  Watch(state, "/proc", false);
}
BENCHMARK(BM_WatcherScanMachineProc)->Iterations(1)->Unit(benchmark::kSecond);

void BM_WatcherKernelEventsMachine(benchmark::State& state) {
  Watch(state, "/proc", true);
}
BENCHMARK(BM_WatcherKernelEventsMachine)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
