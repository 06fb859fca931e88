// The brightness slider dragged across a keyboard page for one second, 100 value changes, on an emulated
// keyboard with 1 ms per transfer: the longest the window waits in any one step (target: never over 16 ms),
// how many settings writes went to the keyboard (they coalesce: the latest value wins), and whether the
// last value reached the keyboard and the profile.
#include <benchmark/benchmark.h>

#include "bench/bench_ui_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <memory>

#include "controls/device_controls.h"
#include "controls/pages/device_page.h"
#include "controls/pages/page_controls.h"
#include "devices/keyboard/keyboard_device.h"
#include "editors/editor_controls.h"
#include "editors/lighting_editor.h"
#include "bench/bench_support.h"
#include "emulator/emulator.h"
#include "platform/xdg_paths.h"
#include "protocol/channel_opener.h"
#include "uilib/resource_manager.h"

namespace {

using namespace norvane;

constexpr uint8_t kWriteSettings = 0x06;

void BM_DraggedBrightnessSlider(benchmark::State& state) {
  QTemporaryDir data;
  qputenv("XDG_DATA_HOME", data.path().toUtf8());
  auto backend = std::make_shared<emulator::EmulatorBackend>(std::vector{emulator::DeviceModel::kKeyboard});
  const auto previous = hid::SetActiveHidBackend(backend);
  backend->SetLatency(std::chrono::milliseconds(1));
  {
    controls::CDevicePageUI page;
    if (!page.BuildLayout("XML\\DeviceXml\\keyboarddevice.xml")) {
      state.SkipWithError("the keyboard page skin cannot be built");
      hid::SetActiveHidBackend(previous);
      return;
    }
    auto owned = std::make_unique<devices::CNorvaneKeyboardDevice>(page.Services());
    devices::CNorvaneKeyboardDevice& keyboard = *owned;
    bench::SetUpKeyboard(keyboard);
    page.SetDevice(std::move(owned));
    const bool opened = protocol::OpenCommandInterface(keyboard.CommandChannel(), bench::FirstCommandPath(),
                                                       protocol::LinkType::kWired) == hid::OpenError::kNone;
    keyboard.LoadDefaultProfile();
    lighting::SharedLightEffect shared;
    editors::CLightingEditor editor(shared, [&] { return std::vector<controls::CDevicePageUI*>{&page}; });
    if (!opened || keyboard.ReadDeviceKeys() != 1) state.SkipWithError("no emulated keyboard");
    double longestMs = 0;
    int writes = 0;
    bool lastWritten = false;
    for (auto _ : state) {
      backend->ClearFrameLog();
      QElapsedTimer drag;
      drag.start();
      int value = 0;
      for (int step = 0; step < 100; ++step) {
        value = step % 5;
        ui::TNotifyUI moved{ui::DUI_MSGTYPE_MOVEVALUECHANGED, nullptr, ui::WPARAM(value), 0};
        QElapsedTimer busy;
        busy.start();
        editor.OnRoute({.action = editors::RouteAction::kBrightness, .number = 0, .msg = &moved, .page = &page,
                        .pageKind = 1});
        longestMs = std::max(longestMs, busy.nsecsElapsed() / 1e6);
        // The rest of the 10 ms until the next change: the window's loop runs (and the coalesced write with
        // it); each pass of the loop counts as a step the window waits on.
        while (drag.elapsed() < (step + 1) * 10) {
          QElapsedTimer loop;
          loop.start();
          QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
          longestMs = std::max(longestMs, loop.nsecsElapsed() / 1e6);
          QThread::usleep(200);
        }
      }
      QElapsedTimer settle;
      settle.start();
      while (editor.HasPendingWrite() && settle.elapsed() < 1000) QCoreApplication::processEvents();
      keyboard.WaitForSettingsWrites();
      QCoreApplication::processEvents();
      for (const emulator::LoggedFrame& frame : backend->FrameLog())
        if (frame.direction == emulator::FrameDirection::kToDevice && frame.bytes[3] == kWriteSettings) ++writes;
      const emulator::DeviceId id = backend->FindDevice(emulator::DeviceModel::kKeyboard).value_or(-1);
      const std::vector<uint8_t> record = backend->ReadMemory(id, emulator::MemoryArea::kSettings, 0, 31);
      lastWritten = record.size() > 2 && record[2] == value;
    }
    state.counters["longest_step_ms"] = longestMs;
    state.counters["settings_writes"] = writes / double(state.iterations());
    state.counters["last_value_written"] = lastWritten ? 1 : 0;
  }
  hid::SetActiveHidBackend(previous);
}
BENCHMARK(BM_DraggedBrightnessSlider)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return norvane::bench::RunWidgetBenchmarks(argc, argv);
}
