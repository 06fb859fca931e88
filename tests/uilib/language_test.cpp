// Language texts: switching re-texts open windows, unknown ids keep the control's text and are reported once,
// a broken language file keeps the previous texts.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/uilib/ui_test_support.h"

namespace norvane::ui::test {
namespace {

using ::testing::HasSubstr;

class LanguageTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetResources(); }
};

TEST_F(LanguageTest, SwitchingReTextsEveryOpenWindow) {
  RecordingWindow main;
  RecordingWindow msg("XML_MSG");
  ASSERT_TRUE(main.Create(nullptr, "main", false));
  ASSERT_TRUE(msg.Create(nullptr, "msg", false));
  auto* combo = main.FindControlAs<CComboUI>("deng_mode_combo");
  auto* list = main.FindControlAs<CListUI>("profile_list");
  ASSERT_EQ(main.FindControl("tab_lighting")->GetText(), "Lighting");
  ASSERT_EQ(combo->GetItemText(1), "Breathing");

  CResourceManager& rm = CResourceManager::GetInstance();
  rm.SetLanguage("cn");
  ASSERT_TRUE(rm.LoadLanguage("lan_cn.xml"));
  rm.ReloadText();
  EXPECT_EQ(rm.GetLanguage(), "cn");
  EXPECT_EQ(main.FindControl("tab_lighting")->GetText(), QString::fromUtf8("灯光"));
  EXPECT_EQ(combo->GetItemText(1), QString::fromUtf8("呼吸"));
  EXPECT_EQ(list->GetItemText(0), QString::fromUtf8("默认"));
  EXPECT_EQ(msg.FindControl("confirm_btn")->GetText(), QString::fromUtf8("确定"));
  EXPECT_EQ(main.FindControl("status_label")->GetTextId(), "status_connected");
}

TEST_F(LanguageTest, TextIdFromCodeIsResolvedNowAndOnEverySwitch) {
  RecordingWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  CControlUI* label = wnd.FindControl("status_label");
  label->SetResourceText(true);
  label->SetText("message_text_16");
  EXPECT_EQ(label->GetText(), "The macros do not fit in the device's memory: remove %d events and save again.");
  EXPECT_EQ(CDuiString::FormatNumber(label->GetText(), 3), "The macros do not fit in the device's memory: remove 3 events and save again.");
  CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
  CResourceManager::GetInstance().ReloadText();
  EXPECT_EQ(label->GetText(), QString::fromUtf8("宏超出设备存储空间：请删除 %d 个事件后重新保存。"));

  label->SetResourceText(false);
  label->SetText("message_text_16");
  EXPECT_EQ(label->GetText(), "message_text_16") << "without the flag the text is shown as it is";
}

TEST_F(LanguageTest, MissingIdKeepsTheTextAndIsReportedOnce) {
  ScopedSkinDir dir;
  dir.Write("partial.xml",
            "<Language><Text id=\"known\" value=\"Known\"/><Text id=\"body\">Body text</Text></Language>");
  CResourceManager& rm = CResourceManager::GetInstance();
  ASSERT_TRUE(rm.LoadLanguage("partial.xml"));
  EXPECT_EQ(rm.GetText("body").value_or(""), "Body text");

  CLabelUI label;
  label.SetText("skin text");
  label.SetResourceText(true);
  testing::internal::CaptureStderr();
  label.SetText("unknown_id");
  label.SetText("unknown_id");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(label.GetText(), "skin text");
  EXPECT_THAT(err, HasSubstr("unknown_id"));
  EXPECT_EQ(err.find("unknown_id"), err.rfind("unknown_id")) << "reported once";
}

TEST_F(LanguageTest, BrokenLanguageFileKeepsThePreviousTexts) {
  CResourceManager& rm = CResourceManager::GetInstance();
  ScopedSkinDir dir;
  dir.Write("good.xml", "<Language><Text id=\"apply\" value=\"Apply\"/></Language>");
  dir.Write("bad.xml", "<Language><Text id=\"apply\" value=\"Oops\"/><Text");
  dir.Write("wrong.xml", "<Res/>");
  ASSERT_TRUE(rm.LoadLanguage("good.xml"));
  for (const char* file : {"bad.xml", "wrong.xml", "absent.xml"}) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(rm.LoadLanguage(file));
    EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr(file));
    EXPECT_EQ(rm.GetText("apply").value_or(""), "Apply");
  }
}

TEST_F(LanguageTest, QueryInterfaceAnswersFirstAndEmptyAnswersFallThrough) {
  struct Query : IQueryControlText {
    std::optional<CDuiString> QueryControlText(const CDuiString& id) override {
      if (id == "apply") return CDuiString("From code");
      return CDuiString();
    }
  } query;
  CResourceManager& rm = CResourceManager::GetInstance();
  rm.SetTextQueryInterface(&query);
  EXPECT_EQ(rm.GetText("apply").value_or(""), "From code");
  EXPECT_EQ(rm.GetText("reset").value_or(""), "Reset");
  rm.SetTextQueryInterface(nullptr);
}

TEST(FormatNumberTest, OnlyTheFirstConversionTakesTheNumber) {
  EXPECT_EQ(CDuiString::FormatNumber("code %d", -7), "code -7");
  EXPECT_EQ(CDuiString::FormatNumber("%02d%%", 5), "5%");
  EXPECT_EQ(CDuiString::FormatNumber("%X/%d", 255), "FF/%d");
  EXPECT_EQ(CDuiString::FormatNumber("%s %n %p", 1), "1 %n %p") << "no pointer-reading conversion";
  EXPECT_EQ(CDuiString::FormatNumber("trailing %", 1), "trailing %");
}

}  // namespace
}  // namespace norvane::ui::test
