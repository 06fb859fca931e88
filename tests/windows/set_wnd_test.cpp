// The settings window: its size and language list, a chosen language handed to the main window and kept,
// the update list as the user sees it (status line, rows, the update button and its confirmation), the
// installers' reports, and a window that stays while an update is under way.

#include "app/set_wnd.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <map>
#include <mutex>

#include "app/main_messages.h"
#include "app/update_info_list_item.h"
#include "platform/trace.h"
#include "platform/xdg_paths.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/windows_test_support.h"
#include "uilib/combo.h"
#include "update/update_query.h"

namespace norvane::app::test {
namespace {

namespace fs = std::filesystem;

// Stands in for the main window: records what the settings window sends it.
class RecordingMain final : public ui::CWindowWnd {
 public:
  ui::CDuiString GetWindowClassName() const override { return "RecordingMain"; }
  ui::LRESULT HandleMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam) override {
    received.emplace_back(msg, wParam);
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
  }
  int Count(ui::UINT msg) const {
    return static_cast<int>(std::count_if(received.begin(), received.end(), [&](const auto& m) { return m.first == msg; }));
  }
  std::vector<std::pair<ui::UINT, ui::WPARAM>> received;
};

class Pauseless final : public update::ISleeper {
 public:
  bool SleepFor(std::chrono::milliseconds, std::stop_token stop) override { return !stop.stop_requested(); }
};

class OpeningInstaller final : public update::IInstallerRunner {
 public:
  update::InstallerRun Run(const fs::path&, std::stop_token) override { return {true, false, 0, {}}; }
  bool Open(const fs::path&) override { return true; }
};

update::UpdateEntry Mouse() {
  return update::UpdateEntry{1, 1, 0x0102, "VEXOR", "ZR204A", "MS", "MS", ""};
}
update::UpdateEntry Program() {
  return update::UpdateEntry{0, 1, 105, "VEXOR", "ALL", "TQ80_BX2_BX1", "AP", "P2000"};
}

class SetWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaultDataFolderOverride(NORVANE_SOURCE_DIR "/DefaultData");
    ASSERT_TRUE(main_.Create(nullptr, "main", false));
  }
  void TearDown() override {
    SetDefaultDataFolderOverride({});
    ResetResources();
  }

  // Answers by app key; keys without an answer are unreachable.
  CSetWnd::Setup MakeSetup(std::map<std::string, std::string> answers, bool configured = true) {
    CSetWnd::Setup setup;
    setup.mainWindow = main_.GetHWND();
    setup.languageIndex = 0;
    setup.entries = {Mouse(), Program()};
    setup.settingsFile = folder_ / "config" / "registry.ini";
    const fs::path folder = folder_.path();
    setup.services = [answers, configured, folder] {
      update::UpdateServices services;
      services.updatesUrl = configured ? "http://service.invalid/api/updates" : "";
      services.check = [answers](const std::string&, std::string_view key, std::int32_t version, bool hex,
                                 std::stop_token) {
        const auto it = answers.find(std::string(key));
        if (it == answers.end()) {
          update::UpdateInfo unreachable;
          unreachable.name = std::string(update::kNoLinkServer);
          return unreachable;
        }
        return update::ReadUpdateAnswer(it->second, version, hex);
      };
      services.download = [](std::string_view, const fs::path&, const update::DownloadProgress& progress,
                             std::stop_token) {
        progress(2048, 1024);
        progress(2048, 2048);
        return update::DownloadResult{true, false, 2048, 2048, {}};
      };
      services.installer = std::make_shared<OpeningInstaller>();
      services.sleeper = std::make_shared<Pauseless>();
      services.downloadFolder = folder / "UpdateData";
      services.timeFile = folder / "updatetime.config";
      services.today = [] { return std::string("2024-3-5"); };
      return services;
    };
    return setup;
  }

  static QString Text(QWidget* window, const char* name) {
    QWidget* w = FindChildNamed(window, name);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return {};
  }
  norvane::testing::TempFolder folder_;
  RecordingMain main_;
};

// The settings window running now (tests drive it from inside its modal run).
CSetWnd* g_running = nullptr;

