// The update work of a settings window: what the check finds and says, the download and install of the
// checked items, the installers' reports, the bounds on restarts, and stops that end every wait at once.

#include "update/update_work.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "tests/support/local_http_server.h"
#include "tests/support/temp_folder.h"
#include "update/update_query.h"
#include "update/update_time.h"

namespace norvane::update {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 3000ms) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

// Records what the window would hear, with the item as it was when told.
class RecordingListener final : public IUpdateListener {
 public:
  void Attach(UpdateWork* work) { work_ = work; }
  void ItemAdded(int index) override {
    std::lock_guard lock(mutex_);
    added_.push_back(index);
  }
  void ItemChanged(int index) override {
    UpdateWork* work = work_.load();
    if (!work) return;
    if (const std::optional<UpdateItem> item = work->Item(index)) {
      std::lock_guard lock(mutex_);
      seen_[index].emplace_back(item->info.state, item->progress);
    }
  }
  void StatusChanged(int status) override {
    std::lock_guard lock(mutex_);
    statuses_.push_back(status);
  }
  void InstallerNotStarted(int index) override {
    std::lock_guard lock(mutex_);
    notStarted_.push_back(index);
  }
  std::vector<int> Statuses() const {
    std::lock_guard lock(mutex_);
    return statuses_;
  }
  int LastStatus() const {
    std::lock_guard lock(mutex_);
    return statuses_.empty() ? -1 : statuses_.back();
  }
  std::vector<std::pair<int, int>> Seen(int index) const {
    std::lock_guard lock(mutex_);
    const auto it = seen_.find(index);
    return it == seen_.end() ? std::vector<std::pair<int, int>>{} : it->second;
  }
  std::vector<int> NotStarted() const {
    std::lock_guard lock(mutex_);
    return notStarted_;
  }

 private:
  std::atomic<UpdateWork*> work_{nullptr};
  mutable std::mutex mutex_;
  std::vector<int> added_;
  std::map<int, std::vector<std::pair<int, int>>> seen_;
  std::vector<int> statuses_;
  std::vector<int> notStarted_;
};

// Pauses cost nothing; the durations asked for are kept.
class RecordingSleeper final : public ISleeper {
 public:
  bool SleepFor(std::chrono::milliseconds duration, std::stop_token stop) override {
    {
      std::lock_guard lock(mutex_);
      asked_.push_back(duration);
    }
    return !stop.stop_requested();
  }
  std::vector<std::chrono::milliseconds> Asked() const {
    std::lock_guard lock(mutex_);
    return asked_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::chrono::milliseconds> asked_;
};

class ScriptedInstaller final : public IInstallerRunner {
 public:
  std::function<InstallerRun(std::stop_token)> run = [](std::stop_token) { return InstallerRun{true, false, 0, {}}; };
  bool openResult = true;

  InstallerRun Run(const fs::path& file, std::stop_token stop) override {
    {
      std::lock_guard lock(mutex_);
      runs_.push_back(file);
    }
    return run(stop);
  }
  bool Open(const fs::path& file) override {
    std::lock_guard lock(mutex_);
    opened_.push_back(file);
    return openResult;
  }
  int Runs() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(runs_.size());
  }
  std::vector<fs::path> Opened() const {
    std::lock_guard lock(mutex_);
    return opened_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<fs::path> runs_;
  std::vector<fs::path> opened_;
};

UpdateEntry Mouse() {
  return UpdateEntry{1, 1, 0x0102, "VEXOR", "ZR204A", "MS", "MS", ""};
}
UpdateEntry Program() {
  return UpdateEntry{0, 1, 105, "VEXOR", "ALL", "TQ80_BX2_BX1", "AP", "P2000"};
}

class UpdateWorkTest : public ::testing::Test {
 protected:
  UpdateServices Services() {
    UpdateServices services;
    services.updatesUrl = "http://service.invalid/api/updates";
    services.check = [this](const std::string&, std::string_view key, std::int32_t, bool, std::stop_token) {
      std::lock_guard lock(answersMutex_);
      const auto it = answers_.find(std::string(key));
      if (it != answers_.end()) return it->second;
      UpdateInfo unreachable;
      unreachable.name = std::string(kNoLinkServer);
      return unreachable;
    };
    services.download = [this](std::string_view url, const fs::path& file, const DownloadProgress& progress,
                               std::stop_token stop) { return download_(url, file, progress, stop); };
    services.installer = installer_;
    services.sleeper = sleeper_;
    services.downloadFolder = folder_ / "UpdateData";
    services.timeFile = folder_ / "updatetime.config";
    services.today = [] { return std::string("2024-3-5"); };
    services.lateReportWait = 30ms;
    return services;
  }

