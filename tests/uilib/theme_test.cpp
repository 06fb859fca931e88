// The look's inputs are files: a missing style sheet or a broken font must not stop the program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <algorithm>

#include "tests/uilib/ui_test_support.h"

namespace norvane::ui::test {
namespace {

TEST(ThemeTest, ShippedThemeAppliesAndResolvesSkinUrls) {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  ASSERT_NE(app, nullptr);
  EXPECT_TRUE(ApplyTheme(*app));
  EXPECT_FALSE(app->styleSheet().contains("url(skin:"));
  EXPECT_TRUE(app->styleSheet().contains("base/chevron.svg"));
  app->setStyleSheet({});
}

TEST(ThemeTest, MissingStyleSheetIsReportedAndThePaletteStillApplies) {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  ScopedSkinDir dir;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(ApplyTheme(*app));
  EXPECT_THAT(testing::internal::GetCapturedStderr(), ::testing::HasSubstr("theme.qss"));
  EXPECT_LT(app->palette().color(QPalette::Window).lightness(), 60) << "dark palette";
}

// A colour swatch keeps its own colour when the mode rules disable its group, so the theme cannot grey it:
// only its colour, faded, tells the user that it cannot be chosen.
TEST(ThemeTest, ASwatchInADisabledGroupShowsItsColourFaded) {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  ASSERT_TRUE(ApplyTheme(*app));
  RecordingWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  QWidget* group = wnd.FindControl("sidebar")->GetWidget();
  auto* swatch = new CButtonUI();
  swatch->GetWidget()->setProperty("role", "lightswatch");
  swatch->GetWidget()->setParent(group);
  swatch->GetWidget()->setGeometry(0, 0, 40, 30);
  swatch->SetBkColor(0xFFFF0000);
  const auto centre = [&] {
    // Over what lies behind it, as the user sees it.
    const QImage image = group->grab(swatch->GetWidget()->geometry()).toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
  };

  const QColor shown = centre();
  EXPECT_EQ(shown.red(), 255);
  EXPECT_LT(shown.green(), 20);

  group->setEnabled(false);
  const QColor faded = centre();
  EXPECT_LT(faded.red(), 150) << "the whole group was disabled: its swatch must not look choosable";
  EXPECT_GT(faded.red(), faded.green() + 20) << "still recognisably its own colour";

  group->setEnabled(true);
  EXPECT_EQ(centre().red(), 255);

  // The colour palette paints itself: disabled with its group, its field of colours fades the same way.
  auto* palette = new CColorPaletteUI();
  palette->GetWidget()->setParent(group);
  palette->GetWidget()->setGeometry(0, 40, 120, 80);
  palette->SetSelectColor(0xFFFF0000);
  const auto brightest = [&] {
    const QImage image = group->grab(palette->GetWidget()->geometry()).toImage();
    int most = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) most = std::max(most, image.pixelColor(x, y).red());
    return most;
  };
  const int shownMost = brightest();
  EXPECT_GT(shownMost, 240);
  group->setEnabled(false);
  EXPECT_LT(brightest(), shownMost - 60) << "a palette that takes no pick must not look like one that does";
  group->setEnabled(true);
  app->setStyleSheet({});
}

TEST(ThemeTest, UnreadableFontsAreSkippedSilently) {
  ScopedSkinDir dir;
  EXPECT_EQ(RegisterBundledFonts(), 0) << "no fonts folder";
  dir.Write("fonts/broken.ttf", "not a font");
  dir.Write("fonts/readme.txt", "ignored");
  testing::internal::CaptureStderr();
  EXPECT_EQ(RegisterBundledFonts(), 0);
  testing::internal::GetCapturedStderr();
  const QString dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  QFile font(dejavu);
  if (!font.open(QIODevice::ReadOnly)) GTEST_SKIP() << "no system font to copy";
  dir.Write("fonts/good.ttf", font.readAll());
  EXPECT_EQ(RegisterBundledFonts(), 1);
}

}  // namespace
}  // namespace norvane::ui::test
