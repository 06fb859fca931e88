// Languages in the running program: a choice in the settings window switches every open window at once
// and is kept for the next start; a switch to the current language does nothing; a language list that is
// missing or shorter than the choice changes nothing; the font table's face follows the language and
// always draws Chinese characters. Also where the settings window opens.

#include <QFontDatabase>
#include <QLabel>
#include <QScreen>

#include "app/about_wnd.h"
#include "app/language_config.h"
#include "app/language_fonts.h"
#include "app/set_wnd.h"
#include "app/set_wnd_opener.h"
#include "platform/xdg_paths.h"
#include "tests/app/main_window_fixture.h"
#include "uilib/combo.h"
#include "uilib/font_table.h"

namespace norvane::app::test {
namespace {

// The update work of these windows asks no service.
update::UpdateServices QuietServices() {
  update::UpdateServices services;
  services.sleeper = update::MakeRealSleeper();
  services.timeFile = TestHome() / "updatetime.config";
  services.downloadFolder = TestHome() / "UpdateData";
  services.today = [] { return std::string("2024-3-5"); };
  return services;
}

class LanguageSwitchTest : public MainWindowTest {
 protected:
  // Starts the main window with the program's own settings window.
  void StartWithSettings() {
    MainWndHooks hooks = Hooks();
    hooks.openSettingsWindow = [](CMainWnd& window, bool centred) {
      RunSettingsWindow(window, centred, [] { return QuietServices(); });
    };
    window_ = std::make_unique<CMainWnd>(Options(), std::move(hooks));
    ASSERT_TRUE(window_->Create(nullptr, "language-test", false, 0, 0, 800, 572));
    ASSERT_TRUE(QTest::qWaitFor([&] { return devices_ != nullptr && devices_->scansStarted == 1; }, 3000));
    FinishFirstPassAndWaitShown();
  }

  static QString LabelText(ui::CWindowWnd* window, const char* name) {
    auto* impl = dynamic_cast<ui::WindowImplBase*>(window);
    ui::CControlUI* control = impl ? impl->FindControl(name) : nullptr;
    return control ? control->GetText() : QString("<missing %1>").arg(name);
  }

  std::filesystem::path Key() const { return settings_ / "registry.ini"; }