  void Answer(const std::string& key, UpdateInfo info) {
    std::lock_guard lock(answersMutex_);
    answers_[key] = std::move(info);
  }
  static UpdateInfo Newer(std::string version, std::int32_t deviceId = 2) {
    UpdateInfo info = ReadUpdateAnswer(R"({"name":"MS","version":")" + version + R"(","path":"http://h/f.bin","device_id":)" +
                                           std::to_string(deviceId) + "}",
                                       0x0102, true);
    return info;
  }

  void Start(std::vector<UpdateEntry> entries, UpdateServices services) {
    work_ = std::make_unique<UpdateWork>(std::move(entries), listener_, std::move(services));
    listener_->Attach(work_.get());
    work_->Start();
  }
  void Start(std::vector<UpdateEntry> entries) { Start(std::move(entries), Services()); }

  bool StatusBecomes(int status) {
    return WaitUntil([&] { return listener_->LastStatus() == status; });
  }
  bool StateBecomes(int index, int state) {
    return WaitUntil([&] { return work_->Item(index) && work_->Item(index)->info.state == state; });
  }

  void TearDown() override {
    if (work_) {
      EXPECT_EQ(work_->Stop(), 0) << "every worker stopped within its bound";
    }
  }

  norvane::testing::TempFolder folder_;
  std::mutex answersMutex_;
  std::map<std::string, UpdateInfo> answers_;
  std::function<DownloadResult(std::string_view, const fs::path&, const DownloadProgress&, std::stop_token)> download_ =
      [](std::string_view, const fs::path&, const DownloadProgress& progress, std::stop_token) {
        progress(2048, 1024);
        progress(2048, 2048);
        return DownloadResult{true, false, 2048, 2048, {}};
      };
  std::shared_ptr<ScriptedInstaller> installer_ = std::make_shared<ScriptedInstaller>();
  std::shared_ptr<RecordingSleeper> sleeper_ = std::make_shared<RecordingSleeper>();
  std::shared_ptr<RecordingListener> listener_ = std::make_shared<RecordingListener>();
  std::unique_ptr<UpdateWork> work_;
};

TEST_F(UpdateWorkTest, WithEveryEntryUnreachableTheListSaysNoServiceAnswered) {
  Start({Mouse(), Program()});
  ASSERT_TRUE(StatusBecomes(kStatusUnreachable));
  EXPECT_EQ(listener_->Statuses().front(), kStatusChecking);
  const std::vector<UpdateItem> items = work_->Items();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].info.currentVersion, "V0102");
  EXPECT_EQ(items[1].info.currentVersion, "P2000") << "the program's label until a query answers";
  EXPECT_EQ(items[1].info.name, "AP");
  for (const UpdateItem& item : items) {
    EXPECT_EQ(item.info.state, kStateUpToDate);
    EXPECT_FALSE(item.checkEnabled);
  }
  EXPECT_EQ(StatusTextId(kStatusUnreachable), "NoUpdateInfoText");
}

TEST_F(UpdateWorkTest, OneReachableAndUpToDateSaysLatestWithTheLastCheckDate) {
  norvane::testing::WriteText(folder_ / "updatetime.config", R"({"updatelasttime": {"value": "2023-12-1"}})");
  UpdateInfo same = ReadUpdateAnswer(R"({"name":"MS","version":"0102"})", 0x0102, true);
  Answer("VEXOR_1_ZR204A_MS_1", same);
  Start({Mouse(), Program()});
  ASSERT_TRUE(StatusBecomes(kStatusLatest));
  EXPECT_EQ(work_->LastCheckDate(), "2023-12-1") << "the date shown is the one read at the start";
  EXPECT_EQ(ReadOrStartUpdateTime(folder_ / "updatetime.config", "x"), "2024-3-5") << "the check wrote today";
  EXPECT_EQ(StatusTextId(kStatusLatest), "UpdateIsLastText");
}

TEST_F(UpdateWorkTest, WithoutAServiceTheListShowsTheLocalVersionsAndSaysSo) {
  UpdateServices services = Services();
  services.updatesUrl.clear();
  Start({Mouse(), Program()}, std::move(services));
  ASSERT_TRUE(StatusBecomes(kStatusNotConfigured));
  EXPECT_EQ(work_->ItemCount(), 2);
  EXPECT_EQ(StatusTextId(kStatusNotConfigured), "NoUpdateServiceText");
}

