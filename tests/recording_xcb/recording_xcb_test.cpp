// Recording on a real X server, with xdotool playing the keys and buttons by their X codes: what RECORD
// delivers and when, the whole capture on to the macro panel's steps, the keyboard held while recording
// (no program, this one included, gets the keys) and let go after, also when the program is killed, and a
// display that goes away in the middle.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <signal.h>
#include <sys/wait.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <mutex>

#include "app/device_hook.h"
#include "editors/editor_controls.h"
#include "editors/macro_control.h"
#include "editors/macro_row.h"
#include "macro/x11_keyboard_grab.h"
#include "macro/x11_record_recorder.h"
#include "tests/recording_xcb/keyboard_probe.h"
#include "uilib/resource_manager.h"
#include "uilib/theme.h"

namespace norvane {
namespace {

using macro::CapturedInput;
using macro::MacroEvent;
using test::KeyboardIsFree;

class XcbEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "these tests need an X server: run them under xvfb-run";
    static QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", "xcb");  // the test runner sets offscreen for every test; these want X
    qputenv("NORVANE_SKIN_DIR", NORVANE_SOURCE_DIR "/skin");
    static int argc = 1;
    static char name[] = "test_recording_xcb";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    ui::RegisterLibraryControls();
    editors::RegisterEditorControls();
    ui::CResourceManager& rm = ui::CResourceManager::GetInstance();
    rm.SetResourcePath(ui::CResourceManager::DefaultResourcePath());
    rm.LoadResource("res.xml");
    rm.LoadLanguage("lan_en.xml");
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(new XcbEnvironment);

// xdotool with its arguments (X key codes and button numbers), to the end of its work.
void Xdotool(const QStringList& arguments) {
  ASSERT_EQ(QProcess::execute("xdotool", arguments), 0) << arguments.join(' ').toStdString();
}

// What a backend delivered, from its thread.
struct Delivered {
  std::mutex mutex;
  std::vector<CapturedInput> inputs;
  std::vector<CapturedInput> Take() {
    std::lock_guard lock(mutex);
    return inputs;
  }
};

TEST(X11Record, KeysAndButtonsArriveWithTheServersTimes) {
  macro::X11RecordRecorder recorder;
  Delivered delivered;
  std::string why;
  ASSERT_TRUE(recorder.Start(
      [&](const CapturedInput& input) {
        std::lock_guard lock(delivered.mutex);
        delivered.inputs.push_back(input);
      },
      {}, why))
      << why;
  const std::uint32_t start = recorder.Now();
  Xdotool({"keydown", "38", "sleep", "0.3", "keyup", "38", "mousemove", "5", "5", "click", "8", "click", "4"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.Take().size() >= 4; }, 3000));
  QTest::qWait(100);
  recorder.Stop();
  const std::vector<CapturedInput> inputs = delivered.Take();
  ASSERT_EQ(inputs.size(), 4u) << "a, its release, and button 8 down and up; the wheel (button 4) is nothing";
  EXPECT_EQ(inputs[0].code, KEY_A);
  EXPECT_TRUE(inputs[0].pressed);
  EXPECT_EQ(inputs[1].code, KEY_A);
  EXPECT_FALSE(inputs[1].pressed);
  const std::uint32_t held = inputs[1].time - inputs[0].time;
  EXPECT_GE(held, 280u);
  EXPECT_LE(held, 600u);
  EXPECT_LE(inputs[0].time - start, 3000u) << "Now() runs on the events' clock";
  EXPECT_EQ(inputs[2].code, BTN_SIDE);
  EXPECT_EQ(inputs[2].kind, CapturedInput::Kind::kButton);
  EXPECT_TRUE(inputs[2].hasPosition);
  EXPECT_EQ(inputs[2].x, 5);
  EXPECT_EQ(inputs[2].y, 5);
}

TEST(X11Record, NoDisplayIsSaidAndNothingIsLeftOpen) {
  macro::X11RecordRecorder recorder("unix:97");
  std::string why;
  EXPECT_FALSE(recorder.Start([](const CapturedInput&) {}, {}, why));
  EXPECT_EQ(why, "no X display can be opened");
  recorder.Stop();
}

// A private X server, for the tests that take it away.
class PrivateServer {
 public:
  PrivateServer() {
    display_ = ":" + std::to_string(700 + getpid() % 200);
    // No reset when the last client leaves: the server would refuse connections for a moment.
    server_.start("Xvfb",
                  {QString::fromStdString(display_), "-noreset", "-nolisten", "tcp", "-screen", "0", "320x200x24"});
    for (int i = 0; i < 100 && !Ready(); ++i) QTest::qWait(50);
  }
  ~PrivateServer() { Kill(); }
  bool Ready() const { return test::DisplayOpens(display_.c_str()); }
  // The server ends (as one does when its session ends): its clients' connections close under them.
  void Kill() {
    if (server_.state() == QProcess::NotRunning) return;
    server_.terminate();
    if (!server_.waitForFinished(3000)) {
      server_.kill();
      server_.waitForFinished(3000);
    }
  }
  const std::string& Name() const { return display_; }

