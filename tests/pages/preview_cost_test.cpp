// What the keyboard's lighting preview costs: a static effect paints no frame after its first, an animated
// one paints at most once per lighting tick, and a picture nobody can see (window hidden or minimised,
// another tab chosen) paints nothing and lets the lighting thread rest, while a streamed effect keeps
// reaching the keyboard. The keyboard is the emulated one, its page the shipped skin, its tab's timers the
// real ones.

#include <QApplication>
#include <QPaintEvent>

#include "controls/device_key_button.h"
#include "controls/device_option.h"
#include "devices/keyboard/keyboard_device.h"
#include "tests/pages/page_test_window.h"
#include "tests/support/paint_log.h"
#include "uilib/paint_manager.h"

namespace norvane::pages::test {
namespace {

using hid::DeviceKind;

constexpr std::uint8_t kStaticMode = 5;
constexpr std::uint8_t kColumnWaveMode = 1;
constexpr std::uint8_t kAudioMode = 29;
constexpr std::uint8_t kStreamLight = 0x12;
constexpr int kMacroTab = 3;
constexpr int kLightingTab = 1;

class PreviewCostTest : public HostHarness {
 protected:
  // The keyboard attached, synchronised and its page shown in a shown window.
  void ShowKeyboard() {
    Open({DeviceModel::kKeyboard});
    host_->StartScan();
    keyboard_ = PageOf(DeviceKind::kKeyboard);
    // The first synchronisation (which reads the keyboard's own effect) is done once frames are presented.
    ASSERT_TRUE(WaitFor([&] {
      return TabShown(keyboard_) && keyboard_->DeviceTab()->IsTimerRunning(controls::kTimerPresentFrame);
    }));
    window_.ShowWindow(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(keyboard_->GetWidget()->window()));
    ui::CControlUI* picture = keyboard_->FindSubControl("keyboard_device_key_light");
    ASSERT_NE(picture, nullptr);
    picture_ = picture->GetWidget();
    ASSERT_TRUE(WaitFor([&] { return picture_->isVisible() && keyboard_->PreviewCanBeSeen(); }));
  }

  devices::CNorvaneKeyboardDevice& Keyboard() {
    return dynamic_cast<devices::CNorvaneKeyboardDevice&>(*keyboard_->Device());
  }

  void SetMode(std::uint8_t mode, QColor colour = QColor(255, 0, 0)) {
    lighting::LightParams params = Keyboard().GetLightParams();
    params.mode = mode;
    params.brightness = 4;
    params.speed = 4;
    params.multiColour = 0;
    params.red = std::uint8_t(colour.red());
    params.green = std::uint8_t(colour.green());
    params.blue = std::uint8_t(colour.blue());
    Keyboard().SetLightParams(params);
    Keyboard().RefreshKeyButtons();
  }

  // Paints of the picture and of its keys while the timers run for `time`.
  int PaintsDuring(std::chrono::milliseconds time) {
    norvane::testing::PaintLog counter;
    picture_->installEventFilter(&counter);
    for (QWidget* key : picture_->findChildren<QWidget*>()) key->installEventFilter(&counter);
    QTest::qWait(int(time.count()));
    return counter.paints;
  }

  // Whether the lighting thread changes the frame within `time` (an animated effect does on every tick).
  bool FrameMovesWithin(std::chrono::milliseconds time) { return FrameMovesWithin(time, Keyboard()); }
  bool FrameMovesWithin(std::chrono::milliseconds time, const devices::CNorvaneUSBDevice& device) {
    const std::vector<lighting::LedRecord> before = device.FrameSnapshot();
    return WaitFor(
        [&] {
          const std::vector<lighting::LedRecord> now = device.FrameSnapshot();
          return !std::equal(now.begin(), now.end(), before.begin(), before.end(),
                             [](const lighting::LedRecord& a, const lighting::LedRecord& b) {
                               return a.red == b.red && a.green == b.green && a.blue == b.blue &&
                                      a.level == b.level;
                             });
        },
        time);
  }

  int StreamedFrames() {
    int count = 0;
    for (const emulator::LoggedFrame& frame : backend_->FrameLog()) {
      count += frame.device == Device(DeviceModel::kKeyboard) &&
               frame.direction == emulator::FrameDirection::kToDevice && frame.bytes[3] == kStreamLight;
    }
    return count;
  }

