// Building windows from skins: the control factory and the window's own classes, sub-skins, the skin index,
// and bad skins (missing, malformed, unknown classes) that must never stop a window from opening.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>

#include "tests/uilib/ui_test_support.h"
#include "uilib/demo/demo_controls.h"

namespace norvane::ui::test {
namespace {

using ::testing::HasSubstr;

QByteArray Ui(const QByteArray& body) {
  return "<?xml version=\"1.0\"?><ui version=\"4.0\"><class>T</class>"
         "<widget class=\"QWidget\" name=\"root\"><property name=\"geometry\"><rect><x>0</x><y>0</y>"
         "<width>300</width><height>200</height></rect></property>"
         "<layout class=\"QVBoxLayout\" name=\"l\">" +
         body + "</layout></widget></ui>";
}

QByteArray Item(const char* cls, const char* name) {
  return QByteArray("<item><widget class=\"") + cls + "\" name=\"" + name + "\"/></item>";
}

TEST(SkinTest, FactoryBuildsCustomClassesThatLoadTheirOwnSubSkin) {
  RecordingWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  auto* card = wnd.FindControlAs<demo::CDemoStatCardUI>("stat_battery");
  ASSERT_NE(card, nullptr) << "the registered class was built for its skin class name";
  EXPECT_EQ(card->GetClass(), "CDemoStatCardUI");
  ASSERT_NE(card->FindSubControl("stat_value"), nullptr) << "DoInit built the sub-skin into the card";
  EXPECT_EQ(card->FindSubControl("stat_title")->GetText(), "BATTERY") << "sub-skins get their language texts";
  card->SetPercent(55);
  EXPECT_EQ(card->FindSubControl("stat_value")->GetText(), "55%");
  EXPECT_EQ(dynamic_cast<CProgressUI*>(card->FindSubControl("stat_bar"))->GetValue(), 55);
  EXPECT_EQ(card->GetParent()->GetName(), "sidebar");
}

// A program control with skin attributes of its own.
class AttributeLabel : public CLabelUI {
 public:
  void SetAttribute(const CDuiString& name, const CDuiString& value) override {
    attributes[name.toStdString()] = value.toStdString();
  }
  void DoInit() override { attributesAtInit = attributes.size(); }
  std::map<std::string, std::string> attributes;
  size_t attributesAtInit = 0;
};

TEST(SkinTest, ControlsGetTheirSkinAttributesBeforeDoInit) {
  RegistControl<AttributeLabel>("CAttributeLabelUI");
  ScopedSkinDir dir;
  dir.Write("attr.ui", Ui("<item><widget class=\"CAttributeLabelUI\" name=\"attr\">"
                          "<property name=\"lightimage\" stdset=\"0\"><string>light.png</string></property>"
                          "<property name=\"textcolor\" stdset=\"0\"><string>#FF8800</string></property>"
                          "</widget></item>"));
  RecordingWindow wnd("attr.ui");
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  auto* label = wnd.FindControlAs<AttributeLabel>("attr");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->attributes["lightimage"], "light.png");
  EXPECT_EQ(label->attributesAtInit, label->attributes.size());
  EXPECT_EQ(label->GetTextColor(), 0xFFFF8800u);
}

TEST(SkinTest, WindowCreatesClassesTheFactoryDoesNotKnow) {
  ScopedSkinDir dir;
  dir.Write("own.ui", Ui(Item("WindowOnlyWidget", "own_label") + Item("QPushButton", "plain_btn") +
                         Item("StatCardPanel", "panel")));
  dir.Write("card.ui",
            "<ui version=\"4.0\"><widget class=\"QWidget\" name=\"card_root\"><layout class=\"QVBoxLayout\" "
            "name=\"l\"><item><widget class=\"QLabel\" name=\"stat_value\"/></item></layout></widget></ui>");
  dir.Write("res.xml", "<Res><Skin name=\"XML/CustomControlXML/StatCard.xml\" file=\"card.ui\"/></Res>");
  ASSERT_TRUE(CResourceManager::GetInstance().LoadResource("res.xml"));
  RecordingWindow wnd("own.xml");  // a ".xml" name finds the ".ui" file of the same stem
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  ASSERT_FALSE(wnd.SkinFailed());
  EXPECT_NE(wnd.FindControlAs<CLabelUI>("own_label"), nullptr);
  EXPECT_NE(wnd.FindControlAs<CButtonUI>("plain_btn"), nullptr);
  CControlUI* panel = wnd.FindControl("panel");
  ASSERT_NE(panel, nullptr);
  EXPECT_NE(CPaintManagerUI::FindSubControlByName(panel, "stat_value"), nullptr)
      << "a control the window made from a sub-skin while the window was being built";
}

TEST(SkinTest, UnknownClassIsReportedAndReplacedAndTheRestStillBuilds) {
  ScopedSkinDir dir;
  dir.Write("odd.ui", Ui(Item("CNoSuchControlUI", "mystery") + Item("QPushButton", "ok_btn")));
  RecordingWindow wnd("odd.ui");
  testing::internal::CaptureStderr();
  ASSERT_TRUE(wnd.Create(nullptr, "w", true));
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_THAT(err, HasSubstr("CNoSuchControlUI"));
  EXPECT_THAT(err, HasSubstr("mystery"));
  EXPECT_NE(wnd.FindControlAs<CContainerUI>("mystery"), nullptr);
  EXPECT_NE(wnd.FindControl("ok_btn"), nullptr);
}

TEST(SkinTest, MissingSkinOpensAnEmptyWindowAndNamesTheSkin) {
  RecordingWindow wnd("XML_NOT_THERE");
  testing::internal::CaptureStderr();
  ASSERT_TRUE(wnd.Create(nullptr, "w", true));
  EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr("XML_NOT_THERE"));
  EXPECT_TRUE(wnd.SkinFailed());
  EXPECT_NE(wnd.FindControl("root"), nullptr);
  EXPECT_EQ(wnd.FindControl("apply_btn"), nullptr);
  EXPECT_TRUE(WaitFor([&] { return !wnd.Of("windowinit").empty(); })) << "the window still starts up";
}

