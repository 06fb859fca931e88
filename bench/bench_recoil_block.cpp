// The recoil patterns of four full guns (30 bullets each) built from their files and sent to an emulated
// mouse with 1 ms per transfer: the information block read, then one closed series of 53 frames. Target: no
// more than 70 ms for the whole.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "devices/mouse/mouse_device.h"
#include "devices/mouse/recoil.h"
#include "emulator/emulator.h"
#include "platform/atomic_file.h"
#include "platform/xdg_paths.h"
#include "protocol/channel_opener.h"

namespace {

using namespace norvane;

void BM_RecoilBlockBuiltAndSent(benchmark::State& state) {
  std::string data = (std::filesystem::temp_directory_path() / "norvane-bench-XXXXXX").string();
  if (!mkdtemp(data.data())) {
    state.SkipWithError("no temporary folder");
    return;
  }
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  auto backend = std::make_shared<emulator::EmulatorBackend>(std::vector{emulator::DeviceModel::kMouse});
  const auto previous = hid::SetActiveHidBackend(backend);
  backend->SetLatency(std::chrono::milliseconds(state.range(0)));
  {
    devices::CNorvaneMouseDevice mouse;
    mouse.SetDeviceFolder("mouse");
    const bool opened = protocol::OpenCommandInterface(mouse.CommandChannel(), bench::FirstCommandPath(),
                                                       protocol::LinkType::kWired) == hid::OpenError::kNone;
    bool files = true;
    for (int gun = 0; gun < devices::mouse::kGunCount; ++gun) {
      std::error_code error;
      std::filesystem::copy_file(devices::mouse::GunFile(NORVANE_SOURCE_DIR "/DefaultData", gun),
                                 devices::mouse::GunFile(mouse.UserProfileFolder(), gun),
                                 std::filesystem::copy_options::overwrite_existing, error);
      files = files && !error;
    }
    if (!opened || !files) state.SkipWithError("no emulated mouse or no gun files");
    for (auto _ : state) {
      if (!opened || !files) break;
      if (mouse.WriteShootData() != 1) {
        state.SkipWithError("the recoil patterns were not written");
        break;
      }
      state.PauseTiming();
      backend->ClearFrameLog();
      state.ResumeTiming();
    }
    state.SetLabel(std::to_string(state.range(0)) + " ms per transfer");
  }
  hid::SetActiveHidBackend(previous);
  std::error_code ignored;
  std::filesystem::remove_all(data, ignored);
}
BENCHMARK(BM_RecoilBlockBuiltAndSent)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
