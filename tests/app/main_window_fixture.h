#pragma once
// A main window on a stand-in device side whose first scan pass the test controls, with every hook
// recording what reached it.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "app/main_wnd.h"
#include "tests/app/app_test_environment.h"
#include "tests/support/temp_folder.h"

namespace norvane::app::test {

struct FakeDevices : IDeviceService {
  DeviceHostHooks hooks;
  int startupPages = 0;
  int scansStarted = 0;
  int scansStopped = 0;
  bool tabVisible = false;
  std::vector<bool> windowActive;
  std::vector<bool> suspended;

  void CreateStartupPages() override { ++startupPages; }
  void StartScan() override { ++scansStarted; }
  void StopScan() override { ++scansStopped; }
  void HandleTabLinkMessage(ui::WPARAM, ui::LPARAM) override {}
  void SetWindowActive(bool active) override { windowActive.push_back(active); }
  void SetSuspended(bool on) override { suspended.push_back(on); }
  bool AnyTabVisible() const override { return tabVisible; }
  void Teardown() override {}
  // What the scan thread does after its first pass.
  void FinishFirstPass() { hooks.showAndRaise(); }
};

struct HookLog;

// Stands in for the editors that take the window's menu items.
class LoggingEditor final : public editors::IEditor {
 public:
  explicit LoggingEditor(HookLog& log) : log_(log) {}
  void OnRoute(const editors::RoutedNotify&) override {}
  void OnMenuItem(const ui::MenuCmd& command) override;

 private:
  HookLog& log_;
};

struct HookLog {
  std::vector<bool> settingsOpened;  // centred flag of each opening
  std::vector<bool> lightControl;
  std::vector<bool> windowActive;
  int deviceListRequests = 0;
  std::vector<std::pair<ui::WPARAM, ui::LPARAM>> gameEvents;
  int profileSwitches = 0;
  std::vector<std::string> macroItems;
  std::vector<std::size_t> levelCounts;
  std::vector<std::size_t> bandCounts;
};

inline void LoggingEditor::OnMenuItem(const ui::MenuCmd& command) {
  log_.macroItems.push_back(command.szName.toStdString());
}

class MainWindowTest : public ::testing::Test {
 protected:
  MainWndOptions Options() {
    MainWndOptions options;
    options.deviceServiceFactory = [this](ui::CPaintManagerUI&, DeviceHostHooks hooks) {
      auto fake = std::make_unique<FakeDevices>();
      fake->hooks = std::move(hooks);
      fake->tabVisible = tabVisible_;
      devices_ = fake.get();
      return fake;
    };
    options.settingsFile = settings_ / "registry.ini";
    options.watchSleep = false;
    return options;
  }

  MainWndHooks Hooks() {
    MainWndHooks hooks;
    hooks.openSettingsWindow = [this](CMainWnd&, bool centred) { log_.settingsOpened.push_back(centred); };
    hooks.setLightControlAll = [this](bool on) { log_.lightControl.push_back(on); };
    hooks.setWindowActiveAll = [this](bool on) { log_.windowActive.push_back(on); };
    hooks.sendDeviceList = [this] { ++log_.deviceListRequests; };
    hooks.gameLightEvent = [this](ui::WPARAM w, ui::LPARAM l) { log_.gameEvents.emplace_back(w, l); };
    hooks.switchProfile = [this] { ++log_.profileSwitches; };
    hooks.soundLevels = [this](std::span<const std::int32_t> v) { log_.levelCounts.push_back(v.size()); };
    hooks.audioBands = [this](std::span<const std::int32_t> v) { log_.bandCounts.push_back(v.size()); };
    return hooks;
  }

  // Creates the window as the program does and lets its start-up sequence run.
  void Start(MainWndOptions options) {
    window_ = std::make_unique<CMainWnd>(std::move(options), Hooks());
    for (editors::EditorSlot slot :
         {editors::EditorSlot::kKeyAssignment, editors::EditorSlot::kRecording, editors::EditorSlot::kMacro})
      window_->Router().Register(slot, &editor_);
    ASSERT_TRUE(window_->Create(nullptr, "main-window-test", false, 0, 0, 800, 572));
    ASSERT_TRUE(QTest::qWaitFor([&] { return devices_ != nullptr && devices_->scansStarted == 1; }, 3000));
  }
  void Start() { Start(Options()); }

  void FinishFirstPassAndWaitShown() {
    devices_->FinishFirstPass();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window_->IsShowing(); }, 3000));
  }

  ui::CControlUI* Find(const char* name) const { return window_->FindControl(name); }

  void Click(const char* name) {
    ui::TNotifyUI msg{ui::DUI_MSGTYPE_CLICK, Find(name), 0, 0};
    ASSERT_NE(msg.pSender, nullptr) << name;
    window_->Notify(msg);
  }

  // Runs the application's loop for `ms`; true when the application was told to quit meanwhile. The
  // application's own loop is used because only it clears the quit state that a quit leaves behind (every
  // later modal loop would end at once otherwise).
  static bool QuitRequestedWithin(int ms) {
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    timer.start(ms);
    return QCoreApplication::exec() != 7;
  }

  void TearDown() override {
    window_.reset();
    // A quit that a test's exit posted must not reach the next test's loops.
    QuitRequestedWithin(1);
  }

  norvane::testing::TempFolder settings_;
  bool tabVisible_ = false;
  FakeDevices* devices_ = nullptr;
  HookLog log_;
  LoggingEditor editor_{log_};
  std::unique_ptr<CMainWnd> window_;
};

}  // namespace norvane::app::test
