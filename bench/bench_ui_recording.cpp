// Recording throughput: keys delivered by a capture thread as fast as it can, carried over to the UI thread
// by the hook and made into steps of the macro panel, up to a full recording (4,000 steps). Target: at least
// 1,000 events per second into rows, none lost, in order (checked each round).
#include <benchmark/benchmark.h>
#include <linux/input-event-codes.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <thread>

#include "app/device_hook.h"
#include "bench/bench_ui_support.h"
#include "editors/macro_control.h"

namespace {

using norvane::macro::CapturedInput;

constexpr int kEvents = 3998;

// A capture that delivers nothing by itself: the benchmark's thread plays its part.
class QuietRecorder final : public norvane::macro::InputRecorder {
 public:
  std::string_view Name() const override { return "benchmark"; }
  bool Start(Sink, LostSink, std::string&) override { return true; }
  void Stop() override {}
  std::uint32_t Now() const override { return 0; }
};

constexpr int kLetters[] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
                            KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};

void BM_RecordingIntoRows(benchmark::State& state) {
  QTemporaryDir folder;
  norvane::editors::CMacroControlUI panel;
  panel.InitMacroEditor();
  panel.SetMacroFolder(folder.path().toStdString());
  panel.LoadMacroList();
  if (panel.AddMacro().empty()) {
    state.SkipWithError("no macro to record into");
    return;
  }
  norvane::app::CDeviceHook::Sinks sinks;
  sinks.key = [&](norvane::macro::HookMode mode, const norvane::macro::HookKeyEvent& key) { panel.OnHookKey(mode, key); };
  norvane::app::CDeviceHook hook(std::move(sinks), [] {
    std::vector<std::unique_ptr<norvane::macro::InputRecorder>> backends;
    backends.push_back(std::make_unique<QuietRecorder>());
    return backends;
  });
  double eventsPerSecond = 0;
  for (auto _ : state) {
    state.PauseTiming();
    panel.DeleteAllRows();
    if (!hook.StartHooks(norvane::macro::HookMode::kAppend)) state.SkipWithError("the hook did not start");
    panel.BeginRecording(norvane::macro::DelayMode::kMeasured, 0);
    state.ResumeTiming();
    QElapsedTimer timer;
    timer.start();
    std::thread capture([&] {
      for (int i = 0; i < kEvents; ++i) {
        const bool press = i % 2 == 0;
        hook.Inject({CapturedInput::Kind::kKey, kLetters[(i / 2) % 26], press, false, std::uint32_t(i)});
      }
    });
    while (panel.RowCount() < kEvents && timer.elapsed() < 20000) QCoreApplication::processEvents();
    capture.join();
    const double seconds = timer.nsecsElapsed() / 1e9;
    state.PauseTiming();
    hook.StopHooks();
    panel.EndRecording();
    const std::vector<norvane::macro::MacroEvent> rows = panel.RowEvents();
    bool inOrder = rows.size() == std::size_t(kEvents);
    for (std::size_t i = 0; inOrder && i < rows.size(); ++i) {
      inOrder = rows[i].button == 0x04 + int(i / 2) % 26 && rows[i].IsDown() == (i % 2 == 0);
    }
    if (!inOrder) state.SkipWithError("events were lost or out of order");
    eventsPerSecond = kEvents / seconds;
    state.ResumeTiming();
  }
  state.counters["events_per_s"] = eventsPerSecond;
  state.counters["rows"] = kEvents;
}
BENCHMARK(BM_RecordingIntoRows)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return norvane::bench::RunWidgetBenchmarks(argc, argv);
}