TEST_F(UpdateWorkTest, ANewerVersionIsCheckedDownloadedInstalledAndReportedDone) {
  Answer("VEXOR_1_ZR204A_MS_1", Newer("0103"));
  installer_->run = [this](std::stop_token) {
    // The installer reports progress, then success, before it ends.
    work_->HandleRelay(4, 37);
    EXPECT_EQ(work_->Item(0)->progress, 37);
    work_->HandleRelay(1, 0);
    return InstallerRun{true, false, 0, {}};
  };
  Start({Mouse(), Program()});
  ASSERT_TRUE(StatusBecomes(kStatusHaveUpdate));
  UpdateItem mouse = *work_->Item(0);
  EXPECT_EQ(mouse.info.state, kStateNewer);
  EXPECT_TRUE(mouse.checked);
  EXPECT_TRUE(mouse.checkEnabled);
  EXPECT_EQ(mouse.info.newVersion, "V0103");
  EXPECT_EQ(mouse.info.downloadFile, folder_ / "UpdateData" / "MS.bin");
  EXPECT_FALSE(work_->Item(1)->checkEnabled) << "nothing newer for the program";
  EXPECT_FALSE(work_->UpdateRunning());

  work_->QueueCheckedUpdates();
  ASSERT_TRUE(StatusBecomes(kStatusLatest));
  mouse = *work_->Item(0);
  EXPECT_EQ(mouse.info.state, kStateUpToDate);
  EXPECT_EQ(mouse.info.currentVersion, "V0103");
  EXPECT_EQ(mouse.info.newVersion, "");
  EXPECT_FALSE(mouse.checked);
  EXPECT_EQ(installer_->Runs(), 1);
  EXPECT_EQ(work_->InstallerStarted(), 0);

  // What the item showed on its way: downloading at 50 %, downloaded, installing at 37 %, done.
  const std::vector<std::pair<int, int>> seen = listener_->Seen(0);
  auto saw = [&](int state, int progress) {
    return std::find(seen.begin(), seen.end(), std::make_pair(state, progress)) != seen.end();
  };
  EXPECT_TRUE(saw(kStateDownloading, 50));
  EXPECT_TRUE(saw(kStateDownloaded, 0));
  EXPECT_TRUE(saw(kStateInstalling, 37));
  EXPECT_TRUE(saw(kStateUpToDate, 0));
  const auto pauses = sleeper_->Asked();
  EXPECT_NE(std::find(pauses.begin(), pauses.end(), 4000ms), pauses.end()) << "the pause after a download";
  EXPECT_NE(std::find(pauses.begin(), pauses.end(), 1000ms), pauses.end()) << "the pause before an install";
}

TEST_F(UpdateWorkTest, AnUncheckedItemIsNotUpdatedAndCanNoLongerBeChecked) {
  Answer("VEXOR_1_ZR204A_MS_1", Newer("0103"));
  Start({Mouse()});
  ASSERT_TRUE(StatusBecomes(kStatusHaveUpdate));
  work_->SetChecked(0, false);
  EXPECT_FALSE(work_->AnyChecked());
  work_->QueueCheckedUpdates();
  EXPECT_EQ(work_->Item(0)->info.state, kStateNewer);
  EXPECT_FALSE(work_->Item(0)->checkEnabled);
  work_->SetChecked(0, true);
  EXPECT_FALSE(work_->Item(0)->checked) << "a disabled check box takes no check";
}

TEST_F(UpdateWorkTest, AFailedDownloadLeavesTheItemFailedAndSettlesTheStatus) {
  Answer("VEXOR_1_ZR204A_MS_1", Newer("0103"));
  download_ = [](std::string_view, const fs::path&, const DownloadProgress& progress, std::stop_token) {
    progress(0, 0);
    return DownloadResult{false, false, 0, 0, "closed halfway"};
  };
  Start({Mouse()});
  ASSERT_TRUE(StatusBecomes(kStatusHaveUpdate));
  work_->QueueCheckedUpdates();
  ASSERT_TRUE(StateBecomes(0, kStateFailed));
  ASSERT_TRUE(StatusBecomes(kStatusHaveUpdate)) << "the list no longer says an update runs";
  EXPECT_TRUE(work_->Item(0)->checkEnabled) << "a failed item can be tried again";
  EXPECT_FALSE(work_->UpdateRunning());
  EXPECT_EQ(installer_->Runs(), 0) << "nothing downloaded is run";
}

