// Message texts: ids resolved through a hidden label, one number put safely into a translated text, and the
// message that each outcome of a macro write shows.

#include "app/message_texts.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include "app/message_window.h"
#include "tests/windows/windows_test_support.h"

namespace norvane::app::test {
namespace {

TEST(SubstituteNumberTest, TheFirstIntegerPlaceholderTakesTheNumber) {
  EXPECT_EQ(SubstituteNumber("Remove %d steps.", 3), "Remove 3 steps.");
  EXPECT_EQ(SubstituteNumber("%i|%u", 7), "7|%u") << "only one placeholder takes the number";
  EXPECT_EQ(SubstituteNumber("%5d and %-3ld", 42), "42 and %-3ld");
  EXPECT_EQ(SubstituteNumber("code %x / %X", 255), "code ff / %X");
  EXPECT_EQ(SubstituteNumber("100%% full: %d", 9), "100% full: 9");
  EXPECT_EQ(SubstituteNumber(QString::fromUtf8("请至少删除 %d 个"), 4), QString::fromUtf8("请至少删除 4 个"));
}

TEST(SubstituteNumberTest, HostileTextsAreCopiedNeverInterpreted) {
  EXPECT_EQ(SubstituteNumber("%s%n%x", 3), "%s%n3");
  EXPECT_EQ(SubstituteNumber("%s%s%s%s%s%n%n%p", 3), "%s%s%s%s%s%n%n%p");
  EXPECT_EQ(SubstituteNumber("%", 3), "%");
  EXPECT_EQ(SubstituteNumber("50%", 3), "50%");
  EXPECT_EQ(SubstituteNumber("%99999999999999999999d", 3), "3") << "a width is not honoured";
  EXPECT_EQ(SubstituteNumber("%*d", 3), "%*d") << "a starred width would read another argument";
  EXPECT_EQ(SubstituteNumber("%1$d", 3), "%1$d");
  const QString longText(100000, u'%');
  EXPECT_EQ(SubstituteNumber(longText, 3).size(), 50000) << "pairs of percent signs are single ones";
}

class HiddenLabelTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetResources(); }
  ui::CLabelUI label;
};

TEST_F(HiddenLabelTest, ResolvesAnIdInTheCurrentLanguage) {
  label.SetVisible(false);
  EXPECT_EQ(ResolveLanguageText(&label, "software_rev_text"), "Software version: ");
  ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
  EXPECT_EQ(ResolveLanguageText(&label, "software_rev_text"), QString::fromUtf8("软件版本："));
}

TEST_F(HiddenLabelTest, AnUnknownIdOrAMissingLabelGivesTheIdItself) {
  EXPECT_EQ(ResolveLanguageText(&label, "message_text_7").isEmpty(), false);
  EXPECT_EQ(ResolveLanguageText(&label, "no_such_id"), "no_such_id") << "not the text the label held before";
  EXPECT_EQ(ResolveLanguageText(nullptr, "message_text_7"), "message_text_7");
}

// Shows the outcome of a macro write and returns the text the message window showed ("" when none).
QString MacroWriteMessage(ui::CControlUI* label, int result) {
  QString shown;
  WhenShown("MsgWnd", [&shown](QWidget* window) {
    shown = qobject_cast<QLabel*>(FindChildNamed(window, "MessageText"))->text();
    Click(window, "confirm_btn");
  });
  EXPECT_TRUE(ShowMacroWriteResult(nullptr, label, 96, result));
  return shown;
}

TEST_F(HiddenLabelTest, EachMacroWriteOutcomeShowsItsMessage) {
  bool shown = false;
  bool watched = false;
  QTimer::singleShot(0, [&] {
    shown = WaitFor([] { return FindTopLevel("MsgWnd") != nullptr; }, 300);
    if (shown) Click(FindTopLevel("MsgWnd"), "confirm_btn");
    watched = true;
  });
  EXPECT_FALSE(ShowMacroWriteResult(nullptr, &label, 96, 0));
  WaitFor([&] { return watched; });
  EXPECT_FALSE(shown) << "a successful write shows nothing";

  EXPECT_EQ(MacroWriteMessage(&label, -1),
            "The macros could not be written to the device. Check the connection and try again.");
  EXPECT_EQ(MacroWriteMessage(&label, 3), "The macros do not fit in the device's memory: remove 3 events and save again.");
  ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
  EXPECT_EQ(MacroWriteMessage(&label, 3), QString::fromUtf8("宏超出设备存储空间：请删除 3 个事件后重新保存。"));
}

TEST_F(HiddenLabelTest, AHostileLanguageFileCannotReachAFormatter) {
  QTemporaryDir dir;
  const QString file = dir.filePath("lan_hostile.xml");
  QFile out(file);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(R"(<Language name="x"><Text id="message_text_16" value="%s%n%x %d %p"/></Language>)");
  out.close();
  ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage(file));
  EXPECT_EQ(MacroWriteMessage(&label, 12), "%s%nc %d %p");
}

}  // namespace
}  // namespace norvane::app::test
