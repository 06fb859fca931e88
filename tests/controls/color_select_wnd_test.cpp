// The colour chooser as the user drives it, in its shipped skin: the red, green and blue fields, presets and
// favourite slots with what reaches the swatch file, the colour cycle, the DPI, and every way it ends,
// none of which may end the program.

#include "controls/color_select_wnd.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "platform/trace.h"
#include "profiles/json_file_util.h"
#include "tests/support/temp_folder.h"
#include "uilib/option.h"
#include "uilib/resource_manager.h"
#include "uilib/window_host.h"

namespace norvane::controls::test {
namespace {

namespace fs = std::filesystem;
const fs::path kShipped = NORVANE_SOURCE_DIR "/DefaultData/color_option_info.config";

QWidget* OpenChooser() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == "ColorSelectWnd" && w->isVisible()) return w;
  }
  return nullptr;
}

// Runs `wnd` modally and `action` inside its loop once it shows; a window the action left open is ended with
// -5, so that a failed expectation never hangs the test.
int RunModal(ui::CWindowWnd& wnd, std::function<void(QWidget*)> action) {
  QTimer::singleShot(0, [&wnd, action = std::move(action)] {
    if (QTest::qWaitFor([] { return OpenChooser() != nullptr; }, 2000)) {
      QWidget* window = OpenChooser();
      window->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(window));
      action(window);
    }
    if (wnd.IsWindowVisible()) wnd.Close(-5);
  });
  return wnd.ShowModal();
}

// A chooser that a failed step left open is ended with -5, so that the test goes on.
void EndIfStillOpen() {
  auto* host = dynamic_cast<ui::detail::WindowHost*>(OpenChooser());
  if (host && host->Owner()) host->Owner()->Close(-5);
}