  void TearDown() override {
    SetDefaultDataFolderOverride(NORVANE_SOURCE_DIR "/DefaultData");
    MainWindowTest::TearDown();
    ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml");
  }
};

TEST_F(LanguageSwitchTest, AChoiceInTheSettingsWindowSwitchesEveryOpenWindowAndIsKept) {
  StartWithSettings();
  ASSERT_EQ(window_->LanguageIndex(), 0);
  ASSERT_FALSE(std::filesystem::exists(Key()));
  QString mainText, aboutText, settingsText, settingsCombo;
  QStringList labelFamilies;
  bool done = false;
  QTimer::singleShot(0, [&] {
    // The about window, and over it the settings window, both open when the user chooses.
    QTimer::singleShot(200, [&] {
      CAboutWnd* about = dynamic_cast<CAboutWnd*>(CAboutWnd::Current().GetWindow());
      ASSERT_NE(about, nullptr);
      QTimer::singleShot(200, [&, about] {
        QWidget* host = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
          if (top->objectName() == "SetWnd" && top->isVisible()) host = top;
        ASSERT_NE(host, nullptr);
        auto* combo = dynamic_cast<ui::CComboUI*>(host->findChild<QWidget*>("Language_combox_info"));
        ASSERT_NE(combo, nullptr);
        combo->SelectItem(1, false, true);  // as the user chooses Chinese
        mainText = LabelText(window_.get(), "no_device_title");
        aboutText = LabelText(about, "about_title");
        settingsText = host->findChild<QLabel*>("setwnd_title")->text();
        settingsCombo = combo->currentText();
        labelFamilies = window_->FindControl("no_device_title")->GetWidget()->font().families();
        QTest::mouseClick(host->findChild<QWidget*>("closebtn"), Qt::LeftButton);
        QTimer::singleShot(100, [&, about] {
          about->Close(0);
          done = true;
        });
      });
      window_->OnMenuCommand(ui::MenuCmd{"setwnd_menu", {}, {}, false});
    });
    window_->OnMenuCommand(ui::MenuCmd{"about_menu", {}, {}, false});
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 8000));
  EXPECT_EQ(mainText, QString::fromUtf8("未连接设备"));
  EXPECT_EQ(aboutText, QString::fromUtf8("关于"));
  EXPECT_EQ(settingsText, QString::fromUtf8("设置"));
  EXPECT_EQ(settingsCombo, QString::fromUtf8("简体中文"));
  EXPECT_EQ(window_->LanguageIndex(), 1);
  ASSERT_FALSE(labelFamilies.isEmpty());
  EXPECT_EQ(labelFamilies, FamiliesForFace(FaceForLanguage(2052))) << "the face follows the language";
  EXPECT_EQ(RegistrySettings(Key()).ReadValue(kLanguageValueName).value, 2052u) << "the choice is kept";

  // The next start comes up in the chosen language.
  window_.reset();
  devices_ = nullptr;  // the next window's device side, once it starts
  Start();
  EXPECT_EQ(window_->LanguageIndex(), 1);
  EXPECT_EQ(LabelText(window_.get(), "no_device_title"), QString::fromUtf8("未连接设备"));
}

TEST_F(LanguageSwitchTest, SwitchingToTheCurrentLanguageDoesNothing) {
  ASSERT_TRUE(RegistrySettings(Key()).CreateKeyIfMissing().ok);
  Start();
  auto* label = dynamic_cast<QLabel*>(window_->FindControl("no_device_title")->GetWidget());
  label->setText("marker");  // a reload of the texts would put the language's text back
  const int rebuilds = ui::CFontTable::RebuildCount();
  std::filesystem::remove(Key());
  window_->SwitchLanguage(0);
  EXPECT_EQ(label->text(), "marker");
  EXPECT_EQ(ui::CFontTable::RebuildCount(), rebuilds);
  EXPECT_FALSE(std::filesystem::exists(Key()));
}

TEST_F(LanguageSwitchTest, AMissingOrShortLanguageListKeepsTheTextsAndTheSavedChoice) {
  ASSERT_TRUE(RegistrySettings(Key()).CreateKeyIfMissing().ok);
  ASSERT_TRUE(RegistrySettings(Key()).WriteValue(kLanguageValueName, 2052).ok);
  Start();
  ASSERT_EQ(window_->LanguageIndex(), 1);
  const QString chinese = LabelText(window_.get(), "no_device_title");
  ASSERT_EQ(chinese, QString::fromUtf8("未连接设备"));

  window_->SwitchLanguage(5);  // past the list
  EXPECT_EQ(LabelText(window_.get(), "no_device_title"), chinese);
  EXPECT_EQ(window_->LanguageIndex(), 1);

  norvane::testing::TempFolder empty;
  SetDefaultDataFolderOverride(empty.path());  // no "Language.config" at all
  window_->SwitchLanguage(0);
  EXPECT_EQ(LabelText(window_.get(), "no_device_title"), chinese);
  EXPECT_EQ(window_->LanguageIndex(), 1);
  EXPECT_EQ(RegistrySettings(Key()).ReadValue(kLanguageValueName).value, 2052u) << "nothing saved over the choice";

  norvane::testing::WriteText(empty / "Language.config",
                              R"({"Language": [{"Language_ID": 520, "Language_file": "lan_missing.xml"}]})");
  window_->SwitchLanguage(0);  // a language whose texts cannot be read
  EXPECT_EQ(LabelText(window_.get(), "no_device_title"), chinese);
  EXPECT_EQ(RegistrySettings(Key()).ReadValue(kLanguageValueName).value, 2052u);
}

TEST_F(LanguageSwitchTest, FromTheSettingsButtonItOpensBesideIt) {
  StartWithSettings();
  QTest::qWait(300);  // the start-up's scaling has placed the main window
  QRect settings, main;
  QTimer::singleShot(300, [&] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->objectName() != "SetWnd" || !top->isVisible()) continue;
      settings = top->frameGeometry();
      main = window_->GetWidget()->frameGeometry();
      top->close();  // the window manager's close: nothing runs, so it closes
    }
  });
  Click("setbtn");
  ASSERT_TRUE(QTest::qWaitFor([&] { return settings.isValid(); }, 3000));
  const double scale = window_->GetDPI() / 96.0;
  EXPECT_EQ(settings.right(), main.right() - int(30 * scale + 0.5));
  EXPECT_EQ(settings.top(), main.top() + int(60 * scale + 0.5));
}

TEST(LanguageRulesTest, TheFontTableIsRebuiltAroundTheFirstLanguagesOnly) {
  EXPECT_FALSE(NeedsFontRebuild(4, 3));
  EXPECT_TRUE(NeedsFontRebuild(4, 2));
  EXPECT_TRUE(NeedsFontRebuild(0, 5));
  EXPECT_TRUE(NeedsFontRebuild(2, 5));
  EXPECT_TRUE(NeedsFontRebuild(15, 5));
  EXPECT_TRUE(NeedsFontRebuild(5, 15));
  EXPECT_TRUE(NeedsFontRebuild(1, -1)) << "the first switch at start";
  EXPECT_TRUE(NeedsFontRebuild(1, 0));
  EXPECT_FALSE(NeedsFontRebuild(1, 3));
}

TEST(LanguageRulesTest, EveryFaceDrawsChineseCharacters) {
  for (const std::int64_t id : {520, 2052, 1028, 1054, 1033}) {
    const QStringList families = FamiliesForFace(FaceForLanguage(id));
    ASSERT_FALSE(families.isEmpty()) << id;
    const bool chinese = std::any_of(families.begin(), families.end(), [](const QString& family) {
      return QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese);
    });
    EXPECT_TRUE(chinese) << id << ": " << families.join(", ").toStdString();
  }
  EXPECT_EQ(FaceForLanguage(2052), "汉仪菱心体简");
  EXPECT_EQ(FaceForLanguage(520), "Verdana Unicode MS");
}

TEST(LanguageRulesTest, AKeyWithoutTheValueLooksUpId520) {
  norvane::testing::TempFolder folder;
  const RegistrySettings settings(folder / "registry.ini");
  ASSERT_TRUE(settings.CreateKeyIfMissing().ok);
  const std::vector<LanguageEntry> entries = {{1033, "English (US)", "lan_en.xml", "language_english"},
                                              {520, "English", "lan_en.xml", "language_english"}};
  EXPECT_EQ(SavedLanguageIndex(settings, entries), 1);
}

}  // namespace
}  // namespace norvane::app::test
