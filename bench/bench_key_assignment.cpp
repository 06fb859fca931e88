// A key assignment applied and committed on an emulated keyboard with 1 ms per transfer: the new function
// goes into the key list and the saved profile, then the key table is written (the information block read
// first, then one closed series). Target: no more than 30 ms from apply to the table written.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "devices/keyboard/keyboard_device.h"
#include "bench/bench_support.h"
#include "emulator/emulator.h"
#include "platform/xdg_paths.h"
#include "protocol/channel_opener.h"

namespace {

using namespace norvane;

void BM_KeyAppliedAndWritten(benchmark::State& state) {
  std::string data = (std::filesystem::temp_directory_path() / "norvane-bench-XXXXXX").string();
  if (!mkdtemp(data.data())) {
    state.SkipWithError("no temporary folder");
    return;
  }
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  SetDefaultDataFolderOverride(NORVANE_SOURCE_DIR "/DefaultData");
  auto backend = std::make_shared<emulator::EmulatorBackend>(std::vector{emulator::DeviceModel::kKeyboard});
  const auto previous = hid::SetActiveHidBackend(backend);
  backend->SetLatency(std::chrono::milliseconds(state.range(0)));
  {
    devices::CNorvaneKeyboardDevice keyboard;
    bench::SetUpKeyboard(keyboard);
    const bool opened = protocol::OpenCommandInterface(keyboard.CommandChannel(), bench::FirstCommandPath(),
                                                       protocol::LinkType::kWired) == hid::OpenError::kNone;
    keyboard.LoadDefaultProfile();
    if (!opened || keyboard.ReadDeviceKeys() != 1 || keyboard.KeyAssignments().size() < 65) {
      state.SkipWithError("no emulated keyboard with a key list");
    } else {
      keyboard.SelectKey(64);
      const KeyFunction functions[] = {{0x30, 0xE9, 0x00}, {0x20, 0x00, 0x04}};
      int turn = 0;
      for (auto _ : state) {
        KeyAssignment assignment = keyboard.KeyAssignments()[64];
        assignment.current = functions[turn++ % 2];
        keyboard.SetSelectedKeyAssignment(assignment);
        if (keyboard.CommitKeyAssignments() != 1) {
          state.SkipWithError("the key table was not written");
          break;
        }
        backend->ClearFrameLog();
      }
      state.SetLabel(std::to_string(state.range(0)) + " ms per transfer");
    }
  }
  hid::SetActiveHidBackend(previous);
  SetDefaultDataFolderOverride({});
  std::error_code ignored;
  std::filesystem::remove_all(data, ignored);
}
BENCHMARK(BM_KeyAppliedAndWritten)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