int RunWindow(CSetWnd::Setup setup, bool centred = true) {
  const int code = CSetWnd::Run(nullptr, centred, std::move(setup), [](CSetWnd& wnd) { g_running = &wnd; });
  g_running = nullptr;
  return code;
}

CSetWnd* Running() {
  return g_running;
}

TEST_F(SetWndTest, OpensAt630By500WithTheLanguagesAndTheCurrentOneChosen) {
  QSize size;
  QStringList languages;
  int chosen = -2;
  WhenShown("SetWnd", [&](QWidget* window) {
    size = window->size();
    auto* combo = qobject_cast<QComboBox*>(FindChildNamed(window, "Language_combox_info"));
    WaitFor([&] { return combo && combo->count() > 0; });
    for (int i = 0; combo && i < combo->count(); ++i) languages << combo->itemText(i);
    chosen = combo ? combo->currentIndex() : -3;
    Click(window, "closebtn");
  });
  CSetWnd::Setup setup = MakeSetup({});
  setup.languageIndex = 1;
  EXPECT_EQ(RunWindow(std::move(setup)), 0);
  EXPECT_EQ(size, QSize(630, 500));
  EXPECT_EQ(languages, (QStringList{"English", QString::fromUtf8("简体中文")}));
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(main_.Count(kMsgSwitchLanguage), 0) << "showing the current language chose nothing";
}

TEST_F(SetWndTest, AChosenLanguageGoesToTheMainWindowAndItsKeyIsCreated) {
  const fs::path key = folder_ / "config" / "registry.ini";
  WhenShown("SetWnd", [&](QWidget* window) {
    auto* combo = dynamic_cast<ui::CComboUI*>(FindChildNamed(window, "Language_combox_info"));
    ASSERT_NE(combo, nullptr);
    WaitFor([&] { return combo->GetCount() > 0; });
    // Nothing chosen is no language.
    combo->ClearSelection();
    ui::TNotifyUI none{ui::DUI_MSGTYPE_ITEMSELECT, combo, ui::WPARAM(-1), 0};
    Running()->Notify(none);
    EXPECT_EQ(main_.Count(kMsgSwitchLanguage), 0);
    EXPECT_FALSE(fs::exists(key));

    combo->SelectItem(1, false, true);  // as the user chooses it
    Click(window, "closebtn");
  });
  EXPECT_EQ(RunWindow(MakeSetup({})), 0);
  ASSERT_EQ(main_.Count(kMsgSwitchLanguage), 1);
  const auto sent = std::find_if(main_.received.begin(), main_.received.end(),
                                 [](const auto& m) { return m.first == kMsgSwitchLanguage; });
  EXPECT_EQ(sent->second, 1u);
  EXPECT_TRUE(fs::exists(key)) << "the choice can be kept";
}

TEST_F(SetWndTest, TheStatusLineSaysWhatTheCheckFound) {
  struct Case {
    std::map<std::string, std::string> answers;
    bool configured;
    QString status;
  };
  const Case cases[] = {
      {{}, true, "The update service cannot be reached. Check the network connection."},
      {{}, false, "No update service is set up, so updates cannot be looked for."},
      {{{"VEXOR_1_ZR204A_MS_1", R"({"name":"MS","version":"0102"})"}}, true,
       "Everything is up to date. Last checked: 2024-3-5"},
      {{{"VEXOR_1_ZR204A_MS_1", R"({"name":"MS","version":"0103"})"}}, true, "New versions are available."},
  };
  for (const Case& c : cases) {
    QString status;
    bool ringShown = true, imageShown = false;
    main_.received.clear();
    WhenShown("SetWnd", [&](QWidget* window) {
      WaitFor([&] { return Running()->PageCode() > update::kStatusChecking; });
      status = Text(window, "Update_Status_text");
      ringShown = !FindChildNamed(window, "update_status_ring")->isHidden();
      imageShown = !FindChildNamed(window, "update_status_image")->isHidden();
      Click(window, "closebtn");
    });
    EXPECT_EQ(RunWindow(MakeSetup(c.answers, c.configured)), 0);
    EXPECT_EQ(status, c.status);
    EXPECT_FALSE(ringShown);
    EXPECT_TRUE(imageShown);
    EXPECT_EQ(main_.Count(kMsgClearUpdateBadge), c.status.startsWith("Everything") ? 1 : 0);
  }
}

