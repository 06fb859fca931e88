// The skin chooser: where it opens, what each of its buttons tells the main window and records in
// "main.ini", closing when it loses focus (but not under its own file dialog), and the record itself.

#include "app/skin_frame.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/ini_text.h"
#include "platform/atomic_file.h"
#include "platform/xdg_paths.h"
#include "tests/windows/windows_test_support.h"

namespace norvane::app::test {
namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Stands for the main window: keeps what the chooser sent.
class Receiver : public SkinChangedReceiver {
 public:
  Receiver() { SkinChangedObserver().AddReceiver(this); }
  ~Receiver() { SkinChangedObserver().RemoveReceiver(this); }
  int Receive(SkinChangedParam param) override {
    got.push_back(std::move(param));
    return 0;
  }
  std::vector<SkinChangedParam> got;
};

class SkinFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::remove_all(UserDataFolder()); }
  void TearDown() override {
    CSkinFrame::SetImagePickerForTesting({});
    CSkinFrame::CloseAll();
    WaitFor([] { return CSkinFrame::OpenFrames().empty(); });
    QCoreApplication::processEvents();  // closed choosers free themselves from the event loop
  }
  CSkinFrame* OpenFrame() {
    CSkinFrame* frame = CSkinFrame::Open(nullptr, QRect(600, 20, 34, 30), 96);
    EXPECT_NE(frame, nullptr);
    EXPECT_TRUE(WaitFor([frame] { return frame->GetWidget()->isActiveWindow(); }));
    return frame;
  }
  Receiver receiver;
};

std::vector<QPushButton*> Buttons(CSkinFrame* frame, const QString& name) {
  std::vector<QPushButton*> out;
  for (QPushButton* b : frame->GetWidget()->findChildren<QPushButton*>(name)) out.push_back(b);
  return out;
}

TEST_F(SkinFrameTest, OpensWithItsTopRightCornerBelowTheButtonsBottomRight) {
  CSkinFrame* frame = OpenFrame();
  const QRect geometry = frame->GetWidget()->frameGeometry();
  EXPECT_EQ(geometry.right(), 633);
  EXPECT_EQ(geometry.top(), 50);
  EXPECT_EQ(geometry.size(), QSize(340, 270)) << "it keeps its layout's size";
}

TEST_F(SkinFrameTest, AnImageIsSentAndRecordedAColourOnlySent) {
  CSkinFrame* frame = OpenFrame();
  const std::vector<QPushButton*> images = Buttons(frame, "skin_image_btn");
  ASSERT_GE(images.size(), 2u);
  QTest::mouseClick(images[1], Qt::LeftButton);
  ASSERT_EQ(receiver.got.size(), 1u);
  EXPECT_FALSE(receiver.got[0].useColor);
  EXPECT_EQ(receiver.got[0].bkImage, ui::ControlOf(images[1])->GetBkImage());
  EXPECT_FALSE(receiver.got[0].bkImage.isEmpty());
  const std::string recorded = ReadText(SkinChoiceFile());
  EXPECT_EQ(recorded, "[SKINIMAGE]\nFLAGS=1\nIMAGE=" + receiver.got[0].bkImage.ToUtf8() + "\n");

  const std::vector<QPushButton*> colours = Buttons(frame, "skin_color_btn");
  ASSERT_GE(colours.size(), 3u);
  QTest::mouseClick(colours[2], Qt::LeftButton);
  ASSERT_EQ(receiver.got.size(), 2u);
  EXPECT_TRUE(receiver.got[1].useColor);
  EXPECT_EQ(receiver.got[1].bkColor, ui::ControlOf(colours[2])->GetBkColor());
  EXPECT_NE(receiver.got[1].bkColor, 0u);
  EXPECT_EQ(ReadText(SkinChoiceFile()), recorded) << "colours are not recorded";
}

TEST_F(SkinFrameTest, ResetSendsTheDefaultBackgroundAndRecordsIt) {
  CSkinFrame* frame = OpenFrame();
  Click(frame->GetWidget(), "skin_reset");
  ASSERT_EQ(receiver.got.size(), 1u);
  EXPECT_EQ(receiver.got[0].bkImage, "common/background.png");
  EXPECT_EQ(ReadText(SkinChoiceFile()), "[SKINIMAGE]\nFLAGS=0\nIMAGE=common/background.png\n");
}

TEST_F(SkinFrameTest, ClosesWhenItLosesTheFocus) {
  CSkinFrame* frame = OpenFrame();
  QWidget other;
  other.show();
  other.activateWindow();
  EXPECT_TRUE(WaitFor([] { return CSkinFrame::OpenFrames().empty(); }));
  (void)frame;  // freed by now: not touched again
}

