// A language switch as the user makes it in the settings window (message 3089 to the main window) while
// every window is open: the main window with an emulated keyboard and mouse on their pages, the about
// window and the settings window. The switch reads the language file, rebuilds the font table and gives
// every control of every window its new text and face, and the pages rebuild their key texts. Each
// iteration switches once, alternating English and Chinese. Target: no more than 100 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "app/about_wnd.h"
#include "app/control_registration.h"
#include "app/main_messages.h"
#include "app/main_wnd.h"
#include "app/set_wnd.h"
#include "bench/bench_ui_support.h"
#include "emulator/emulator.h"
#include "uilib/font_table.h"

namespace {

using namespace norvane;

// Runs the event loop for `ms`, or until `done` holds.
bool Spin(int ms, const std::function<bool()>& done = {}) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) {
    if (done && done()) return true;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return done && done();
}

void BM_LanguageSwitchWithEveryWindowOpen(benchmark::State& state) {
  QTemporaryDir home;
  for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
    qputenv(variable, home.path().toUtf8());
  qputenv("NORVANE_UPDATE_URL", "");
  app::RegisterProgramControls();
  EnsureFolder(UserDataFolder());
  std::string error;
  const std::shared_ptr<emulator::EmulatorBackend> devices = emulator::InstallEmulator("keyboard,mouse", &error);
  if (!devices) {
    state.SkipWithError(error.c_str());
    return;
  }
  app::MainWndOptions options;
  options.deviceServiceFactory = app::MakeDeviceHostService;
  options.settingsFile = (home.path() + "/registry.ini").toStdString();
  options.watchSleep = false;
  app::CMainWnd main(std::move(options));
  if (!main.Create(nullptr, "bench", false, 0, 0, 800, 572) ||
      !Spin(10000, [&] { return main.IsShowing(); })) {
    state.SkipWithError("the main window did not show");
    return;
  }
  Spin(500);  // the devices' first synchronisation
  app::CAboutWnd about;
  about.Create(&main, "  ", true, 0, 0, 800, 572);
  app::CSetWnd::Setup setup;
  setup.mainWindow = main.GetHWND();
  setup.languageIndex = main.LanguageIndex();
  app::CSetWnd settings(std::move(setup));
  settings.Create(&main, "SetWnd", true, 0, 0, app::CSetWnd::kWidth, app::CSetWnd::kHeight);
  main.SetSettingsWindow(settings.GetHWND());
  Spin(200);

  const int rebuildsBefore = ui::CFontTable::RebuildCount();
  int next = 1;
  for (auto _ : state) {
    main.SendMessage(app::kMsgSwitchLanguage, ui::WPARAM(next), 0);
    QApplication::processEvents();
    next = 1 - next;
  }
  if (main.LanguageIndex() == -1 || ui::CFontTable::RebuildCount() == rebuildsBefore)
    state.SkipWithError("the switch did not run");
  main.SetSettingsWindow({});
  settings.StopUpdateWorkers();
  int widgets = 0;
  for (ui::CPaintManagerUI* manager : ui::CPaintManagerUI::GetAll())
    if (manager->GetPaintWindow()) widgets += int(manager->GetPaintWindow()->findChildren<QWidget*>().size());
  state.counters["widgets"] = widgets;
}
BENCHMARK(BM_LanguageSwitchWithEveryWindowOpen)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  return norvane::bench::RunWidgetBenchmarks(argc, argv);
}