template <class T = QWidget>
T* Child(QWidget* window, const char* name) {
  T* child = window->findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

ui::COptionUI* Option(QWidget* window, const std::string& name) {
  return dynamic_cast<ui::COptionUI*>(ui::ControlOf(Child(window, name.c_str())));
}

// Types into a channel field and leaves it for the next one, as the user does.
void Type(QWidget* window, const char* field, const char* text, const char* next) {
  auto* edit = Child<QLineEdit>(window, field);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
  Child(window, next)->setFocus();
}

Json::Value Favourites(const fs::path& file) {
  return JsonFileUtil().ReadJsonValue(file)["coloroptioninfo"]["palletDialogcollectcoloroption"];
}

class ColorSelectWndTest : public ::testing::Test {
 protected:
  fs::path User() const { return folder_.path() / "color_option_info.config"; }
  // A chooser on this test's own swatch file.
  std::unique_ptr<CColorSelectWnd> Create() const {
    auto wnd = std::make_unique<CColorSelectWnd>(swatches::SwatchFile(User(), kShipped));
    EXPECT_TRUE(wnd->Create(nullptr, "PalletDialog", false, 0, 0, 800, 572));
    return wnd;
  }

  testing::TempFolder folder_;
};

TEST_F(ColorSelectWndTest, TypedChannelsMakeTheColourAndFillTheSelectedEmptySlot) {
  auto wnd = Create();
  wnd->SetColor(0xFF0000FFu);
  const int code = RunModal(*wnd, [&](QWidget* window) {
    ui::COptionUI* slot = Option(window, "collect_color_option_2");
    QTest::mouseClick(slot->GetWidget(), Qt::LeftButton);
    EXPECT_EQ(wnd->GetFavouriteIndex(), 2);
    EXPECT_EQ(wnd->GetColor(), 0xFF0000FFu) << "an empty slot changes nothing until a colour is picked";
    EXPECT_EQ(slot->GetUserData(), "");
    EXPECT_EQ(slot->GetBkColor(), 0xFFFFFFFFu);
    Type(window, "color_edit_r", "18", "color_edit_g");
    Type(window, "color_edit_g", "52", "color_edit_b");
    Type(window, "color_edit_b", "86", "color_edit_r");
    EXPECT_EQ(wnd->GetColor(), 0xFF123456u);
    EXPECT_EQ(slot->GetBkColor(), 0xFF123456u);
    EXPECT_EQ(slot->GetUserData(), "1");
    QTest::mouseClick(Child(window, "okbtn"), Qt::LeftButton);
  });
  EXPECT_EQ(code, kColorChosen);
  EXPECT_EQ(wnd->GetColor(), 0xFF123456u);
  EXPECT_EQ(Favourites(User())[2]["color"], "FF123456");
  EXPECT_EQ(Favourites(User())[2]["UserData"], "1");
  EXPECT_EQ(Favourites(User())[1]["UserData"], "") << "the other slots stay empty";
}

TEST_F(ColorSelectWndTest, ChannelTextsAreMendedWhenTheFieldIsLeft) {
  auto wnd = Create();
  RunModal(*wnd, [&](QWidget* window) {
    Type(window, "color_edit_r", "300", "color_edit_g");
    Type(window, "color_edit_g", "-5", "color_edit_b");
    Type(window, "color_edit_b", "12abc", "color_edit_r");
    EXPECT_EQ(Child<QLineEdit>(window, "color_edit_r")->text(), "255");
    EXPECT_EQ(Child<QLineEdit>(window, "color_edit_g")->text(), "0");
    EXPECT_EQ(Child<QLineEdit>(window, "color_edit_b")->text(), "12");
    EXPECT_EQ(wnd->GetColor(), 0xFFFF000Cu) << "no channel spills into its neighbour";
  });
}

TEST_F(ColorSelectWndTest, PresetIntoAFavouriteIsStoredAndComesBackNextTime) {
  auto first = Create();
  RunModal(*first, [&](QWidget* window) {
    QTest::mouseClick(Option(window, "collect_color_option_0")->GetWidget(), Qt::LeftButton);
    QTest::mouseClick(Option(window, "color_option_4")->GetWidget(), Qt::LeftButton);  // opaque green
    EXPECT_EQ(first->GetColor(), 0xFF00FF00u);
    EXPECT_EQ(Child<QLineEdit>(window, "color_edit_g")->text(), "255");
  });
  EXPECT_EQ(Favourites(User())[0]["color"], "FF00FF00");
  EXPECT_EQ(JsonFileUtil().ReadJsonValue(User())["coloroptioninfo"]["palletDialogcoloroption_selectitem"], 4);

  auto second = Create();
  second->SetColor(0xFF000000u);
  const int code = RunModal(*second, [&](QWidget* window) {
    ui::COptionUI* slot = Option(window, "collect_color_option_0");
    EXPECT_EQ(slot->GetUserData(), "1");
    EXPECT_EQ(slot->GetBorderSize(), 0);
    EXPECT_EQ(second->GetFavouriteIndex(), -1) << "no slot is selected at the start";
    QTest::mouseClick(slot->GetWidget(), Qt::LeftButton);
    QTest::mouseClick(Child(window, "okbtn"), Qt::LeftButton);
  });
  EXPECT_EQ(code, kColorChosen);
  EXPECT_EQ(second->GetColor(), 0xFF00FF00u) << "the stored colour was shown and confirmed";
}

TEST_F(ColorSelectWndTest, ColourCycleShowsItsImageUntilAColourIsPicked) {
  auto wnd = Create();
  wnd->ShowSevenColor(1);
  RunModal(*wnd, [&](QWidget* window) {
    const ui::CControlUI* preview = ui::ControlOf(Child(window, "color_show_btn"));
    auto* cycle = Child<QCheckBox>(window, "7color");
    QTest::mouseClick(cycle, Qt::LeftButton);
    EXPECT_EQ(wnd->GetSevenColor(), 1);
    EXPECT_EQ(preview->GetBkImage(), "common/base1.png");
    QTest::mouseClick(Option(window, "color_option_0")->GetWidget(), Qt::LeftButton);
    EXPECT_EQ(wnd->GetSevenColor(), 0) << "a preset is one colour again";
    EXPECT_EQ(preview->GetBkImage(), "");
    EXPECT_FALSE(cycle->isChecked());
    wnd->SetSevenColor(1);
    wnd->ShowSevenColor(0);
    EXPECT_FALSE(cycle->isChecked()) << "hiding unselects it";
    EXPECT_FALSE(Child(window, "7color_layout")->isVisible());
  });
}

TEST_F(ColorSelectWndTest, DpiIsASupportedStepOrNinetySix) {
  std::vector<std::string> traces;
  const bool wasEnabled = TraceEnabled();
  SetTraceEnabled(true);
  const TraceSink old = SetTraceSink([&](std::string_view line) { traces.emplace_back(line); });
  auto wnd = Create();
  EXPECT_EQ(wnd->GetWindowDpi(), 96);
  wnd->SetWindowDpi(144);
  EXPECT_EQ(wnd->GetWindowDpi(), 144);
  EXPECT_EQ(wnd->GetWidget()->width(), 1200);
  wnd->SetWindowDpi(100);
  EXPECT_EQ(wnd->GetWindowDpi(), 96);
  EXPECT_EQ(wnd->GetPaintManager().GetDPI(), 96);
  const std::size_t tracedOnce = traces.size();
  wnd->SetWindowDpi(96);
  SetTraceSink(old);
  SetTraceEnabled(wasEnabled);
  EXPECT_EQ(std::count(traces.begin(), traces.end(), "SET_WND DPI SET ERROR"), 1);
  EXPECT_EQ(traces.size(), tracedOnce) << "the same value again does nothing";
}

TEST_F(ColorSelectWndTest, EveryWayOfClosingGivesNothingAndTheProgramGoesOn) {
  int lastWindowClosed = 0, quitting = 0;
  QObject::connect(qApp, &QApplication::lastWindowClosed, [&] { ++lastWindowClosed; });
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&] { ++quitting; });
  std::vector<std::optional<std::uint32_t>> results;
  int systemClose = -1;
  QEventLoop program;  // stands for the program's loop: a quit would end it early with 0
  const std::vector<std::function<void(QWidget*)>> ends{
      [](QWidget* window) { QTest::mouseClick(Child(window, "closebtn"), Qt::LeftButton); },
      [](QWidget* window) { QTest::mouseClick(Child(window, "laterbtn"), Qt::LeftButton); },
      [](QWidget* window) { window->close(); },  // the window manager's close
      [](QWidget* window) { QTest::mouseClick(Child(window, "okbtn"), Qt::LeftButton); },
  };
  QTimer::singleShot(0, [&] {
    for (const auto& end : ends) {
      QTimer::singleShot(0, [end] {
        if (QTest::qWaitFor([] { return OpenChooser() != nullptr; }, 2000)) end(OpenChooser());
        EndIfStillOpen();
      });
      results.push_back(ChooseColour(nullptr, 96, 0xFF336699u));
    }
    // Alt+F4 and the system menu's close.
    auto wnd = Create();
    systemClose = RunModal(*wnd, [&](QWidget*) { wnd->SendMessage(ui::WM_SYSCOMMAND, ui::SC_CLOSE, 0); });
    QTimer::singleShot(100, [&] { program.exit(42); });
  });
  EXPECT_EQ(program.exec(), 42) << "the program's loop kept running";
  ASSERT_EQ(results.size(), 4u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(results[i]) << i;
  EXPECT_EQ(results[3], 0xFF336699u) << "the chooser still opens and confirms after being closed";
  EXPECT_EQ(systemClose, kColorClosed);
  EXPECT_EQ(lastWindowClosed, 0);
  EXPECT_EQ(quitting, 0);
}

