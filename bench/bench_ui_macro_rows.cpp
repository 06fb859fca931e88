// A macro of 4,000 steps (the most a recording makes) in the macro editor's panel: saving it (every row's
// delay edit read, its event written back to the row and the file written) and rebuilding its rows from
// the file (what choosing the macro, Undo and every reload do). Targets: save 50 ms, rebuild 100 ms.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <filesystem>
#include <vector>

#include "bench/bench_ui_support.h"
#include "editors/macro_control.h"
#include "macro/macro_library.h"

namespace {

using norvane::editors::CMacroControlUI;
using norvane::macro::MacroEvent;

constexpr int kRows = 4000;

// A panel showing one macro of kRows key presses and releases, or null when it cannot be set up.
struct MacroPanel {
  QTemporaryDir folder;
  CMacroControlUI panel;

  bool Fill() {
    const std::filesystem::path path(folder.path().toStdString());
    norvane::macro::MacroLibrary library(path);
    library.Load();
    if (library.Add().empty()) return false;
    std::vector<MacroEvent> events;
    for (int i = 0; i < kRows; ++i) events.push_back({i % 2 ? "up" : "down", 0x04 + (i / 2) % 26, 30 + i % 200, 10});
    if (!library.Save(0, events)) return false;
    panel.InitMacroEditor();
    panel.SetMacroFolder(path);
    panel.LoadMacroList();
    panel.SelectMacro(0);
    return panel.RowCount() == kRows;
  }
};

void BM_SaveMacro(benchmark::State& state) {
  MacroPanel shown;
  if (!shown.Fill()) {
    state.SkipWithError("the macro cannot be set up");
    return;
  }
  for (auto _ : state) {
    if (!shown.panel.SaveMacro()) state.SkipWithError("the macro was not saved");
  }
  state.counters["rows"] = kRows;
}
BENCHMARK(BM_SaveMacro)->Unit(benchmark::kMillisecond);

void BM_RebuildMacroRows(benchmark::State& state) {
  MacroPanel shown;
  if (!shown.Fill()) {
    state.SkipWithError("the macro cannot be set up");
    return;
  }
  for (auto _ : state) shown.panel.ShowMacro();
  state.counters["rows"] = kRows;
}
BENCHMARK(BM_RebuildMacroRows)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return norvane::bench::RunWidgetBenchmarks(argc, argv);
}