TEST_F(SkinFrameTest, ACustomImageIsSentNotRecordedAndTheDialogDoesNotCloseTheChooser) {
  QWidget other;
  CSkinFrame::SetImagePickerForTesting([&other](QWidget*) {
    // The dialog takes the focus while it is open.
    other.show();
    other.activateWindow();
    WaitFor([&other] { return other.isActiveWindow(); }, 500);
    QCoreApplication::processEvents();
    return ui::CDuiString(NORVANE_SOURCE_DIR "/skin/skinframe/bg_ocean.png");
  });
  CSkinFrame* frame = OpenFrame();
  Click(frame->GetWidget(), "skin_Custom");
  QCoreApplication::processEvents();
  ASSERT_EQ(CSkinFrame::OpenFrames().size(), 1u) << "the chooser outlived its dialog";
  ASSERT_EQ(receiver.got.size(), 1u);
  EXPECT_EQ(receiver.got[0].bkImage, NORVANE_SOURCE_DIR "/skin/skinframe/bg_ocean.png");
  EXPECT_FALSE(std::filesystem::exists(SkinChoiceFile()));

  CSkinFrame::SetImagePickerForTesting([](QWidget*) { return ui::CDuiString(); });
  Click(frame->GetWidget(), "skin_Custom");
  QCoreApplication::processEvents();
  EXPECT_EQ(receiver.got.size(), 1u) << "cancelling changes nothing";

  // A file that is no image is refused with a message, and the chooser stays.
  CSkinFrame::SetImagePickerForTesting(
      [](QWidget*) { return ui::CDuiString(NORVANE_SOURCE_DIR "/skin/res.xml"); });
  QString refusal;
  Click(frame->GetWidget(), "skin_Custom");
  WhenShown("MsgWnd", [&refusal](QWidget* window) {
    refusal = qobject_cast<QLabel*>(FindChildNamed(window, "MessageText"))->text();
    Click(window, "confirm_btn");
  });
  QCoreApplication::processEvents();
  EXPECT_EQ(receiver.got.size(), 1u);
  EXPECT_EQ(refusal, "This file is not an image that can be used as a background.");
  EXPECT_EQ(CSkinFrame::OpenFrames().size(), 1u);
}

// The dialog runs its own event loop, in which the chooser (and the button that was clicked) may be freed.
TEST_F(SkinFrameTest, TheDialogWaitsForTheClickToReturnAndOutlivingTheChooserIsHarmless) {
  int picks = 0;
  CSkinFrame::SetImagePickerForTesting([&picks](QWidget*) {
    ++picks;
    return ui::CDuiString(NORVANE_SOURCE_DIR "/skin/skinframe/bg_ocean.png");
  });
  CSkinFrame* frame = OpenFrame();
  Click(frame->GetWidget(), "skin_Custom");
  EXPECT_EQ(picks, 0) << "the dialog opened inside the button's own click";
  frame->Close(0);  // closed before the dialog had its turn
  EXPECT_TRUE(WaitFor([] { return CSkinFrame::OpenFrames().empty(); }));
  QCoreApplication::processEvents();
  EXPECT_EQ(picks, 0) << "a dialog for a chooser that is closed";
  EXPECT_TRUE(receiver.got.empty());

  // Closed and freed while its dialog is open (the main window shuts down): the choice is dropped.
  frame = OpenFrame();
  const QPointer<QWidget> host = frame->GetWidget();
  bool freed = false;
  CSkinFrame::SetImagePickerForTesting([&host, &freed](QWidget*) {
    CSkinFrame::CloseAll();
    freed = WaitFor([&host] { return host.isNull(); });
    return ui::CDuiString(NORVANE_SOURCE_DIR "/skin/skinframe/bg_ocean.png");
  });
  Click(host, "skin_Custom");
  QCoreApplication::processEvents();
  EXPECT_TRUE(freed);
  EXPECT_TRUE(receiver.got.empty());
  EXPECT_TRUE(CSkinFrame::OpenFrames().empty());
}

TEST(SkinRecordTest, KeepsWhatElseTheFileHoldsAndReplacesItsOwnKeys) {
  const std::string before =
      "; user notes\n[WINDOW]\nX=10\n\n[skinimage]\nflags=1\nIMAGE=old.png\nOther=keep\n[LAST]\nA=b\n";
  EXPECT_EQ(SetIniValue(SetIniValue(before, "SKINIMAGE", "FLAGS", "0"), "SKINIMAGE", "IMAGE", "new.png"),
            "; user notes\n[WINDOW]\nX=10\n\n[skinimage]\nFLAGS=0\nIMAGE=new.png\nOther=keep\n[LAST]\nA=b\n");
  EXPECT_EQ(SetIniValue("[A]\nx=1\n\n[B]\n", "A", "y", "2"), "[A]\nx=1\ny=2\n\n[B]\n")
      << "a new key joins the end of its section";
  EXPECT_EQ(SetIniValue("[A]\r\nx=1\r\n", "SKINIMAGE", "FLAGS", "1"), "[A]\nx=1\n\n[SKINIMAGE]\nFLAGS=1\n");
  EXPECT_EQ(SetIniValue("", "S", "IMAGE", "a\nb\r[EVIL]"), "[S]\nIMAGE=a b [EVIL]\n")
      << "a value cannot start a line of its own";
}

TEST(SkinRecordTest, AFailedWriteLeavesTheOldFileAndSaysSo) {
  QTemporaryDir dir;
  const std::filesystem::path ini = std::filesystem::path(dir.path().toStdString()) / "sub" / "main.ini";
  ASSERT_TRUE(RecordSkinChoice(ini, "1", QString::fromUtf8("skinframe/bg_aurora.png")));
  const std::string good = ReadText(ini);
  {
    ScopedWriteFailure full(4);
    std::string error;
    EXPECT_FALSE(RecordSkinChoice(ini, "0", "common/background.png", &error));
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(ReadText(ini), good);
}

}  // namespace
}  // namespace norvane::app::test
