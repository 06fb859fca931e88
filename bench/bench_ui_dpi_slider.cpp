// A DPI stage's slider on a mouse page, on an emulated mouse with 1 ms per transfer, at 100 value changes per
// second for one second: dragged (the handle moves, then settles where it is let go) and stepped (every
// change settles at once, as keys and the wheel do). For each: the longest the window waits in any one step
// (target: never over 16 ms), how many settings series and profile saves it took (they coalesce: the latest
// value wins, at most one series in flight), and whether the last value reached the mouse and the profile.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <memory>

#include "bench/bench_support.h"
#include "bench/bench_ui_support.h"
#include "controls/pages/device_page.h"
#include "devices/mouse/mouse_device.h"
#include "editors/mouse_editor.h"
#include "emulator/emulator.h"
#include "profiles/json_file_util.h"
#include "protocol/channel_opener.h"
#include "uilib/paint_manager.h"
#include "uilib/slider.h"

namespace {

using namespace norvane;

constexpr uint8_t kWriteSettings = 0x06;
constexpr int kStage = 2;
constexpr std::size_t kStagePosition = 14 + 9 * kStage + 2;  // its DPI X in the settings record

void DraggedDpiSlider(benchmark::State& state, bool dragged) {
  QTemporaryDir data;
  qputenv("XDG_DATA_HOME", data.path().toUtf8());
  auto backend = std::make_shared<emulator::EmulatorBackend>(std::vector{emulator::DeviceModel::kMouse});
  const auto previous = hid::SetActiveHidBackend(backend);
  backend->SetLatency(std::chrono::milliseconds(1));
  {
    controls::CDevicePageUI page;
    if (!page.BuildLayout("XML\\DeviceXml\\mousedevice.xml")) {
      state.SkipWithError("the mouse page skin cannot be built");
      hid::SetActiveHidBackend(previous);
      return;
    }
    auto owned = std::make_unique<devices::CNorvaneMouseDevice>(page.Services());
    devices::CNorvaneMouseDevice& mouse = *owned;
    mouse.SetKeyCount(11);
    mouse.SetLedCount(15);
    mouse.SetDeviceFolder("mouse");
    mouse.SetProfileStem("Profile1");
    mouse.SetVariantIndex(1);
    mouse.SetLightListStem("vexor_light");
    page.SetDevice(std::move(owned));
    const bool opened = protocol::OpenCommandInterface(mouse.CommandChannel(), bench::FirstCommandPath(),
                                                       protocol::LinkType::kWired) == hid::OpenError::kNone;
    if (!opened || mouse.ReadDeviceKeys() != 1) state.SkipWithError("no emulated mouse");
    mouse.LoadDefaultProfile();
    editors::CMouseEditor editor([](std::uint32_t) { return std::nullopt; });
    editor.OnPageRefreshed(page);
    auto* slider = dynamic_cast<ui::CSliderUI*>(ui::CPaintManagerUI::FindSubControlByName(&page, "DPI_slider_2"));
    if (!slider) state.SkipWithError("no DPI slider");
    double longestMs = 0;
    int writes = 0;
    int saves = 0;
    bool lastWritten = false;
    bool lastSaved = false;
    for (auto _ : state) {
      if (!slider) break;
      backend->ClearFrameLog();
      const auto profileTime = [&] { return std::filesystem::last_write_time(mouse.CurrentProfileFile()); };
      auto lastSave = profileTime();
      QElapsedTimer drag;
      drag.start();
      int value = 0;
      for (int step = 0; step < 100; ++step) {
        value = 10 + step % 60;
        const char* type = dragged && step < 99 ? ui::DUI_MSGTYPE_MOVEVALUECHANGED : ui::DUI_MSGTYPE_VALUECHANGED;
        slider->SetValue(value);
        ui::TNotifyUI changed{type, slider, ui::WPARAM(value), 0};
        const editors::RouteAction action =
            dragged && step < 99 ? editors::RouteAction::kDpiSliderMoved : editors::RouteAction::kDpiSlider;
        QElapsedTimer busy;
        busy.start();
        editor.OnRoute({.action = action, .number = kStage, .msg = &changed, .page = &page, .pageKind = 2});
        longestMs = std::max(longestMs, busy.nsecsElapsed() / 1e6);
        // The rest of the 10 ms until the next change: the window's loop runs (and the coalesced save and
        // write with it); each pass of the loop counts as a step the window waits on.
        while (drag.elapsed() < (step + 1) * 10) {
          QElapsedTimer loop;
          loop.start();
          QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
          longestMs = std::max(longestMs, loop.nsecsElapsed() / 1e6);
          if (profileTime() != lastSave) {
            lastSave = profileTime();
            ++saves;
          }
          QThread::usleep(200);
        }
      }
      QElapsedTimer settle;
      settle.start();
      while (settle.elapsed() < 4 * editors::CMouseEditor::kSettleMs) QCoreApplication::processEvents();
      mouse.WaitForSettingsWrites();
      QCoreApplication::processEvents();
      if (profileTime() != lastSave) ++saves;
      for (const emulator::LoggedFrame& frame : backend->FrameLog())
        if (frame.direction == emulator::FrameDirection::kToDevice && frame.bytes[3] == kWriteSettings) ++writes;
      const emulator::DeviceId id = backend->FindDevice(emulator::DeviceModel::kMouse).value_or(-1);
      const std::vector<uint8_t> record = backend->ReadMemory(id, emulator::MemoryArea::kSettings, 0, 71);
      lastWritten = record.size() > kStagePosition && record[kStagePosition] == value;
      const Json::Value saved = JsonFileUtil().ReadJsonValue(mouse.CurrentProfileFile());
      lastSaved = saved["Device"][0]["DPIStages"]["StageDPIs"][kStage]["StageDPIX"].asInt() == value;
    }
    // Two frames per series (56 + 15 bytes).
    state.counters["longest_step_ms"] = longestMs;
    state.counters["settings_series"] = writes / 2.0 / double(state.iterations());
    state.counters["profile_saves"] = saves / double(state.iterations());
    state.counters["last_value_written"] = lastWritten ? 1 : 0;
    state.counters["last_value_saved"] = lastSaved ? 1 : 0;
  }
  hid::SetActiveHidBackend(previous);
}

void BM_DraggedDpiSlider(benchmark::State& state) {
  DraggedDpiSlider(state, true);
}
void BM_SteppedDpiSlider(benchmark::State& state) {
  DraggedDpiSlider(state, false);
}
BENCHMARK(BM_DraggedDpiSlider)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SteppedDpiSlider)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return norvane::bench::RunWidgetBenchmarks(argc, argv);
}
