// Recording a macro in the real window on an emulated keyboard, with a capture the test plays the keys and
// buttons into: the record and stop buttons, the page locked meanwhile and usable again after, the steps
// saved, and every other way a recording ends (its capture lost, the tab gone, the system asleep).
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QTest>

#include "app/macro_editor.h"
#include "app/main_messages.h"
#include "app/macro_recorder.h"
#include "editors/macro_control.h"
#include "editors/macro_row.h"
#include "macro/macro_library.h"
#include "tests/app/window_fixture.h"
#include "uilib/edit.h"

namespace norvane::app::test {
namespace {

using macro::CapturedInput;
using macro::MacroEvent;

// The capture as the test drives it.
struct FakeCapture {
  bool refuse = false;
  std::uint32_t now = 5000;
  macro::InputRecorder::Sink sink;
  macro::InputRecorder::LostSink lost;
  int running = 0;
};

class FakeRecorder final : public macro::InputRecorder {
 public:
  explicit FakeRecorder(FakeCapture& capture) : capture_(capture) {}
  ~FakeRecorder() override { Stop(); }
  std::string_view Name() const override { return "test capture"; }
  bool Start(Sink sink, LostSink lost, std::string& why) override {
    if (capture_.refuse) {
      why = "refused by the test";
      return false;
    }
    capture_.sink = std::move(sink);
    capture_.lost = std::move(lost);
    ++capture_.running;
    started_ = true;
    return true;
  }
  void Stop() override {
    if (!started_) return;
    started_ = false;
    --capture_.running;
    capture_.sink = nullptr;
    capture_.lost = nullptr;
  }
  std::uint32_t Now() const override { return capture_.now; }

 private:
  FakeCapture& capture_;
  bool started_ = false;
};

class MacroRecordingWindowTest : public WindowOnEmulatorTest {
 protected:
  MacroRecordingWindowTest() {
    recordingBackends_ = [this] {
      std::vector<std::unique_ptr<macro::InputRecorder>> backends;
      backends.push_back(std::make_unique<FakeRecorder>(capture_));
      return backends;
    };
  }
  void SetUp() override {
    WindowOnEmulatorTest::SetUp();
    if (HasFatalFailure()) return;
    Select(KeyboardPage(), "macro_Op_tab");
    Click(KeyboardPage(), "macro_btn_name_add");
    ASSERT_NE(Panel(), nullptr);
    ASSERT_EQ(Panel()->GetSelectedMacroIndex(), 0);
  }
  editors::CMacroControlUI* Panel() const { return CMacroEditor::PanelOf(*KeyboardPage()); }
  CMacroRecorder& Recorder() const {
    return *dynamic_cast<CMacroRecorder*>(window_->Router().EditorOf(editors::EditorSlot::kRecording));
  }
  bool Visible(const char* name) const { return InPage(KeyboardPage(), name)->IsVisible(); }
  bool StripEnabled() const { return window_->FindControl("device_select_layout")->IsEnabled(); }
  void Key(int code, bool pressed, std::uint32_t time, bool repeat = false) {
    capture_.sink({CapturedInput::Kind::kKey, code, pressed, repeat, time});
  }
  void ButtonOf(int code, bool pressed, std::uint32_t time) {
    capture_.sink({CapturedInput::Kind::kButton, code, pressed, false, time, true, -5000, -5000});
  }
  void StartRecording() {
    Click(KeyboardPage(), "macro_btn_starredio");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Recorder().IsRecording(); }, 1000));
  }
  std::vector<MacroEvent> Saved() const {
    macro::MacroLibrary library(KeyboardPage()->Device()->UserProfileFolder());
    library.Load();
    return library.Events(0);
  }
  std::string NameIdOfRow(int row) {
    auto* step = dynamic_cast<ui::CContainerUI*>(Panel()->RowControl(row));
    return step ? step->GetItemAt(0)->GetTextId().toStdString() : std::string();
  }

  FakeCapture capture_;
};

TEST_F(MacroRecordingWindowTest, TheRecordButtonLocksThePageTheKeysBecomeStepsAndStopSavesThem) {
  StartRecording();
  EXPECT_EQ(Recorder().Hook().BackendName(), "test capture");
  EXPECT_TRUE(Visible("macro_btn_stopredio"));
  EXPECT_FALSE(Visible("macro_btn_starredio"));
  EXPECT_FALSE(StripEnabled()) << "no other device while recording";
  EXPECT_FALSE(Bar().IsEnabled()) << "nor another profile";

  Key(KEY_A, true, 5000);
  Key(KEY_A, true, 5100, true);  // the keyboard repeating it
  Key(KEY_A, false, 5300);
  ButtonOf(BTN_SIDE, true, 5400);
  ButtonOf(BTN_SIDE, false, 5450);
  Key(KEY_RIGHTSHIFT, true, 5500);
  Key(KEY_NUMLOCK, true, 5500);
  Key(KEY_PAUSE, true, 5500);
  Key(KEY_KPENTER, true, 5500);
  Key(KEY_MUTE, true, 5600);  // a key no step can play
  // Editor hook messages from another program carry nothing of ours.
  window_->OnBusMessage({RegisteredMessage::kHookKeyKbMacro, 0x100, 0x1E, std::nullopt});
  ASSERT_TRUE(QTest::qWaitFor([&] { return Panel()->RowCount() >= 7; }, 1000));
  QTest::qWait(20);
  const std::vector<MacroEvent> steps = {{"down", 0x04, 300, 10}, {"up", 0x04, 100, 10}, {"down", 0x08, 50, 1},
                                         {"up", 0x08, 50, 1},     {"down", 0x20, 0, 9},   {"down", 0x53, 0, 10},
                                         {"down", 0x48, 0, 10},   {"down", 0x58, 0, 10}};
  EXPECT_EQ(Panel()->RowEvents(), steps);
  EXPECT_EQ(NameIdOfRow(4), "keyboard_key_RShift");
  EXPECT_EQ(NameIdOfRow(5), "keyboard_key_Num Lock");
  EXPECT_EQ(NameIdOfRow(6), "keyboard_key_Pause");
  EXPECT_EQ(NameIdOfRow(7), "keyboard_key_Num Enter");
  EXPECT_EQ(NameIdOfRow(2), "mouse_key_back");

  Click(KeyboardPage(), "macro_btn_stopredio");
  EXPECT_FALSE(Recorder().IsRecording());
  EXPECT_EQ(capture_.running, 0);
  EXPECT_EQ(Saved(), steps) << "stopping saves the macro";
  EXPECT_TRUE(Visible("macro_btn_starredio"));
  EXPECT_TRUE(StripEnabled());
  EXPECT_TRUE(Bar().IsEnabled());
  EXPECT_TRUE(prompts_.told.empty());
}

