// The font table: skins name its fonts with "fontid", a rebuild gives every open window the new face while
// each control keeps the size and style its skin gave it, also at a window scale other than 1.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>

#include "tests/uilib/ui_test_support.h"
#include "uilib/font_table.h"

namespace norvane::ui::test {
namespace {

QByteArray FontSkin() {
  return "<?xml version=\"1.0\"?><ui version=\"4.0\"><class>T</class>"
         "<widget class=\"QWidget\" name=\"root\"><layout class=\"QVBoxLayout\" name=\"l\">"
         "<item><widget class=\"QLabel\" name=\"big\">"
         "<property name=\"fontid\" stdset=\"0\"><number>50</number></property></widget></item>"
         "<item><widget class=\"QLabel\" name=\"skin_sized\">"
         "<property name=\"font\"><font><pointsize>13</pointsize><italic>true</italic></font></property>"
         "</widget></item>"
         "<item><widget class=\"QLabel\" name=\"plain\"/></item>"
         "</layout></widget></ui>";
}

class FontTableTest : public ::testing::Test {
 protected:
  // Two installed families: the face before and after the switch.
  void SetUp() override {
    application_ = QApplication::font();
    const QStringList installed = QFontDatabase::families();
    for (const char* family : {"DejaVu Sans", "WenQuanYi Micro Hei"}) {
      if (!installed.contains(family)) GTEST_SKIP() << family << " is not installed";
    }
    CFontTable::Rebuild({"DejaVu Sans"});
  }
  void TearDown() override {
    QApplication::setFont(application_);
    ResetResources();
  }

  static QFont FontOf(RecordingWindow& wnd, const char* name) { return wnd.FindControl(name)->GetWidget()->font(); }

  QFont application_;
};

TEST_F(FontTableTest, TableFontsComeFromTheSkinsIdAndEveryControlTakesTheNewFace) {
  ScopedSkinDir dir;
  dir.Write("fonts.ui", FontSkin());
  RecordingWindow wnd("fonts.ui");
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  EXPECT_EQ(FontOf(wnd, "big").pixelSize(), 18);
  EXPECT_TRUE(FontOf(wnd, "big").bold());
  const QFont skinSizedBefore = FontOf(wnd, "skin_sized");

  CFontTable::Rebuild({"WenQuanYi Micro Hei", "DejaVu Sans"});
  for (const char* name : {"big", "skin_sized", "plain"}) {
    EXPECT_EQ(FontOf(wnd, name).families().value(0), "WenQuanYi Micro Hei") << name;
  }
  EXPECT_EQ(FontOf(wnd, "big").pixelSize(), 18);
  EXPECT_TRUE(FontOf(wnd, "big").bold());
  EXPECT_EQ(FontOf(wnd, "skin_sized").pointSizeF(), skinSizedBefore.pointSizeF()) << "the skin's size stays";
  EXPECT_TRUE(FontOf(wnd, "skin_sized").italic()) << "and its style";
  EXPECT_EQ(CFontTable::Font(1)->pixelSize(), 14);
  EXPECT_TRUE(CFontTable::Font(1)->underline());
  EXPECT_FALSE(CFontTable::Font(12).has_value()) << "no such font in the table";
}

TEST_F(FontTableTest, ARebuildAtOneAndAHalfTimesKeepsTheScaledSizes) {
  ScopedSkinDir dir;
  dir.Write("fonts.ui", FontSkin());
  RecordingWindow wnd("fonts.ui");
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  const double skinPoints = FontOf(wnd, "skin_sized").pointSizeF();
  wnd.GetPaintManager().SetDPI(144);
  EXPECT_EQ(FontOf(wnd, "big").pixelSize(), 27);
  CFontTable::Rebuild({"WenQuanYi Micro Hei"});
  EXPECT_EQ(FontOf(wnd, "big").pixelSize(), 27) << "scaled once, from the table's size";
  EXPECT_DOUBLE_EQ(FontOf(wnd, "skin_sized").pointSizeF(), skinPoints * 1.5);
  wnd.GetPaintManager().SetDPI(96);
  EXPECT_EQ(FontOf(wnd, "big").pixelSize(), 18);
  EXPECT_EQ(FontOf(wnd, "big").families().value(0), "WenQuanYi Micro Hei");
}

}  // namespace
}  // namespace norvane::ui::test