 private:
  std::string display_;
  QProcess server_;
};

TEST(X11Record, ADisplayThatGoesAwayIsReportedAndStoppingStillReturns) {
  PrivateServer server;
  ASSERT_TRUE(server.Ready()) << "Xvfb " << server.Name() << " did not start";
  macro::X11RecordRecorder recorder(server.Name());
  std::atomic<bool> lost{false};
  std::string why;
  ASSERT_TRUE(recorder.Start([](const CapturedInput&) {}, [&](const std::string&) { lost = true; }, why)) << why;
  server.Kill();
  EXPECT_TRUE(QTest::qWaitFor([&] { return lost.load(); }, 3000));
  QElapsedTimer stopping;
  stopping.start();
  recorder.Stop();
  EXPECT_LT(stopping.elapsed(), 1500) << "closing a recording whose display went away does not hang";
}

// The whole capture on a macro panel in a window of its own.
class RecordingOnXTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    window_.resize(800, 400);
    auto* layout = new QVBoxLayout(&window_);
    edit_ = new QLineEdit(&window_);
    layout->addWidget(edit_);
    panel_ = new editors::CMacroControlUI();
    layout->addWidget(panel_);
    panel_->InitMacroEditor();
    panel_->SetMacroFolder(folder_.path().toStdString());
    panel_->LoadMacroList();
    ASSERT_FALSE(panel_->AddMacro().empty());
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    window_.activateWindow();
    edit_->setFocus();
    QTest::qWait(100);
    app::CDeviceHook::Sinks sinks;
    sinks.key = [this](macro::HookMode mode, const macro::HookKeyEvent& key) { panel_->OnHookKey(mode, key); };
    sinks.mouse = [this](macro::HookMode mode, const macro::HookMouseEvent& m) { panel_->OnHookMouse(mode, m); };
    hook_ = std::make_unique<app::CDeviceHook>(std::move(sinks), [] {
      std::vector<std::unique_ptr<macro::InputRecorder>> backends;
      backends.push_back(std::make_unique<macro::X11RecordRecorder>());
      return backends;
    });
  }
  void StartRecording() {
    ASSERT_TRUE(hook_->StartHooks(macro::HookMode::kAppend)) << hook_->LastError();
    ASSERT_EQ(hook_->BackendName(), "X11 RECORD");
    panel_->BeginRecording(macro::DelayMode::kMeasured, hook_->Now());
    ASSERT_TRUE(QTest::qWaitFor([&] { return hook_->HoldsKeyboard(); }, 2000)) << "the keyboard is held";
  }
  void StopRecording() {
    hook_->StopHooks();
    panel_->EndRecording();
  }
  std::string NameIdOfRow(int row) {
    auto* step = dynamic_cast<ui::CContainerUI*>(panel_->RowControl(row));
    return step ? step->GetItemAt(0)->GetTextId().toStdString() : std::string();
  }

  QTemporaryDir folder_;
  QWidget window_;
  QLineEdit* edit_ = nullptr;
  editors::CMacroControlUI* panel_ = nullptr;
  std::unique_ptr<app::CDeviceHook> hook_;
};