TEST_F(MacroRecordingWindowTest, ACaptureThatCannotStartSaysSoAndLeavesThePageUsable) {
  capture_.refuse = true;
  Click(KeyboardPage(), "macro_btn_starredio");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts_.told.empty(); }, 1000));
  EXPECT_EQ(prompts_.told, std::vector<std::string>{"macro_record_failed_text"});
  EXPECT_FALSE(Recorder().IsRecording());
  EXPECT_TRUE(Visible("macro_btn_starredio"));
  EXPECT_FALSE(Visible("macro_btn_stopredio"));
  EXPECT_TRUE(StripEnabled());
  EXPECT_TRUE(InPage(KeyboardPage(), "macro_tab_macroaction_edit")->IsEnabled());
}

TEST_F(MacroRecordingWindowTest, ALostCaptureSleepTheTrayAndTheHiddenTabEachEndTheRecordingWithItsStepsSaved) {
  StartRecording();
  Key(KEY_B, true, 5000);
  QTest::qWait(20);
  capture_.lost("the display went away");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Recorder().IsRecording(); }, 1000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts_.told.empty(); }, 1000));
  EXPECT_EQ(prompts_.told, std::vector<std::string>{"macro_record_lost_text"});
  EXPECT_EQ(Saved(), (std::vector<MacroEvent>{{"down", 0x05, 0, 10}}));
  EXPECT_TRUE(StripEnabled());

  StartRecording();
  window_->SendMessage(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  EXPECT_FALSE(Recorder().IsRecording()) << "no keyboard stays held while the system sleeps";
  window_->SendMessage(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  EXPECT_TRUE(Visible("macro_btn_starredio"));

  StartRecording();
  ui::TNotifyUI close{ui::DUI_MSGTYPE_CLICK, window_->FindControl("closebtn"), 0, 0};
  window_->Notify(close);
  EXPECT_FALSE(Recorder().IsRecording()) << "closing the window to the tray ends the recording";
  window_->ShowAndRaise();

  StartRecording();
  backend_->Unplug(KeyboardId());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Recorder().IsRecording(); }, 3000)) << "its tab went";
  EXPECT_TRUE(StripEnabled());
}

TEST_F(MacroRecordingWindowTest, KeysReachNoWidgetWhileRecording) {
  auto* name = dynamic_cast<ui::CEditUI*>(InPage(KeyboardPage(), "macro_edit_macroname"));
  ASSERT_NE(name, nullptr);
  name->SetText("walk");
  name->SetFocus();
  StartRecording();
  QTest::keyClicks(name->GetWidget(), "xyz");
  QTest::keyClick(InPage(KeyboardPage(), "macro_btn_stopredio")->GetWidget(), Qt::Key_Space);
  EXPECT_EQ(name->GetText().toStdString(), "walk");
  EXPECT_TRUE(Recorder().IsRecording()) << "Space did not press the stop button";
  Click(KeyboardPage(), "macro_btn_stopredio");
  QTest::keyClicks(name->GetWidget(), "s");
  EXPECT_EQ(name->GetText().toStdString(), "walks") << "typing works again";
}

TEST_F(MacroRecordingWindowTest, TheStepMenuRecordsAfterTheSelectedStepWithoutDelays) {
  Panel()->InsertMouseAction(0x201, 0);
  Panel()->InsertMouseAction(0x202, 0);
  Panel()->SelectRow(0);
  ui::TNotifyUI request{ui::DUI_MSGTYPE_MENU, Panel()->RowControl(0), 0, 0};
  window_->Notify(request);
  auto* editor = dynamic_cast<CMacroEditor*>(window_->Router().EditorOf(editors::EditorSlot::kMacro));
  ASSERT_TRUE(QTest::qWaitFor([&] { return editor->RowMenu() != nullptr; }, 1000));
  ASSERT_TRUE(editor->RowMenu()->ChooseItem("redio_later_ignore_time"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Recorder().IsRecording(); }, 1000));
  EXPECT_EQ(Recorder().Hook().Mode(), macro::HookMode::kAfter);
  Key(KEY_C, true, 5000);
  Key(KEY_C, false, 7000);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Panel()->RowCount() == 4; }, 1000));
  Click(KeyboardPage(), "macro_btn_stopredio");
  // The step before the first event ever recorded keeps its delay: that event has no pause before it.
  EXPECT_EQ(Saved(), (std::vector<MacroEvent>{{"down", 0x01, 50, 1},
                                              {"down", 0x06, 0, 10},
                                              {"up", 0x06, 0, 10},
                                              {"up", 0x01, 50, 1}}));
}

}  // namespace
}  // namespace norvane::app::test