TEST_F(SetWndTest, RowsShowTheItemsAndTheUpdateButtonFollowsTheChecks) {
  QString name, current, newer, state;
  bool buttonShown = false, buttonAfterUncheck = true, buttonAgain = false;
  int page = -1, pageAfterStart = -1;
  bool buttonEnabledAfterStart = true;
  WhenShown("SetWnd", [&](QWidget* window) {
    ASSERT_TRUE(WaitFor([&] { return Running()->PageCode() == update::kStatusHaveUpdate; }));
    QApplication::processEvents();
    auto* list = dynamic_cast<ui::CListUI*>(FindChildNamed(window, "device_update_list_info"));
    ASSERT_EQ(list->GetCount(), 2);
    auto* row = dynamic_cast<CUpdateInfoListItemUI*>(list->GetItemControl(0));
    ASSERT_NE(row, nullptr);
    name = Text(row, "check_name_select");
    QWidget* box = FindChildNamed(row, "check_name_select");
    // On its mark, where a user clicks a check box.
    auto clickBox = [box] { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); };
    current = Text(row, "OldRev");
    newer = Text(row, "updateRev");
    state = Text(row, "update_status_text");
    buttonShown = FindChildNamed(window, "update_fw_and_ap")->isVisibleTo(window);
    clickBox();  // the user unchecks it
    buttonAfterUncheck = FindChildNamed(window, "update_fw_and_ap")->isVisibleTo(window);
    clickBox();
    buttonAgain = FindChildNamed(window, "update_fw_and_ap")->isVisibleTo(window);
    Click(window, "update_fw_and_ap");
    page = qobject_cast<QStackedWidget*>(FindChildNamed(window, "get_update_tab_layout"))->currentIndex();
    Click(window, "update_OK_btn");
    pageAfterStart = qobject_cast<QStackedWidget*>(FindChildNamed(window, "get_update_tab_layout"))->currentIndex();
    buttonEnabledAfterStart = FindChildNamed(window, "update_fw_and_ap")->isEnabled();
    Click(window, "closebtn");
  });
  EXPECT_EQ(RunWindow(MakeSetup({{"VEXOR_1_ZR204A_MS_1", R"({"name":"MS","version":"0103"})"}})), 0);
  EXPECT_EQ(name, "MS");
  EXPECT_EQ(current, "V0102");
  EXPECT_EQ(newer, "V0103");
  EXPECT_EQ(state, "New version");
  EXPECT_TRUE(buttonShown);
  EXPECT_FALSE(buttonAfterUncheck);
  EXPECT_TRUE(buttonAgain);
  EXPECT_EQ(page, 1) << "the confirmation";
  EXPECT_EQ(pageAfterStart, 0);
  EXPECT_FALSE(buttonEnabledAfterStart);
}

TEST_F(SetWndTest, StaysOpenWhileInstallingAndTheReportsReachTheRow) {
  // Device id 1: the download is handed to the desktop and the item installs until its report.
  QString progress;
  bool openAfterClose = false, openAfterSystemClose = false;
  QEventLoop program;
  int code = -2;
  QTimer::singleShot(0, [&] {
    WhenShown("SetWnd", [&](QWidget* window) {
      ASSERT_TRUE(WaitFor([&] { return Running()->PageCode() == update::kStatusHaveUpdate; }));
      Click(window, "update_fw_and_ap");
      Click(window, "update_OK_btn");
      ASSERT_TRUE(WaitFor([&] { return Running()->Work()->Item(0)->info.state == update::kStateInstalling; }));
      Running()->SendMessage(ui::WM_CLOSE);
      openAfterClose = window->isVisible();
      Running()->SendMessage(ui::WM_SYSCOMMAND, ui::SC_CLOSE, 0);
      openAfterSystemClose = window->isVisible();
      const ui::UINT relay = RegisteredMessageId(RegisteredMessage::kSettingsRelayMessage);
      Running()->GetHWND().PostMessage(relay, 4, 37);
      WaitFor([&] { return Text(window, "update_progress_value") == "37%"; });
      progress = Text(window, "update_progress_value");
      Running()->GetHWND().PostMessage(relay, 1, 0);  // done: the window may close now, and does
    });
    code = RunWindow(MakeSetup({{"VEXOR_1_ZR204A_MS_1", R"({"name":"MS","version":"0103","device_id":1})"}}));
    QTimer::singleShot(200, [&] { program.exit(42); });
  });
  EXPECT_EQ(program.exec(), 42) << "the program's loop was not ended";
  EXPECT_TRUE(openAfterClose);
  EXPECT_TRUE(openAfterSystemClose);
  EXPECT_EQ(progress, "37%");
  EXPECT_EQ(code, 0);
}