TEST_F(UpdateWorkTest, AnInstallerThatNeverReportsRunsThreeTimesThenFails) {
  Answer("VEXOR_1_ZR204A_MS_1", Newer("0103"));
  Start({Mouse()});
  ASSERT_TRUE(StatusBecomes(kStatusHaveUpdate));
  work_->QueueCheckedUpdates();
  ASSERT_TRUE(StateBecomes(0, kStateFailed));
  EXPECT_EQ(installer_->Runs(), 3);
  EXPECT_EQ(work_->InstallerStarted(), -1);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(installer_->Runs(), 3) << "and is not started again";
}

TEST_F(UpdateWorkTest, AReportAfterTheInstallersEndStillCountsAndNothingRestarts) {
  Answer("VEXOR_1_ZR204A_MS_1", Newer("0103"));
  UpdateServices services = Services();
  services.lateReportWait = 2000ms;
  Start({Mouse()}, std::move(services));
  ASSERT_TRUE(StatusBecomes(kStatusHaveUpdate));
  work_->QueueCheckedUpdates();
  ASSERT_TRUE(WaitUntil([&] { return installer_->Runs() == 1; }));
  std::this_thread::sleep_for(50ms);  // the installer has ended; its report comes late
  work_->HandleRelay(1, 0);
  ASSERT_TRUE(StateBecomes(0, kStateUpToDate));
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(installer_->Runs(), 1);
}

TEST_F(UpdateWorkTest, ReportsTwoAndThreeFailTheItemBeingInstalled) {
  Answer("VEXOR_1_ZR204A_MS_1", Newer("0103", 1));
  Start({Mouse()});
  ASSERT_TRUE(StatusBecomes(kStatusHaveUpdate));
  work_->HandleRelay(3, 0);  // nothing is being installed yet: nothing happens
  EXPECT_EQ(work_->Item(0)->info.state, kStateNewer);
  work_->QueueCheckedUpdates();
  ASSERT_TRUE(StateBecomes(0, kStateInstalling));
  // The item shows as installing before its file is handed over.
  ASSERT_TRUE(WaitUntil([&] { return !installer_->Opened().empty(); }));
  EXPECT_EQ(installer_->Opened(), std::vector<fs::path>{folder_ / "UpdateData" / "MS.bin"})
      << "device id 1: handed to the desktop";
  EXPECT_EQ(installer_->Runs(), 0);
  EXPECT_TRUE(work_->UpdateRunning());
  work_->HandleRelay(2, 0);  // no installer waited for: the item failed
  EXPECT_EQ(work_->Item(0)->info.state, kStateFailed);
  EXPECT_FALSE(work_->UpdateRunning());

  // A failed item that stays checked is fetched again at the next start, and "3" fails it again.
  work_->QueueCheckedUpdates();
  ASSERT_TRUE(WaitUntil([&] { return installer_->Opened().size() == 2; }));
  ASSERT_TRUE(StateBecomes(0, kStateInstalling));
  work_->HandleRelay(3, 0);
  EXPECT_EQ(work_->Item(0)->info.state, kStateFailed);
  EXPECT_EQ(work_->InstallerStarted(), -1);
}

TEST_F(UpdateWorkTest, AnInstallerThatCannotStartFailsAndIsSaid) {
  Answer("VEXOR_1_ZR204A_MS_1", Newer("0103"));
  installer_->run = [](std::stop_token) { return InstallerRun{false, false, -1, "exec format error"}; };
  Start({Mouse()});
  ASSERT_TRUE(StatusBecomes(kStatusHaveUpdate));
  work_->QueueCheckedUpdates();
  ASSERT_TRUE(StateBecomes(0, kStateFailed));
  EXPECT_EQ(listener_->NotStarted(), std::vector<int>{0});
  EXPECT_EQ(installer_->Runs(), 1);
}

