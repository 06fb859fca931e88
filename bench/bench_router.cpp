// One control notification through the main window's router with the shipped routing table, a keyboard page
// current and an editor in every slot: a lighting slider move (it is sent on every step of a drag), a click
// on a numbered key (prefix row), the close button (the row checked before all others) and a click on a
// control no row names. Each should take no more than 2 µs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>
#include <memory>
#include <vector>

#include "app/notify_router.h"
#include "controls/pages/device_page.h"
#include "uilib/button.h"

namespace {

using norvane::editors::EditorSlot;
using norvane::editors::RoutedNotify;

class CountingEditor final : public norvane::editors::IEditor {
 public:
  void OnRoute(const RoutedNotify& notify) override {
    ++routes;
    benchmark::DoNotOptimize(notify.number);
  }
  long routes = 0;
};

class Setup {
 public:
  Setup() {
    for (int s = 1; s < int(EditorSlot::kCount); ++s) {
      editors_.push_back(std::make_unique<CountingEditor>());
      router_.Register(EditorSlot(s), editors_.back().get());
    }
    router_.SetCurrentPage([this]() -> norvane::controls::CDevicePageUI* { return &page_; });
    router_.SetKindOf([](const norvane::controls::CDevicePageUI&) -> std::uint16_t { return 1; });
    router_.SetWindowHandler([this](const RoutedNotify&) { ++windowRoutes_; });
  }

  long RoutesTo(EditorSlot slot) const {
    return slot == EditorSlot::kWindow ? windowRoutes_ : editors_[std::size_t(slot) - 1]->routes;
  }
  long AllRoutes() const {
    long all = windowRoutes_;
    for (const auto& editor : editors_) all += editor->routes;
    return all;
  }

  norvane::app::NotifyRouter router_;
  norvane::controls::CDevicePageUI page_;
  norvane::ui::CButtonUI sender_;

 private:
  std::vector<std::unique_ptr<CountingEditor>> editors_;
  long windowRoutes_ = 0;
};

// `target` is where the notification must end up (checked after the run, so that a change of the table
// cannot make a case measure something else); null: nowhere.
void BM_Dispatch(benchmark::State& state, const char* type, const char* name, const EditorSlot* target) {
  Setup setup;
  setup.sender_.SetName(name);
  norvane::ui::TNotifyUI msg{type, &setup.sender_, 0, 0};
  for (auto _ : state) {
    benchmark::DoNotOptimize(setup.router_.Dispatch(msg));
    benchmark::ClobberMemory();
  }
  const long expected = target ? long(state.iterations()) : 0;
  if (setup.AllRoutes() != expected || (target && setup.RoutesTo(*target) != expected))
    state.SkipWithError("the notification did not reach its target once per dispatch");
}

constexpr EditorSlot kLighting = EditorSlot::kLighting;
constexpr EditorSlot kWindow = EditorSlot::kWindow;

BENCHMARK_CAPTURE(BM_Dispatch, valuechanged_deng_light_slider, "valuechanged", "deng_light_slider", &kLighting);
// A key of the picture goes to the window, which hands it to the editor of the open tab.
BENCHMARK_CAPTURE(BM_Dispatch, click_key_17, "click", "key_17", &kWindow);
BENCHMARK_CAPTURE(BM_Dispatch, click_closebtn, "click", "closebtn", &kWindow);
BENCHMARK_CAPTURE(BM_Dispatch, click_unknown, "click", "no_such_control", nullptr);

}  // namespace

// The controls are widgets: a QApplication, without a display.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  QApplication app(argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