TEST_F(ColorSelectWndTest, EveryTextOfTheSkinIsInBothLanguages) {
  auto wnd = Create();
  ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
  for (const char* language : {"lan_en.xml", "lan_cn.xml"}) {
    ASSERT_TRUE(resources.LoadLanguage(language));
    for (const QWidget* widget : wnd->GetWidget()->findChildren<QWidget*>()) {
      for (const char* property : {"textid", "tooltipid"}) {
        const QString id = widget->property(property).toString();
        if (!id.isEmpty()) {
          EXPECT_TRUE(resources.GetText(id)) << language << ": " << id.toStdString();
        }
      }
    }
  }
  resources.LoadLanguage("lan_en.xml");
}

class PaletteLessWnd : public CColorSelectWnd {
 public:
  using CColorSelectWnd::CColorSelectWnd;
  ui::CDuiString GetSkinFile() const override {
    return NORVANE_SOURCE_DIR "/tests/controls/pallet_without_palette.ui";
  }
};

TEST_F(ColorSelectWndTest, ConfirmWithoutAPaletteSaysSo) {
  PaletteLessWnd wnd(swatches::SwatchFile(User(), kShipped));
  ASSERT_TRUE(wnd.Create(nullptr, "PalletDialog", false));
  EXPECT_EQ(RunModal(wnd, [](QWidget* window) { QTest::mouseClick(Child(window, "okbtn"), Qt::LeftButton); }),
            kColorChosenWithoutPalette);
}

TEST_F(ColorSelectWndTest, TitleButtonsAndLanguageSwitch) {
  auto wnd = Create();
  RunModal(*wnd, [&](QWidget* window) {
    QTest::mouseClick(Child(window, "maxbtn"), Qt::LeftButton);
    EXPECT_FALSE(Child(window, "maxbtn")->isVisible());
    EXPECT_TRUE(Child(window, "restorebtn")->isVisible());
    QTest::mouseClick(Child(window, "restorebtn"), Qt::LeftButton);
    EXPECT_TRUE(Child(window, "maxbtn")->isVisible());
    ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
    wnd->SendMessage(kColorSelectLanguageChanged, 0, 0);
    EXPECT_EQ(Child<QLabel>(window, "pallet_title")->text(), QString::fromUtf8("选择颜色"));
    ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml");
  });
}

}  // namespace
}  // namespace norvane::controls::test