TEST_F(RecordingOnXTest, PlayedKeysAndButtonsBecomeStepsWithTheirRealDelays) {
  Xdotool({"type", "q"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return edit_->text() == "q"; }, 2000)) << "the edit takes keys before";
  StartRecording();
  Xdotool({"keydown", "38", "sleep", "0.3", "keyup", "38"});
  // Held past the server's repeat delay (660 ms): it repeats the key, which is still one press.
  Xdotool({"keydown", "39", "sleep", "1.2", "keyup", "39"});
  Xdotool({"key", "62", "mousemove", "5", "5", "click", "8", "click", "9", "click", "4", "click", "5"});
  Xdotool({"type", "xyz"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel_->RowCount() >= 16; }, 3000));
  QTest::qWait(200);
  EXPECT_EQ(edit_->text(), "q") << "no character reached the focused edit while recording";
  StopRecording();
  EXPECT_FALSE(hook_->HoldsKeyboard());
  EXPECT_TRUE(KeyboardIsFree()) << "the keyboard is let go after the stop";

  const std::vector<MacroEvent> steps = panel_->RowEvents();
  ASSERT_EQ(steps.size(), 16u) << "a, s, right Shift, back, forward, x, y, z: each down and up";
  EXPECT_EQ(steps[0].button, 0x04);
  EXPECT_GE(steps[0].delay, 280) << "the press waited about 300 ms for its release";
  EXPECT_LE(steps[0].delay, 600);
  EXPECT_EQ(steps[2], (MacroEvent{"down", 0x16, steps[2].delay, 10})) << "s held: one press";
  EXPECT_EQ(steps[3].action, "up");
  EXPECT_EQ(steps[3].button, 0x16);
  EXPECT_GE(steps[2].delay, 1100);
  EXPECT_EQ(NameIdOfRow(4), "keyboard_key_RShift");
  EXPECT_EQ(steps[4].type, 9);
  EXPECT_EQ(steps[4].button, 0x20);
  EXPECT_EQ(NameIdOfRow(6), "mouse_key_back");
  EXPECT_EQ(NameIdOfRow(8), "mouse_key_forward");
  EXPECT_EQ(steps[10].button, 0x1B) << "x after the buttons: the wheel made no step";
}

TEST_F(RecordingOnXTest, TheKeyboardIsLetGoWhenTheHookGoesWithoutAStop) {
  StartRecording();
  EXPECT_FALSE(KeyboardIsFree());
  hook_.reset();
  EXPECT_TRUE(KeyboardIsFree());
}

TEST(KeyboardGrab, AKilledProgramLeavesTheKeyboardFree) {
  QProcess holder;
  holder.start(NORVANE_GRAB_HOLDER, {});
  ASSERT_TRUE(holder.waitForStarted(3000));
  ASSERT_TRUE(holder.waitForReadyRead(5000));
  ASSERT_EQ(holder.readLine().trimmed().toStdString(), "held");
  EXPECT_FALSE(KeyboardIsFree());
  ::kill(pid_t(holder.processId()), SIGKILL);
  ASSERT_TRUE(holder.waitForFinished(3000));
  EXPECT_TRUE(QTest::qWaitFor([] { return KeyboardIsFree(); }, 2000)) << "the server dropped the grab with it";
}

TEST(KeyboardGrab, TheWatchdogLetsGoWhenTheHolderStopsAnswering) {
  macro::X11KeyboardGrab grab;
  ASSERT_EQ(grab.Acquire(), macro::X11KeyboardGrab::Result::kGrabbed);
  grab.StartWatchdog(std::chrono::milliseconds(1500));
  QElapsedTimer beating;
  beating.start();
  while (beating.elapsed() < 2000) {
    QTest::qWait(20);
    grab.Beat();
  }
  EXPECT_TRUE(grab.IsHeld()) << "beats keep it past the timeout";
  // No beat any more: the holder hangs.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !grab.IsHeld(); }, 5000));
  EXPECT_TRUE(grab.ReleasedByWatchdog());
  EXPECT_TRUE(KeyboardIsFree());
}

}  // namespace
}  // namespace norvane
