// The look's inputs are files: a missing style sheet or a broken font must not stop the program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>

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
