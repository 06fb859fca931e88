// The macro panel while a macro is recorded, fed keys and buttons as the capture hands them on: which
// steps it makes, where, with which delays, and which input it leaves out.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <json/json.h>

#include "editors/macro_control.h"
#include "editors/macro_row.h"
#include "macro/macro_library.h"

namespace norvane::editors {
namespace {

using macro::DelayMode;
using macro::HookKeyEvent;
using macro::HookMouseEvent;
using macro::MacroEvent;
namespace message = macro::hook_message;

constexpr macro::ScanCode kA{0x1E, false};
constexpr macro::ScanCode kB{0x30, false};

HookKeyEvent Press(macro::ScanCode scan, std::uint32_t time) {
  return {message::kKeyDown, scan, time};
}
HookKeyEvent Release(macro::ScanCode scan, std::uint32_t time) {
  return {message::kKeyUp, scan, time};
}
HookMouseEvent Button(std::uint16_t msg, std::uint32_t time, QPoint at = {-1000, -1000}, int extra = 0) {
  HookMouseEvent mouse;
  mouse.message = msg;
  mouse.time = time;
  mouse.x = at.x();
  mouse.y = at.y();
  mouse.extraButton = extra;
  return mouse;
}

const MacroEvent kADown{"down", 0x04, 0, 10};
const MacroEvent kAUp{"up", 0x04, 0, 10};
const MacroEvent kBDown{"down", 0x05, 0, 10};
const MacroEvent kBUp{"up", 0x05, 0, 10};

MacroEvent WithDelay(MacroEvent event, std::int64_t delay) {
  event.delay = delay;
  return event;
}

class MacroRecordingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    panel_.InitMacroEditor();
    panel_.SetMacroFolder(Folder());
    panel_.LoadMacroList();
    ASSERT_FALSE(panel_.AddMacro().empty());
    panel_.GetWidget()->resize(700, 300);
    panel_.GetWidget()->show();
  }
  std::filesystem::path Folder() const { return std::filesystem::path(dir_.path().toStdString()); }
  void Begin(DelayMode mode, std::uint32_t now = 1000) { panel_.BeginRecording(mode, now); }
  // The "Delay" member of a step's JSON as it stands (text or number).
  Json::Value DelayMember(int row) {
    Json::Value value;
    Json::Reader().parse(panel_.RowControl(row)->GetUserData().ToUtf8(), value);
    return value["Delay"];
  }
  std::string DelayShown(int row) {
    return DelayEditOf(panel_.RowControl(row))->GetText().toStdString();
  }
  // Two steps to record around: B pressed and released, 10 ms apart.
  void TwoSteps() {
    Begin(DelayMode::kMeasured);
    panel_.OnKeyAppend(Press(kB, 1000));
    panel_.OnKeyAppend(Release(kB, 1010));
    panel_.EndRecording();
    ASSERT_EQ(panel_.RowCount(), 2);
  }
  QPoint StopButtonCentre() const {
    const QWidget* stop = const_cast<CMacroControlUI&>(panel_).FindSubControl("macro_btn_stopredio")->GetWidget();
    return stop->mapToGlobal(stop->rect().center());
  }

  QTemporaryDir dir_;
  CMacroControlUI panel_;
};

TEST_F(MacroRecordingTest, MeasuredDelaysGoToTheStepBeforeAndTheFirstStepStartsAsTheNumberZero) {
  Begin(DelayMode::kMeasured, 1000);
  panel_.OnKeyAppend(Press(kA, 1000));
  panel_.OnKeyAppend(Press(kA, 1100));  // the keyboard repeating the held key
  panel_.OnKeyAppend(Press(kA, 1200));
  EXPECT_TRUE(DelayMember(0).isInt()) << "the first event of an empty list";
  EXPECT_EQ(DelayMember(0).asInt(), 0);
  panel_.OnKeyAppend(Release(kA, 1300));
  EXPECT_EQ(panel_.RowEvents(), (std::vector<MacroEvent>{WithDelay(kADown, 300), kAUp}))
      << "pressed three times and released: two steps";
  EXPECT_EQ(DelayShown(0), "300");
  EXPECT_TRUE(DelayMember(0).isString()) << "the delay it got since is text, as saves write it";
  EXPECT_EQ(DelayMember(1).asString(), "0") << "the release waits for the next event";
  EXPECT_EQ(panel_.SelectedRow(), 1);

  panel_.OnKeyAppend(Press(kB, 1300 + 70000));
  EXPECT_EQ(DelayShown(1), "65535") << "a pause of 70 s";
  panel_.EndRecording();
  ASSERT_TRUE(panel_.SaveMacro());
  macro::MacroLibrary library(Folder());
  library.Load();
  EXPECT_EQ(library.Events(0), (std::vector<MacroEvent>{WithDelay(kADown, 300), WithDelay(kAUp, 65535), kBDown}));
}

TEST_F(MacroRecordingTest, FixedDelaysAndNoDelays) {
  panel_.SetFixedDelay(10);
  dynamic_cast<ui::CEditUI*>(panel_.FindSubControl("macro_fixed_time_edit"))->SetText("999999");
  Begin(DelayMode::kFixed);
  EXPECT_EQ(panel_.FixedDelay(), 65535) << "the fixed delay is read at the start, held to 65535";
  dynamic_cast<ui::CEditUI*>(panel_.FindSubControl("macro_fixed_time_edit"))->SetText("50");
  Begin(DelayMode::kFixed);
  EXPECT_EQ(panel_.FixedDelay(), 50);
  panel_.OnKeyAppend(Press(kA, 5000));
  panel_.OnKeyAppend(Release(kA, 5400));
  panel_.OnMouseAppend(Button(message::kRightDown, 9000));
  EXPECT_EQ(DelayMember(0).asString(), "50") << "the first step's pause is set by the event after it";
  EXPECT_EQ(panel_.RowEvents(),
            (std::vector<MacroEvent>{WithDelay(kADown, 50), WithDelay(kAUp, 50), {"down", 0x02, 50, 1}}));

  panel_.DeleteAllRows();
  Begin(DelayMode::kZero);
  panel_.OnKeyAppend(Press(kA, 5000));
  panel_.OnKeyAppend(Release(kA, 5400));
  panel_.OnMouseAppend(Button(message::kRightDown, 9000));
  EXPECT_EQ(panel_.RowEvents(), (std::vector<MacroEvent>{kADown, kAUp, {"down", 0x02, 0, 1}}));
}