TEST_F(SetWndTest, DpiStepsAreTakenAndOthersFallBackTo96) {
  std::vector<std::string> traces;
  SetTraceEnabled(true);
  const TraceSink old = SetTraceSink([&](std::string_view line) { traces.emplace_back(line); });
  CSetWnd wnd(MakeSetup({}));
  ASSERT_TRUE(wnd.Create(nullptr, "SetWnd", false, 0, 0, CSetWnd::kWidth, CSetWnd::kHeight));
  wnd.SetDPI(144);
  EXPECT_EQ(wnd.GetDPI(), 144);
  EXPECT_EQ(wnd.GetPaintManager().GetDPI(), 144);
  wnd.SetDPI(100);
  EXPECT_EQ(wnd.GetDPI(), 96);
  EXPECT_NE(std::find(traces.begin(), traces.end(), "SET_WND DPI SET ERROR"), traces.end());
  SetTraceSink(old);
  SetTraceEnabled(false);
}

TEST(UpdateListItemTest, EachStateShowsItsTextProgressAndMark) {
  ResetResources();
  std::unique_ptr<CUpdateInfoListItemUI> row = CUpdateInfoListItemUI::Create();
  ASSERT_NE(row, nullptr);
  auto hidden = [&](const char* name) { return FindChildNamed(row.get(), name)->isHidden(); };
  EXPECT_EQ(row->GetItemState(), 0);
  EXPECT_EQ(qobject_cast<QLabel*>(FindChildNamed(row.get(), "update_status_text"))->text(), "Not checked");

  update::UpdateItem item;
  item.info = {update::kStateDownloading, 0, "MS", "V0102", "", "V0103", "http://h/f.bin", ""};
  item.progress = 42;
  row->Show(item);
  EXPECT_FALSE(hidden("update_status_ing"));
  EXPECT_EQ(qobject_cast<QLabel*>(FindChildNamed(row.get(), "update_progress_value"))->text(), "42%");
  EXPECT_TRUE(hidden("update_status_ok"));
  EXPECT_EQ(row->GetUserData(), "http://h/f.bin");
  EXPECT_FALSE(hidden("updateRev"));

  row->SetItemState(update::kStateDownloaded);
  EXPECT_TRUE(hidden("update_status_ing"));
  EXPECT_FALSE(hidden("update_status_ok"));
  EXPECT_EQ(row->GetItemProgress(), 0) << "hiding the progress resets it";
  EXPECT_EQ(qobject_cast<QLabel*>(FindChildNamed(row.get(), "update_status_text"))->text(), "Downloaded");

  row->SetItemProgress(80);
  row->SetItemState(update::kStateDownloaded);
  EXPECT_EQ(row->GetItemProgress(), 80) << "the same state again changes nothing";

  item.info.state = update::kStateUpToDate;
  row->Show(item);
  EXPECT_TRUE(hidden("updateRev")) << "nothing newer to show";
  EXPECT_FALSE(FindChildNamed(row.get(), "check_name_select")->isEnabled());
  EXPECT_EQ(qobject_cast<QLabel*>(FindChildNamed(row.get(), "update_status_text"))->text(), "Up to date");
  EXPECT_NE(row->styleSheet().indexOf("rgba(102,102,102"), -1) << "the disabled text colour of state 7";
}

}  // namespace
}  // namespace norvane::app::test
