// The key picture draws its keys itself, in one pass: a frame that changes every key's light paints the
// picture once and no key on its own, a change of one key repaints that key's place only, whatever would
// repaint a key (a mark, a caption, a press, the selection) repaints its place in the picture, and a key
// drawn there looks as it does on its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPaintEvent>
#include <QTest>
#include <vector>

#include "controls/device_key_button.h"
#include "controls/select_panel.h"
#include "uilib/window_impl_base.h"
#include "tests/support/paint_log.h"

namespace norvane::controls::test {
namespace {

constexpr int kKeySize = 24;
constexpr int kColumns = 10;
constexpr int kRows = 3;

class PictureWindow final : public ui::WindowImplBase {
 public:
  ui::CDuiString GetWindowClassName() const override { return "KeyPictureTest"; }
  ui::CDuiString GetSkinFile() const override { return NORVANE_SOURCE_DIR "/tests/controls/strip_window.ui"; }
};

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

class KeyPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Create(nullptr, "key-picture", false, 0, 0, 400, 200));
    panel_ = new CSelectPanelUI(window_.GetPaintManager().GetRoot()->GetWidget());
    panel_->GetWidget()->setGeometry(0, 0, 360, 120);
    for (int row = 0; row < kRows; ++row) {
      for (int column = 0; column < kColumns; ++column) {
        auto* key = new CDeviceKeyButtonUI(panel_->GetWidget());
        key->SetName(QString("key_%1").arg(keys_.size()));
        key->setText(QString(QChar('A' + column)));
        key->GetWidget()->setGeometry(4 + 30 * column, 4 + 30 * row, kKeySize, kKeySize);
        keys_.push_back(key);
      }
    }
    panel_->GetWidget()->show();
    window_.ShowWindow(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel_->GetWidget()->window()));
    Settle();
    panel_->GetWidget()->installEventFilter(&panelLog_);
    for (CDeviceKeyButtonUI* key : keys_) key->GetWidget()->installEventFilter(&keyLog_);
  }

  template <class Change>
  void After(Change&& change) {
    Settle();
    panelLog_.Reset();
    keyLog_.Reset();
    change();
    Settle();
  }
  QImage Picture() { return panel_->GetWidget()->grab().toImage(); }

  PictureWindow window_;
  CSelectPanelUI* panel_ = nullptr;
  std::vector<CDeviceKeyButtonUI*> keys_;
  norvane::testing::PaintLog panelLog_;
  norvane::testing::PaintLog keyLog_;
};

TEST_F(KeyPictureTest, AFrameThatChangesEveryLightPaintsThePictureOnceAndNoKeyOnItsOwn) {
  for (CDeviceKeyButtonUI* key : keys_) EXPECT_TRUE(key->IsDrawnByPicture());
  After([&] {
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      keys_[i]->SetLightOverlay(PackKeyLight(std::uint8_t(8 * i), 200, 40), 255, true);
      keys_[i]->Invalidate();
    }
  });
  EXPECT_EQ(panelLog_.paints, 1);
  EXPECT_EQ(keyLog_.paints, 0);

  After([&] { keys_[12]->Invalidate(); });
  EXPECT_EQ(panelLog_.paints, 1);
  EXPECT_EQ(panelLog_.painted, QRegion(keys_[12]->GetWidget()->geometry())) << "that key's place only";

  After([] {});
  EXPECT_EQ(panelLog_.paints, 0) << "nothing asked, nothing painted";
}

TEST_F(KeyPictureTest, MarksCaptionsPressesAndTheSelectionRepaintTheKeysPlace) {
  CDeviceKeyButtonUI* key = keys_[3];
  const QRect place = key->GetWidget()->geometry();
  const auto repaintsPlace = [&](const char* what) {
    EXPECT_EQ(panelLog_.paints, 1) << what;
    EXPECT_TRUE(panelLog_.painted.contains(place)) << what;
    EXPECT_EQ(keyLog_.paints, 0) << what;
  };
  const QPoint markCentre = place.topLeft() + QPoint(kKeySize - 2 - 4, 1 + 1 + 4);
  const QColor before = Picture().pixelColor(markCentre);
  After([&] { key->SetKeySetMarkHidden(0); });
  repaintsPlace("key-set mark");
  const QColor mark = Picture().pixelColor(markCentre);
  EXPECT_NE(mark, before);
  EXPECT_GT(mark.green(), mark.red() + 100) << "the mark's dot";

  After([&] { key->SetText("Esc"); });
  repaintsPlace("caption");
  After([&] { QTest::mousePress(key->GetWidget(), Qt::LeftButton, {}, QPoint(5, 5)); });
  repaintsPlace("press");
  After([&] { QTest::mouseRelease(key->GetWidget(), Qt::LeftButton, {}, QPoint(5, 5)); });
  repaintsPlace("release");
  After([&] {
    key->SetSelectionState(1);
    key->Invalidate();
  });
  repaintsPlace("selection");
  After([&] { key->SetEnabled(false); });
  repaintsPlace("disabled");
}

