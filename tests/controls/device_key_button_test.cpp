// The key button: which changes repaint it and which wait for their caller, the colour layout it decodes, what
// it draws over a plain button (nothing, until it has a light or a mark to show), its double click and the skin
// colour it accepts without using.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "controls/device_key_button.h"
#include "uilib/button.h"
#include "uilib/window_impl_base.h"
#include "tests/support/paint_log.h"

namespace norvane::controls::test {
namespace {

constexpr const char* kKeyStyle =
    "QPushButton { background-color: #222a33; border: 1px solid #445566; border-radius: 5px; color: #eeeeee; }";

// The pending paints are done, so that a count starts from nothing.
void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

class KeyButtonRepaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    button_.resize(40, 30);
    button_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button_));
    button_.installEventFilter(&counter_);
  }
  template <class Change>
  int PaintsAfter(Change&& change) {
    Settle();
    counter_.paints = 0;
    change();
    Settle();
    return counter_.paints;
  }

  CDeviceKeyButtonUI button_;
  norvane::testing::PaintLog counter_;
};

TEST_F(KeyButtonRepaintTest, ImagesRepaintEveryTimeAndMarksOnlyWhenTheyChange) {
  EXPECT_GT(PaintsAfter([&] { button_.SetLightImage("keys/light.png"); }), 0);
  EXPECT_GT(PaintsAfter([&] { button_.SetLightImage("keys/light.png"); }), 0) << "the same image again";
  EXPECT_GT(PaintsAfter([&] { button_.SetKeySetImage("keys/set.png"); }), 0);
  EXPECT_GT(PaintsAfter([&] { button_.SetKeyUnsetImage("keys/unset.png"); }), 0);
  EXPECT_GT(PaintsAfter([&] { button_.SetAttribute("keysetimage", "keys/other.png"); }), 0);
  EXPECT_EQ(button_.GetKeySetImage(), ui::CDuiString("keys/other.png"));

  // Both marks start hidden (1) and show at 0.
  EXPECT_EQ(button_.GetKeySetMarkHidden(), 1u);
  EXPECT_EQ(button_.GetKeyUnsetMarkHidden(), 1u);
  EXPECT_EQ(PaintsAfter([&] { button_.SetKeySetMarkHidden(1); }), 0);
  EXPECT_GT(PaintsAfter([&] { button_.SetKeySetMarkHidden(0); }), 0);
  EXPECT_EQ(PaintsAfter([&] { button_.SetKeySetMarkHidden(0); }), 0);
  EXPECT_GT(PaintsAfter([&] { button_.SetKeyUnsetMarkHidden(0); }), 0);
  EXPECT_EQ(PaintsAfter([&] { button_.SetKeyUnsetMarkHidden(0); }), 0);
  EXPECT_GT(PaintsAfter([&] { button_.SetKeyUnsetMarkHidden(0xFFFFFFFFu); }), 0);
  EXPECT_EQ(button_.GetKeyUnsetMarkHidden(), 0xFFFFFFFFu) << "all 32 bits kept";

  EXPECT_EQ(button_.GetDeviceMark(), 0u);
  EXPECT_GT(PaintsAfter([&] { button_.SetDeviceMark(0x80000007u); }), 0);
  EXPECT_EQ(PaintsAfter([&] { button_.SetDeviceMark(0x80000007u); }), 0);
  EXPECT_EQ(button_.GetDeviceMark(), 0x80000007u);
}