TEST_F(UpdateWorkTest, StopEndsADownloadAndAnInstallerWaitAtOnce) {
  Answer("VEXOR_1_ZR204A_MS_1", Newer("0103"));
  download_ = [](std::string_view, const fs::path&, const DownloadProgress&, std::stop_token stop) {
    (void)SleepUnlessStopped(60s, stop);
    return DownloadResult{false, true, 0, 0, "stopped"};
  };
  Start({Mouse()});
  ASSERT_TRUE(StatusBecomes(kStatusHaveUpdate));
  work_->QueueCheckedUpdates();
  ASSERT_TRUE(StateBecomes(0, kStateDownloading));
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(work_->Stop(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 300ms);

  // An installer being waited for: the wait ends, the installer is left alone.
  download_ = [](std::string_view, const fs::path&, const DownloadProgress& progress, std::stop_token) {
    progress(10, 10);
    return DownloadResult{true, false, 10, 10, {}};
  };
  installer_->run = [](std::stop_token stop) {
    (void)SleepUnlessStopped(60s, stop);
    return InstallerRun{true, true, -1, {}};
  };
  Start({Mouse()});
  ASSERT_TRUE(StatusBecomes(kStatusHaveUpdate));
  work_->QueueCheckedUpdates();
  ASSERT_TRUE(StateBecomes(0, kStateInstalling));
  const auto installing = std::chrono::steady_clock::now();
  EXPECT_EQ(work_->Stop(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - installing, 300ms);
}

// The whole way against a service: the query, the download and a real installer (a script that leaves a
// mark). Without a report the run counts as failed once its wait is over.
TEST_F(UpdateWorkTest, AgainstALocalServiceTheInstallerDownloadedIsRun) {
  norvane::testing::ScopedEnv noProxy{"no_proxy", "127.0.0.1,localhost"};
  norvane::testing::LocalHttpServer server;
  const fs::path mark = folder_ / "installed";
  server.Serve("/api/updates", 200,
               R"({"name":"MS","version":"0103","version_name":"1.3","device_id":2,"path":")" +
                   server.Url("/files/ms_0103.run") + "\"}");
  server.Serve("/files/ms_0103.run", 200, "#!/bin/sh\necho run >> '" + mark.string() + "'\n");
  UpdateServices services = DefaultUpdateServices();
  services.updatesUrl = server.Url("/api/updates");
  services.sleeper = sleeper_;
  services.downloadFolder = folder_ / "UpdateData";
  services.timeFile = folder_ / "updatetime.config";
  services.lateReportWait = 20ms;
  services.maxInstallerRuns = 1;
  Start({Mouse()}, std::move(services));
  ASSERT_TRUE(StatusBecomes(kStatusHaveUpdate));
  work_->QueueCheckedUpdates();
  ASSERT_TRUE(StateBecomes(0, kStateFailed));
  EXPECT_EQ(norvane::testing::ReadText(mark), "run\n");
  EXPECT_TRUE(fs::exists(folder_ / "UpdateData" / "MS.run"));
  EXPECT_EQ(fs::status(folder_ / "UpdateData").permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST(UpdatePresentationTest, EachStateShowsAsTheListDrawsIt) {
  struct Row {
    int state;
    const char* text;
    bool progress, done, check;
    std::uint32_t color, disabledColor;
  };
  const Row table[] = {
      {0, "LessUpdateText", false, false, false, 0xFFFFFFFF, 0xFF666666},
      {1, "NeedUpdateText", false, false, true, 0xFF0099FF, 0xFF0078C8},
      {2, "NeedUpdateText", false, false, true, 0xFF0099FF, 0xFF0078C8},
      {3, "DownloadWaitText", false, false, false, 0xFF0099FF, 0xFF0078C8},
      {4, "DownloadIngText", true, false, false, 0xFF0099FF, 0xFF0078C8},
      {5, "DownloadOkText", false, true, false, 0xFF0099FF, 0xFF0078C8},
      {6, "UpdateIngText", true, false, false, 0xFF0099FF, 0xFF0078C8},
      {7, "UpdateOkText", false, false, false, 0xFFFFFFFF, 0xFF666666},
      {8, "UpdateFailText", false, false, true, 0xFF0099FF, 0xFF0078C8},
  };
  for (const Row& row : table) {
    const StatePresentation& look = PresentationOf(row.state);
    EXPECT_EQ(look.statusTextId, row.text) << row.state;
    EXPECT_EQ(look.progressShown, row.progress) << row.state;
    EXPECT_EQ(look.doneShown, row.done) << row.state;
    EXPECT_EQ(look.checkEnabled, row.check) << row.state;
    EXPECT_EQ(look.textColor, row.color) << row.state;
    EXPECT_EQ(look.disabledTextColor, row.disabledColor) << row.state;
  }
  EXPECT_EQ(PresentationOf(99).statusTextId, "LessUpdateText");
}

}  // namespace
}  // namespace norvane::update