TEST(SkinTest, MalformedSkinsAreReportedWithTheirFile) {
  ScopedSkinDir dir;
  dir.Write("broken.ui",
            "<?xml version=\"1.0\"?><ui version=\"4.0\"><widget class=\"QWidget\" name=\"root\">");
  dir.Write("empty.ui", "");
  dir.Write("binary.ui", QByteArray("\x00\xff\xfe<ui", 7));
  for (const char* name : {"broken.ui", "empty.ui", "binary.ui"}) {
    RecordingWindow wnd(name);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(wnd.Create(nullptr, "w", false));
    EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr(name));
    EXPECT_TRUE(wnd.SkinFailed()) << name;
  }
}

TEST(SkinTest, SkinIndexMapsProgramNamesWithEitherSlash) {
  CResourceManager& rm = CResourceManager::GetInstance();
  const QString card = rm.ResolveSkinFile("XML\\CustomControlXML\\StatCard.xml");
  EXPECT_TRUE(card.endsWith("demo/stat_card.ui")) << card.toStdString();
  EXPECT_EQ(rm.ResolveSkinFile("XML/CustomControlXML/StatCard.xml"), card);
  EXPECT_EQ(rm.ResolveSkinFile("xml_demo"), rm.ResolveSkinFile("XML_DEMO"));
  EXPECT_TRUE(rm.ResolveSkinFile("XML_NOT_THERE").isEmpty());
  EXPECT_TRUE(rm.ResolveSkinFile("").isEmpty());
}

TEST(SkinTest, BrokenSkinIndexIsReportedAndNamesStillResolveAsPaths) {
  ScopedSkinDir dir;
  dir.Write("res.xml", "<Res><Skin name=\"A\" file=\"a.ui\"/><Skin name=");
  dir.Write("a.ui", Ui(Item("QPushButton", "a_btn")));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(CResourceManager::GetInstance().LoadResource("res.xml"));
  EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr("res.xml"));
  EXPECT_FALSE(CResourceManager::GetInstance().ResolveSkinFile("a.ui").isEmpty());
}

TEST(SkinTest, ContainerAddsAndRemovesControlsFromCode) {
  RecordingWindow wnd;
  ASSERT_TRUE(wnd.Create(nullptr, "w", false));
  auto* panel = wnd.FindControlAs<CContainerUI>("profile_buttons");
  ASSERT_NE(panel, nullptr);
  const int before = panel->GetCount();
  auto* card = new demo::CDemoStatCardUI();
  card->SetName("added_card");
  ASSERT_TRUE(panel->Add(card));
  EXPECT_EQ(panel->GetCount(), before + 1);
  EXPECT_NE(card->FindSubControl("stat_value"), nullptr) << "a control added to a window gets its DoInit";
  EXPECT_EQ(wnd.FindControl("added_card"), card);
  EXPECT_TRUE(panel->Remove(card));
  EXPECT_EQ(wnd.FindControl("added_card"), nullptr);
  EXPECT_FALSE(panel->Add(nullptr));
  EXPECT_FALSE(panel->Remove(wnd.FindControl("apply_btn"))) << "only direct children are removed";
}

}  // namespace
}  // namespace norvane::ui::test