TEST_F(KeyButtonRepaintTest, TheOverlayAndTheSelectionWaitForTheirCallerToRepaint) {
  EXPECT_FALSE(button_.IsLightOverlayOn());
  EXPECT_EQ(button_.GetLightColour(), 255u);
  EXPECT_EQ(button_.GetLightLevel(), 200);
  EXPECT_EQ(button_.GetSelectionState(), 0);

  EXPECT_EQ(PaintsAfter([&] { button_.SetLightOverlay(0x345612u, 128, true); }), 0);
  EXPECT_TRUE(button_.IsLightOverlayOn());
  EXPECT_EQ(button_.GetLightColour(), 0x345612u);
  EXPECT_EQ(button_.GetLightLevel(), 128);
  EXPECT_EQ(PaintsAfter([&] { button_.SetLightOverlay(0x0000FFu, 255, false); }), 0);
  EXPECT_FALSE(button_.IsLightOverlayOn());
  EXPECT_EQ(button_.GetLightColour(), 0x0000FFu);

  EXPECT_EQ(PaintsAfter([&] { button_.SetSelectionState(1); }), 0);
  EXPECT_EQ(button_.GetSelectionState(), 1);
  EXPECT_EQ(PaintsAfter([&] { button_.SetSelectionState(0); }), 0);
  EXPECT_EQ(button_.GetSelectionState(), 0);
}

TEST(KeyLightColour, PacksRedBlueGreenFromTheLowByteUp) {
  EXPECT_EQ(DecodeKeyLight(0x345612u), QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(DecodeKeyLight(0x000000FFu), QColor(255, 0, 0));
  EXPECT_EQ(DecodeKeyLight(0x0000FF00u), QColor(0, 0, 255));
  EXPECT_EQ(DecodeKeyLight(0x00FF0000u), QColor(0, 255, 0));
  EXPECT_EQ(DecodeKeyLight(0xFF345612u), QColor(0x12, 0x34, 0x56)) << "the top byte is no colour";
  EXPECT_EQ(PackKeyLight(0x12, 0x34, 0x56), 0x345612u);
}

class KeyButtonPaintTest : public ::testing::Test {
 protected:
  template <class Button>
  static void Style(Button& button, const QString& caption) {
    button.setStyleSheet(kKeyStyle);
    button.setText(caption);
    button.resize(40, 30);
  }
  static QRgb Centre(const QImage& image) { return image.pixel(image.width() / 2, image.height() / 2); }
};

TEST_F(KeyButtonPaintTest, WithNothingShownItPaintsExactlyLikeAPlainButton) {
  ui::CButtonUI plain;
  Style(plain, "Q");
  CDeviceKeyButtonUI key;
  Style(key, "Q");
  // Images, a device mark and an overlay that is off change nothing on the picture.
  key.SetLightImage("keys/light.png");
  key.SetKeySetImage("keys/set.png");
  key.SetKeyUnsetImage("keys/unset.png");
  key.SetDeviceMark(3);
  key.SetLightOverlay(0x0000FFu, 255, false);
  const QImage expected = plain.grab().toImage();
  EXPECT_EQ(key.grab().toImage(), expected);

  key.SetKeySetMarkHidden(0);
  EXPECT_NE(key.grab().toImage(), expected) << "a shown key-set mark is drawn (a dot without its image)";
  // Every layer at once, over images that do not exist and at a level past full.
  key.SetKeyUnsetMarkHidden(0);
  key.SetSelectionState(1);
  key.SetLightOverlay(0x345612u, 300, true);
  EXPECT_FALSE(key.grab().toImage().isNull());
}

TEST_F(KeyButtonPaintTest, TheOverlayShowsTheLedsOwnColourAtItsLevel) {
  CDeviceKeyButtonUI key;
  Style(key, "");
  key.SetLightOverlay(0x000000FFu, 255, true);  // red
  const QColor red = QColor(Centre(key.grab().toImage()));
  EXPECT_GT(red.red(), red.green() + 80);
  EXPECT_GT(red.red(), red.blue() + 80);

  key.SetLightOverlay(0x00FF0000u, 255, true);  // green
  const QColor green = QColor(Centre(key.grab().toImage()));
  EXPECT_GT(green.green(), green.red() + 80);
  EXPECT_GT(green.green(), green.blue() + 80);

  key.SetLightOverlay(0x00FF0000u, 0, true);  // green at level 0: a dark key
  const QColor dark = QColor(Centre(key.grab().toImage()));
  EXPECT_LT(dark.green(), 40);
}

TEST_F(KeyButtonPaintTest, ALightImageIsTintedWhereItHasPixelsAndNowhereElse) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // White on the right half, transparent on the left.
  QImage image(40, 30, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.fillRect(20, 0, 20, 30, Qt::white);
  }
  const QString path = dir.filePath("light.png");
  ASSERT_TRUE(image.save(path));

  ui::CButtonUI plain;
  Style(plain, "");
  CDeviceKeyButtonUI key;
  Style(key, "");
  key.SetLightImage(path);
  key.SetLightOverlay(0x000000FFu, 255, true);
  const QImage picture = key.grab().toImage();
  const QColor tinted(picture.pixel(30, 15));
  EXPECT_GT(tinted.red(), tinted.green() + 60) << "the image takes the light's red";
  EXPECT_EQ(picture.pixel(10, 15), plain.grab().toImage().pixel(10, 15)) << "no fill where the image is empty";
}

