// The key labels of a whole keyboard picture: every key of the default profile's list gets its tooltip and
// key-set mark from its function, composed from localized names (RefreshKeyLabels runs after every refresh,
// every applied key and every language switch). A quarter of the keys carry other functions, so composed
// labels, media names and marks are all on the path. Target: no more than 2 ms.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "bench/bench_ui_support.h"

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "controls/device_controls.h"
#include "controls/pages/device_page.h"
#include "controls/pages/page_controls.h"
#include "devices/keyboard/keyboard_device.h"
#include "platform/xdg_paths.h"
#include "uilib/resource_manager.h"

namespace {

using norvane::KeyFunction;

void BM_RefreshKeyLabels(benchmark::State& state) {
  QTemporaryDir data;
  qputenv("XDG_DATA_HOME", data.path().toUtf8());
  norvane::controls::CDevicePageUI page;
  if (!page.BuildLayout("XML\\DeviceXml\\keyboarddevice.xml")) {
    state.SkipWithError("the keyboard page skin cannot be built");
    return;
  }
  auto owned = std::make_unique<norvane::devices::CNorvaneKeyboardDevice>(page.Services());
  norvane::devices::CNorvaneKeyboardDevice& keyboard = *owned;
  norvane::bench::SetUpKeyboard(keyboard);
  page.SetDevice(std::move(owned));
  page.BindKeyButtons(170, 170);
  keyboard.LoadDefaultProfile();
  const KeyFunction others[] = {{0x30, 0xE9, 0x00}, {0x20, 0x02, 0x04}, {0x20, 0x10, 0x1D}, {0x10, 0x01, 0x00}};
  for (int key = 0; key < int(keyboard.KeyAssignments().size()); key += 4) {
    keyboard.SelectKey(key);
    norvane::KeyAssignment assignment = keyboard.KeyAssignments()[std::size_t(key)];
    assignment.current = others[(key / 4) % 4];
    keyboard.SetSelectedKeyAssignment(assignment);
  }
  if (keyboard.KeyAssignments().size() < 100) {
    state.SkipWithError("the default profile has too few keys");
    return;
  }
  for (auto _ : state) keyboard.RefreshKeyLabels();
  state.counters["keys"] = double(keyboard.KeyAssignments().size());
}
BENCHMARK(BM_RefreshKeyLabels)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return norvane::bench::RunWidgetBenchmarks(argc, argv);
}