  controls::CDevicePageUI* keyboard_ = nullptr;
  QWidget* picture_ = nullptr;
};

TEST_F(PreviewCostTest, AStaticEffectPaintsNoFrameAfterItsFirst) {
  ShowKeyboard();
  SetMode(kStaticMode, QColor(0, 0, 255));
  auto* key = dynamic_cast<controls::CDeviceKeyButtonUI*>(keyboard_->LightButton(64));
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(WaitFor([&] { return controls::DecodeKeyLight(key->GetLightColour()).blue() > 200; }))
      << "the first frame shows the colour";
  // Its paint is done (a slow sanitizer build on a loaded machine may take a while): a quiet moment first.
  for (int look = 0; look < 20 && PaintsDuring(100ms) > 0; ++look) {
  }
  EXPECT_EQ(PaintsDuring(400ms), 0) << "25 lighting ticks, 40 presentations, nothing to paint";

  SetMode(kColumnWaveMode);
  const int paints = PaintsDuring(500ms);
  EXPECT_GT(paints, 5) << "an animated effect paints";
  EXPECT_LE(paints, 32 + 4) << "at most once per lighting tick, never once per key";
}

TEST_F(PreviewCostTest, APictureNobodyCanSeePaintsNothingAndItsLightingThreadRests) {
  ShowKeyboard();
  SetMode(kColumnWaveMode);
  ASSERT_TRUE(FrameMovesWithin(200ms));
  EXPECT_TRUE(Keyboard().IsPreviewShown());

  // The window goes to the tray.
  window_.ShowWindow(false);
  EXPECT_FALSE(Keyboard().IsPreviewShown()) << "told at once";
  QTest::qWait(50);
  EXPECT_FALSE(FrameMovesWithin(200ms)) << "no frame is computed for nobody";
  EXPECT_EQ(PaintsDuring(100ms), 0);
  window_.ShowWindow(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(picture_->window()));
  EXPECT_TRUE(Keyboard().IsPreviewShown());
  EXPECT_TRUE(FrameMovesWithin(100ms)) << "back at once, not at the next look";
  EXPECT_GT(PaintsDuring(100ms), 0);

  // The macro tab has no picture.
  Keyboard().SelectFunctionTab(kMacroTab);
  EXPECT_FALSE(picture_->isVisible());
  EXPECT_FALSE(Keyboard().IsPreviewShown());
  QTest::qWait(50);
  EXPECT_FALSE(FrameMovesWithin(200ms));
  Keyboard().SelectFunctionTab(kLightingTab);
  EXPECT_TRUE(Keyboard().IsPreviewShown());
  EXPECT_TRUE(FrameMovesWithin(100ms));

  // Minimised.
  picture_->window()->showMinimized();
  ASSERT_TRUE(WaitFor([&] { return !Keyboard().IsPreviewShown(); }, 500ms));
  QTest::qWait(50);
  EXPECT_FALSE(FrameMovesWithin(200ms));
  picture_->window()->showNormal();
  EXPECT_TRUE(WaitFor([&] { return Keyboard().IsPreviewShown(); }, 500ms));
  EXPECT_TRUE(FrameMovesWithin(100ms));
}

TEST_F(PreviewCostTest, AStreamedEffectKeepsReachingTheKeyboardWhileThePictureWaits) {
  ShowKeyboard();
  SetMode(kAudioMode);
  window_.ShowWindow(false);
  QTest::qWait(50);
  EXPECT_FALSE(Keyboard().IsPreviewShown());
  EXPECT_TRUE(Keyboard().FramesReachDevice());
  backend_->ClearFrameLog();
  QTest::qWait(300);
  EXPECT_GT(StreamedFrames(), 10) << "the keyboard's lighting does not stop with the window";
  EXPECT_FALSE(keyboard_->WantsAnimationRedraw()) << "nothing was shown";
}

TEST_F(PreviewCostTest, AMouseWhosePictureNobodyCanSeeComputesNoFrames) {
  Open({DeviceModel::kMouse});
  host_->StartScan();
  controls::CDevicePageUI* mouse = PageOf(DeviceKind::kMouse);
  ASSERT_TRUE(WaitFor(
      [&] { return TabShown(mouse) && mouse->DeviceTab()->IsTimerRunning(controls::kTimerPresentFrame); }));
  window_.ShowWindow(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(mouse->GetWidget()->window()));
  ASSERT_TRUE(WaitFor([&] { return mouse->PreviewCanBeSeen(); }));
  devices::CNorvaneUSBDevice& device = *mouse->Device();
  EXPECT_FALSE(device.FramesReachDevice()) << "the mouse runs its effects itself";
  ASSERT_TRUE(FrameMovesWithin(500ms, device)) << "its default effect is animated";

  window_.ShowWindow(false);
  EXPECT_FALSE(device.IsPreviewShown());
  QTest::qWait(100);
  EXPECT_FALSE(FrameMovesWithin(200ms, device)) << "its lighting thread rests";
  EXPECT_EQ(mouse->DeviceTab()->TimerInterval(controls::kTimerPresentFrame), 250)
      << "the tab only looks now and then";
}

}  // namespace
}  // namespace norvane::pages::test