TEST_F(KeyButtonPaintTest, TheSkinsGameNameColourChangesNothing) {
  CDeviceKeyButtonUI key;
  Style(key, "W");
  const QImage before = key.grab().toImage();
  key.SetAttribute("gmnametextcolor", "#FF00FF00");
  key.SetAttribute("gmnametextcolor", "00FF00");
  EXPECT_EQ(key.GetTextColor(), 0u);
  EXPECT_EQ(key.grab().toImage(), before);
}

class ClickLog final : public ui::WindowImplBase {
 public:
  ui::CDuiString GetWindowClassName() const override { return "KeyButtonTest"; }
  ui::CDuiString GetSkinFile() const override { return NORVANE_SOURCE_DIR "/tests/controls/strip_window.ui"; }
  void Notify(ui::TNotifyUI& msg) override {
    if (msg.pSender == watched && msg.sType == ui::DUI_MSGTYPE_CLICK) ++clicks;
    if (msg.pSender == watched && msg.sType == ui::DUI_MSGTYPE_DBCLICK) ++doubleClicks;
    WindowImplBase::Notify(msg);
  }
  ui::CControlUI* watched = nullptr;
  int clicks = 0;
  int doubleClicks = 0;
};

class KeyButtonClickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Create(nullptr, "key-button", false, 0, 0, 300, 200));
    key_ = new CDeviceKeyButtonUI(window_.GetPaintManager().GetRoot()->GetWidget());
    key_->GetWidget()->setGeometry(20, 20, 40, 30);
    key_->GetWidget()->show();
    window_.watched = key_;
    window_.ShowWindow(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(key_->GetWidget()->window()));
    key_->GetWidget()->installEventFilter(&counter_);
  }

  ClickLog window_;
  CDeviceKeyButtonUI* key_ = nullptr;
  norvane::testing::PaintLog counter_;
};

TEST_F(KeyButtonClickTest, AClickIsAClickADoubleClickADbclickAndADisabledKeyRaisesNeither) {
  QTest::mouseClick(key_->GetWidget(), Qt::LeftButton, {}, QPoint(20, 15));
  Settle();
  EXPECT_EQ(window_.clicks, 1);
  EXPECT_EQ(window_.doubleClicks, 0);

  counter_.paints = 0;
  QTest::mouseDClick(key_->GetWidget(), Qt::LeftButton, {}, QPoint(20, 15));
  Settle();
  EXPECT_EQ(window_.doubleClicks, 1);
  EXPECT_GT(counter_.paints, 0) << "the key shows the press";

  key_->SetEnabled(false);
  const int clicks = window_.clicks;
  QTest::mouseDClick(key_->GetWidget(), Qt::LeftButton, {}, QPoint(20, 15));
  Settle();
  EXPECT_EQ(window_.doubleClicks, 1);
  EXPECT_EQ(window_.clicks, clicks);
}

}  // namespace
}  // namespace norvane::controls::test