TEST_F(MacroRecordingTest, TheStopButtonsLeftClickIsNoStepAndTheSameButtonMessageTwiceIsOne) {
  Begin(DelayMode::kZero);
  ASSERT_TRUE(panel_.FindSubControl("macro_btn_stopredio")->IsVisible()) << "the stop button replaces record";
  EXPECT_FALSE(panel_.FindSubControl("macro_btn_starredio")->IsVisible());
  const QPoint stop = StopButtonCentre();
  panel_.OnMouseAppend(Button(message::kLeftDown, 10, stop));
  panel_.OnMouseAppend(Button(message::kLeftUp, 20, stop));
  EXPECT_EQ(panel_.RowCount(), 0);
  panel_.OnMouseAppend(Button(message::kRightDown, 30, stop));
  panel_.OnMouseAppend(Button(message::kRightUp, 40, stop));
  EXPECT_EQ(panel_.RowCount(), 2) << "a right click on the stop button is recorded";

  panel_.OnMouseAppend(Button(message::kLeftDown, 50));
  panel_.OnMouseAppend(Button(message::kLeftDown, 60));
  panel_.OnMouseAppend(Button(message::kExtraDown, 70, {-1000, -1000}, macro::kForwardButtonNumber));
  panel_.OnMouseAppend(Button(message::kExtraUp, 80, {-1000, -1000}, macro::kBackButtonNumber));
  EXPECT_EQ(panel_.RowEvents(), (std::vector<MacroEvent>{{"down", 0x02, 0, 1},
                                                         {"up", 0x02, 0, 1},
                                                         {"down", 0x01, 0, 1},
                                                         {"down", 0x10, 0, 1},
                                                         {"up", 0x08, 0, 1}}));
  panel_.EndRecording();
  EXPECT_TRUE(panel_.FindSubControl("macro_btn_starredio")->IsVisible());
}

TEST_F(MacroRecordingTest, RecordingBeforeTheFirstStepPutsTheEventsAboveItInOrder) {
  TwoSteps();
  panel_.SelectRow(0);
  Begin(DelayMode::kMeasured, 2000);
  panel_.OnKeyBefore(Press(kA, 2100));
  EXPECT_EQ(DelayMember(0).asInt(), 0) << "before the first step: the first-step case";
  panel_.OnKeyBefore(Release(kA, 2350));
  EXPECT_EQ(panel_.RowEvents(),
            (std::vector<MacroEvent>{WithDelay(kADown, 250), kAUp, WithDelay(kBDown, 10), kBUp}));
  EXPECT_EQ(panel_.SelectedRow(), 2) << "the step that was selected stays selected";
}

TEST_F(MacroRecordingTest, RecordingAfterAStepFollowsItAndReRecordingKeepsDirectionAndDelay) {
  TwoSteps();
  panel_.SelectRow(0);
  Begin(DelayMode::kMeasured, 3000);
  panel_.OnKeyAfter(Press(kA, 3040));
  panel_.OnKeyAfter(Release(kA, 3100));
  EXPECT_EQ(panel_.RowEvents(), (std::vector<MacroEvent>{WithDelay(kBDown, 40), WithDelay(kADown, 60), kAUp, kBUp}));
  EXPECT_EQ(panel_.SelectedRow(), 2);

  panel_.SelectRow(0);
  Begin(DelayMode::kZero);
  panel_.OnMouseSingle(Button(message::kMiddleUp, 10));
  EXPECT_EQ(panel_.RowEvents()[0], (MacroEvent{"down", 0x04, 40, 1}))
      << "the step takes the middle button and keeps its press and its delay";
  panel_.OnKeySingle(Press(kA, 20));
  EXPECT_EQ(panel_.RowEvents()[0], WithDelay(kADown, 40));
  EXPECT_EQ(panel_.RowCount(), 4);

  panel_.SelectRow(-1);
  panel_.OnKeyBefore(Press(kB, 30));
  panel_.OnKeyAfter(Press(kB, 40));
  panel_.OnKeySingle(Press(kB, 50));
  EXPECT_EQ(panel_.RowCount(), 4) << "without a selected step, before, after and single add nothing";
}

TEST_F(MacroRecordingTest, KeysTheTableDoesNotHaveAndTheFourThousandthStepAreTheEnd) {
  Begin(DelayMode::kZero);
  panel_.OnKeyAppend(Press({0x1E, true}, 10));
  EXPECT_EQ(panel_.RowCount(), 0);
  std::vector<MacroEvent> events(macro::kMaxRecordedRows - 1, kADown);
  macro::MacroLibrary library(Folder());
  library.Load();
  ASSERT_TRUE(library.Save(0, events));
  panel_.ShowMacro();
  ASSERT_EQ(panel_.RowCount(), macro::kMaxRecordedRows - 1);
  panel_.OnKeyAppend(Press(kB, 20));
  panel_.OnKeyAppend(Release(kB, 30));
  EXPECT_EQ(panel_.RowCount(), macro::kMaxRecordedRows);
}

}  // namespace
}  // namespace norvane::editors