TEST_F(KeyPictureTest, AKeyInThePictureLooksAsItDoesOnItsOwn) {
  // Beside the picture, in the same window: the same style and font, but the key paints itself.
  auto* alone = new CDeviceKeyButtonUI(window_.GetPaintManager().GetRoot()->GetWidget());
  alone->GetWidget()->setGeometry(4, 150, kKeySize, kKeySize);
  alone->setText("D");
  alone->GetWidget()->show();
  for (CDeviceKeyButtonUI* key : {keys_[3], alone}) {
    key->SetLightOverlay(PackKeyLight(255, 0, 0), 200, true);
    key->SetKeySetMarkHidden(0);
    key->SetSelectionState(1);
    key->Invalidate();
  }
  Settle();
  EXPECT_FALSE(alone->IsDrawnByPicture());
  const QImage own = alone->GetWidget()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  const QImage picture = Picture().convertToFormat(QImage::Format_ARGB32);
  const QPoint at = keys_[3]->GetWidget()->pos();
  // Inside the key's border: the corners show what lies behind, which differs.
  for (int y = 3; y < kKeySize - 3; ++y) {
    for (int x = 3; x < kKeySize - 3; ++x) {
      ASSERT_EQ(picture.pixel(at.x() + x, at.y() + y), own.pixel(x, y)) << "at " << x << ", " << y;
    }
  }
  const QColor centre = own.pixelColor(kKeySize / 2, kKeySize / 2 + 6);
  EXPECT_GT(centre.red(), centre.green() + 80) << "the light's red, below the caption";
}

TEST_F(KeyPictureTest, AFrameRepaintsNothingBehindThePictureAndANewBackgroundShowsUnderIt) {
  QWidget* behind = window_.GetPaintManager().GetRoot()->GetWidget();
  behind->setObjectName("behind_the_picture");
  behind->setStyleSheet("#behind_the_picture { background-color: #102030; }");
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel_->HasKeptBackground(); }, 1000));
  const QPoint gap(4 + kKeySize + 2, 10);  // between the first two keys
  EXPECT_EQ(Picture().pixelColor(gap), QColor(0x10, 0x20, 0x30));

  norvane::testing::PaintLog behindLog;
  behind->installEventFilter(&behindLog);
  After([&] {
    for (CDeviceKeyButtonUI* key : keys_) {
      key->SetLightOverlay(PackKeyLight(0, 0, 255), 255, true);
      key->Invalidate();
    }
  });
  EXPECT_EQ(panelLog_.paints, 1);
  EXPECT_EQ(behindLog.paints, 0) << "the window behind the picture is not painted again";

  behind->setStyleSheet("#behind_the_picture { background-color: #304050; }");
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel_->HasKeptBackground(); }, 1000));
  Settle();
  EXPECT_EQ(Picture().pixelColor(gap), QColor(0x30, 0x40, 0x50)) << "a new skin colour shows under the picture";
  panel_->GetWidget()->resize(340, 110);
  EXPECT_FALSE(panel_->HasKeptBackground()) << "drawn again for the new size";
}

// A drawing of the device's body, as the mouse's picture has: a styled widget that counts its own paints.
class Body final : public QWidget {
 public:
  explicit Body(QWidget* parent) : QWidget(parent) {
    setObjectName("device_body");
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet("#device_body { background-color: #205020; }");
  }
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST_F(KeyPictureTest, ABodyInThePictureLiesUnderTheKeysAndAFrameDoesNotPaintIt) {
  // Made after the keys, so above them among the widgets: the keys must still show on it.
  auto* body = new Body(panel_->GetWidget());
  body->setGeometry(0, 0, 200, 60);
  body->show();
  for (CDeviceKeyButtonUI* key : keys_) {
    key->SetLightOverlay(PackKeyLight(255, 0, 0), 255, true);
    key->Invalidate();
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel_->HasKeptBackground(); }, 1000));
  Settle();
  const QPoint gap(4 + kKeySize + 2, 10);  // between the first two keys, on the body
  const QPoint keyCentre(4 + kKeySize / 2, 4 + kKeySize / 2 + 6);
  QImage picture = window_.GetPaintManager().GetRoot()->GetWidget()->grab(panel_->GetWidget()->geometry()).toImage();
  EXPECT_EQ(picture.pixelColor(gap), QColor(0x20, 0x50, 0x20));
  EXPECT_GT(picture.pixelColor(keyCentre).red(), picture.pixelColor(keyCentre).green() + 80) << "the key, on top";

  body->paints = 0;
  After([&] {
    for (CDeviceKeyButtonUI* key : keys_) {
      key->SetLightOverlay(PackKeyLight(0, 0, 255), 255, true);
      key->Invalidate();
    }
  });
  EXPECT_EQ(panelLog_.paints, 1);
  EXPECT_EQ(body->paints, 0) << "the body is part of the kept picture";
  picture = window_.GetPaintManager().GetRoot()->GetWidget()->grab(panel_->GetWidget()->geometry()).toImage();
  EXPECT_GT(picture.pixelColor(keyCentre).blue(), picture.pixelColor(keyCentre).green() + 80);
  EXPECT_EQ(picture.pixelColor(gap), QColor(0x20, 0x50, 0x20));

  body->hide();
  EXPECT_FALSE(panel_->HasKeptBackground()) << "drawn again without the body";
}

TEST_F(KeyPictureTest, AKeyTakenOutOfThePicturePaintsItselfAgain) {
  CDeviceKeyButtonUI* key = keys_[0];
  key->GetWidget()->setParent(window_.GetPaintManager().GetRoot()->GetWidget());
  EXPECT_FALSE(key->IsDrawnByPicture());
  EXPECT_TRUE(key->GetWidget()->updatesEnabled());
  key->GetWidget()->move(4, 150);  // below the picture
  key->GetWidget()->show();
  After([&] { key->SetKeySetMarkHidden(0); });
  EXPECT_GT(keyLog_.paints, 0);
  EXPECT_EQ(panelLog_.paints, 0);
}

}  // namespace
}  // namespace norvane::controls::test
