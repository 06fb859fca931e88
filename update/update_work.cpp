#include "update/update_work.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <set>
#include <thread>

#include "platform/ascii_text.h"
#include "platform/trace.h"
#include "update/download_folder.h"
#include "update/update_query.h"
#include "update/update_service_address.h"
#include "update/update_time.h"

namespace norvane::update {
namespace {

// The record an entry is listed with before (and, when its query gave nothing, after) the query.
UpdateInfo LocalRecord(const UpdateEntry& entry) {
  UpdateInfo info;
  info.state = kStateUpToDate;
  info.name = EqualsIgnoringAsciiCase(entry.model, "ALL") ? "AP" : entry.name;
  if (entry.first != 0) {
    char text[16];
    std::snprintf(text, sizeof text, "V%04x", static_cast<unsigned>(entry.version));
    info.currentVersion = text;
  } else {
    info.currentVersion = entry.versionLabel;
  }
  return info;
}

// Changes an item's state as the list item does: the same state again changes nothing; showing or hiding
// the progress resets it; the check box follows the state.
bool ApplyState(UpdateItem& item, std::int32_t state) {
  if (item.info.state == state) return false;
  const bool progressBefore = PresentationOf(item.info.state).progressShown;
  item.info.state = state;
  if (PresentationOf(state).progressShown != progressBefore) item.progress = 0;
  item.checkEnabled = PresentationOf(state).checkEnabled;
  return true;
}

bool IsUnderWay(std::int32_t state) {
  return state >= kStateQueued && state <= kStateInstalling;
}

}  // namespace

std::string_view StatusTextId(int status) {
  switch (status) {
    case kStatusChecking:
      return "GetUpdateInfoText";
    case kStatusHaveUpdate:
      return "HaveUpdateInfoText";
    case kStatusUnreachable:
      return "NoUpdateInfoText";
    case kStatusUpdating:
      return "ISUpdateINGText";
    case kStatusLatest:
      return "UpdateIsLastText";
    case kStatusNotConfigured:
      return "NoUpdateServiceText";
    default:
      return {};
  }
}

UpdateServices DefaultUpdateServices() {
  UpdateServices services;
  const UpdateServiceAddress address = CurrentUpdateServiceAddress();
  if (!address.problem.empty()) Trace("update: " + address.problem);
  services.updatesUrl = address.updatesUrl;
  services.check = [](const std::string& url, std::string_view appKey, std::int32_t version, bool hex,
                      std::stop_token stop) { return CheckForUpdate(url, appKey, version, hex, stop); };
  services.download = [](std::string_view url, const std::filesystem::path& file, const DownloadProgress& progress,
                         std::stop_token stop) { return DownloadFile(url, file, progress, stop); };
  services.installer = MakeProcessInstallerRunner();
  services.sleeper = MakeRealSleeper();
  services.downloadFolder = UpdateDataFolder();
  services.timeFile = UpdateTimeFile();
  services.today = [] { return TodayText(); };
  return services;
}

// ---------------------------------------------------------------------------------------------------------
// The state the window and the workers share. Every change is made under the lock and told afterwards.

struct UpdateWork::Shared {
  std::vector<UpdateEntry> entries;
  std::shared_ptr<IUpdateListener> listener;
  UpdateServices services;

  mutable std::mutex mutex;
  std::condition_variable_any changed;
  std::vector<UpdateItem> items;
  int status = -1;
  std::string lastCheckDate;
  bool updateStarted = false;  // the user started an update; cleared after each download pass
  int installerStarted = -1;   // 1 while an installer is waited for, 0 after a done report, -1 otherwise
  int installing = -1;         // the item the installers' reports are about
  int installerRuns = 0;       // runs of that item's installer since it started installing
  bool folderReady = false;

  // What a change has to tell once the lock is released.
  struct News {
    std::set<int> changed;
    std::vector<int> added;
    std::optional<int> status;
    std::optional<int> notStarted;
  };

  template <class Fn>
  void Change(Fn fn) {
    News news;
    {
      std::lock_guard lock(mutex);
      fn(news);
    }
    Tell(news);
  }

  void Tell(const News& news) {
    if (listener) {
      for (const int index : news.added) listener->ItemAdded(index);
      for (const int index : news.changed) listener->ItemChanged(index);
      if (news.status) listener->StatusChanged(*news.status);
      if (news.notStarted) listener->InstallerNotStarted(*news.notStarted);
    }
    changed.notify_all();
  }

  // Under the lock.
  UpdateItem* At(int index) {
    if (index < 0 || index >= static_cast<int>(items.size())) return nullptr;
    return &items[static_cast<std::size_t>(index)];
  }
  void SetStateLocked(News& news, int index, std::int32_t state) {
    if (UpdateItem* item = At(index); item && ApplyState(*item, state)) news.changed.insert(index);
  }
  void SetStatusLocked(News& news, int code) {
    status = code;
    news.status = code;
  }
  // Once nothing is under way any more, the status line stops saying that an update runs.
  void SettleStatusLocked(News& news) {
    if (status != kStatusUpdating) return;
    bool something = false;
    for (const UpdateItem& item : items) {
      if (IsUnderWay(item.info.state)) return;
      something = something || item.info.state != kStateUpToDate;
    }
    SetStatusLocked(news, something ? kStatusHaveUpdate : kStatusLatest);
  }

  std::optional<UpdateItem> Snapshot(int index) const {
    std::lock_guard lock(mutex);
    if (index < 0 || index >= static_cast<int>(items.size())) return std::nullopt;
    return items[static_cast<std::size_t>(index)];
  }
  int Count() const {
    std::lock_guard lock(mutex);
    return static_cast<int>(items.size());
  }

  void SetState(int index, std::int32_t state) {
    Change([&](News& news) { SetStateLocked(news, index, state); });
  }
  void SetStatus(int code) {
    Change([&](News& news) { SetStatusLocked(news, code); });
  }

  void OnDownloadProgress(int index, std::int64_t total, std::int64_t received) {
    Change([&](News& news) {
      if (total <= 0) {
        SetStateLocked(news, index, kStateFailed);
        return;
      }
      UpdateItem* item = At(index);
      if (!item) return;
      const int percent = static_cast<int>(static_cast<double>(received) * 100.0 / static_cast<double>(total));
      if (item->progress != percent) {
        item->progress = percent;
        news.changed.insert(index);
      }
      if (received == total) SetStateLocked(news, index, kStateDownloaded);
    });
  }

  void FailInstall(int index, bool notStarted) {
    Change([&](News& news) {
      SetStateLocked(news, index, kStateFailed);
      installerStarted = -1;
      if (notStarted) news.notStarted = index;
      SettleStatusLocked(news);
    });
  }
};

// ---------------------------------------------------------------------------------------------------------
// The workers.

namespace {

using Shared = UpdateWork::Shared;

void RunCheck(Shared& s, std::stop_token stop) {
  s.SetStatus(kStatusChecking);
  for (const UpdateEntry& entry : s.entries) {
    UpdateInfo record = LocalRecord(entry);
    record.downloadFile = DownloadFileFor(s.services.downloadFolder, record.name, record.downloadUrl);
    s.Change([&](Shared::News& news) {
      s.items.push_back(UpdateItem{record, false, false, 0});
      news.added.push_back(static_cast<int>(s.items.size()) - 1);
    });
  }
  if (s.services.updatesUrl.empty() || !s.services.check) {
    s.SetStatus(kStatusNotConfigured);
    return;
  }
  int failures = 0;
  for (std::size_t k = 0; k < s.entries.size(); ++k) {
    if (stop.stop_requested()) return;
    const UpdateEntry& entry = s.entries[k];
    UpdateInfo info = s.services.check(s.services.updatesUrl, BuildAppKey(entry), entry.version, entry.first != 0, stop);
    if (stop.stop_requested()) return;
    if (EqualsIgnoringAsciiCase(info.name, kNoLinkServer)) {
      ++failures;
      info.name.clear();
    }
    // An empty or unreadable answer: the item shows its local version, with nothing newer.
    if (info.name.empty()) info = LocalRecord(entry);
    info.name = entry.name;
    info.downloadFile = DownloadFileFor(s.services.downloadFolder, info.name, info.downloadUrl);
    s.Change([&](Shared::News& news) {
      UpdateItem* item = s.At(static_cast<int>(k));
      if (!item) return;
      const std::int32_t state = info.state;
      info.state = item->info.state;  // the state changes as the item changes it
      item->info = info;
      ApplyState(*item, state);
      news.changed.insert(static_cast<int>(k));
    });
    if (s.services.today && !s.services.timeFile.empty()) {
      const FileResult written = WriteUpdateTime(s.services.timeFile, s.services.today());
      if (!written) Trace("update: " + written.error);
    }
  }
  s.Change([&](Shared::News& news) {
    bool any = false;
    for (std::size_t i = 0; i < s.items.size(); ++i) {
      UpdateItem& item = s.items[i];
      const bool newer = item.info.state != kStateUpToDate && item.info.state != kStateInitial;
      const UpdateItem before = item;
      item.checkEnabled = newer;
      if (newer) item.checked = true;
      if (item.checkEnabled != before.checkEnabled || item.checked != before.checked) {
        news.changed.insert(static_cast<int>(i));
      }
      any = any || newer;
    }
    const int count = static_cast<int>(s.entries.size());
    s.SetStatusLocked(news, any ? kStatusHaveUpdate
                                : (count > 0 && failures == count ? kStatusUnreachable : kStatusLatest));
  });
}

void RunDownloads(Shared& s, std::stop_token stop) {
  while (!stop.stop_requested()) {
    {
      std::unique_lock lock(s.mutex);
      if (!s.changed.wait(lock, stop, [&] { return s.updateStarted; })) return;
    }
    for (int i = 0; i < s.Count(); ++i) {
      if (stop.stop_requested()) return;
      const std::optional<UpdateItem> item = s.Snapshot(i);
      if (!item || !item->checked) continue;
      if (item->info.state != kStateQueued && item->info.state != kStateFailed) continue;
      s.Change([&](Shared::News& news) {
        s.SetStateLocked(news, i, kStateDownloading);
        s.SetStatusLocked(news, kStatusUpdating);
      });
      if (!s.folderReady) {
        const FileResult ready = PreparePrivateFolder(s.services.downloadFolder);
        if (!ready) {
          Trace("update: " + ready.error);
          s.SetState(i, kStateFailed);
          continue;
        }
        s.folderReady = true;
      }
      const DownloadResult result = s.services.download(
          item->info.downloadUrl, item->info.downloadFile,
          [&s, i](std::int64_t total, std::int64_t received) { s.OnDownloadProgress(i, total, received); }, stop);
      if (result.stopped || stop.stop_requested()) return;
      if (!result.ok) Trace("update: download of " + item->info.name + " failed: " + result.error);
      if (!s.services.sleeper->SleepFor(s.services.downloadPause, stop)) return;
    }
    s.Change([&](Shared::News& news) {
      s.updateStarted = false;
      s.SettleStatusLocked(news);
    });
  }
}

// Runs the installer of item `index` once and gives its report time to arrive; after the last allowed run
// without a report the item has failed.
void RunInstallerOnce(Shared& s, int index, const UpdateItem& item, std::stop_token stop) {
  int runs = 0;
  {
    std::lock_guard lock(s.mutex);
    runs = ++s.installerRuns;
  }
  if (runs > s.services.maxInstallerRuns) {
    s.FailInstall(index, false);
    return;
  }
  const InstallerRun run = s.services.installer->Run(item.info.downloadFile, stop);
  if (run.stopped || stop.stop_requested()) return;
  if (!run.started) {
    Trace("update: " + run.error);
    s.FailInstall(index, true);
    return;
  }
  Trace("update: installer of " + item.info.name + " ended with " + std::to_string(run.exitStatus));
  bool reported = false;
  {
    std::unique_lock lock(s.mutex);
    reported = s.changed.wait_for(lock, stop, s.services.lateReportWait, [&] {
      const UpdateItem* now = s.At(index);
      return !now || now->info.state != kStateInstalling || s.installerStarted != 1;
    });
  }
  if (stop.stop_requested()) return;
  if (!reported && runs >= s.services.maxInstallerRuns) {
    Trace("update: the installer of " + item.info.name + " ran " + std::to_string(runs) + " times without a report");
    s.FailInstall(index, false);
  }
}

void RunInstalls(Shared& s, std::stop_token stop) {
  while (!stop.stop_requested()) {
    bool acted = false;
    for (int i = 0; i < s.Count() && !stop.stop_requested(); ++i) {
      const std::optional<UpdateItem> item = s.Snapshot(i);
      if (!item || !item->checked) continue;
      if (item->info.state == kStateInstalling) {
        bool waited = false;
        {
          std::lock_guard lock(s.mutex);
          waited = s.installerStarted == 1 && s.installing == i;
        }
        if (waited) {
          RunInstallerOnce(s, i, *item, stop);
          acted = true;
        }
        break;
      }
      if (item->info.state != kStateDownloaded) continue;
      if (!s.services.sleeper->SleepFor(s.services.installDelay, stop)) return;
      s.Change([&](Shared::News& news) {
        s.SetStateLocked(news, i, kStateInstalling);
        s.SetStatusLocked(news, kStatusUpdating);
        s.installing = i;
        s.installerRuns = 0;
        if (item->info.deviceId != 1) s.installerStarted = 1;
      });
      acted = true;
      if (item->info.deviceId == 1) {
        // A document for the desktop: opened, not waited for; its report (or none) decides.
        if (!s.services.installer->Open(item->info.downloadFile)) s.FailInstall(i, true);
      } else {
        RunInstallerOnce(s, i, *item, stop);
      }
    }
    if (!acted) {
      std::unique_lock lock(s.mutex);
      (void)s.changed.wait_for(lock, stop, std::chrono::milliseconds(100), [] { return false; });
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------

struct UpdateWork::Worker {
  std::string name;
  std::jthread thread;
  // Set by the thread as its last act, so that Stop can wait for it with a bound.
  struct EndSignal {
    std::mutex mutex;
    std::condition_variable cv;
    bool ended = false;
  };
  std::shared_ptr<EndSignal> end = std::make_shared<EndSignal>();
};

UpdateWork::UpdateWork(std::vector<UpdateEntry> entries, std::shared_ptr<IUpdateListener> listener,
                       UpdateServices services)
    : shared_(std::make_shared<Shared>()) {
  shared_->entries = std::move(entries);
  shared_->listener = std::move(listener);
  shared_->services = std::move(services);
  if (!shared_->services.sleeper) shared_->services.sleeper = MakeRealSleeper();
  if (!shared_->services.installer) shared_->services.installer = MakeProcessInstallerRunner();
}

UpdateWork::~UpdateWork() {
  Stop();
}

void UpdateWork::Start() {
  if (!workers_.empty()) return;
  const std::string today = shared_->services.today ? shared_->services.today() : TodayText();
  const std::string date =
      shared_->services.timeFile.empty() ? today : ReadOrStartUpdateTime(shared_->services.timeFile, today);
  {
    std::lock_guard lock(shared_->mutex);
    shared_->lastCheckDate = date;
  }
  using Body = void (*)(Shared&, std::stop_token);
  const std::pair<const char*, Body> bodies[] = {
      {"update check", &RunCheck}, {"update download", &RunDownloads}, {"update install", &RunInstalls}};
  for (const auto& [name, work] : bodies) {
    auto worker = std::make_unique<Worker>();
    worker->name = name;
    worker->thread = std::jthread([shared = shared_, end = worker->end, body = work](std::stop_token stop) {
      body(*shared, stop);
      std::lock_guard lock(end->mutex);
      end->ended = true;
      end->cv.notify_all();
    });
    workers_.push_back(std::move(worker));
  }
}

int UpdateWork::Stop(std::chrono::milliseconds bound) {
  for (const auto& worker : workers_) worker->thread.request_stop();
  int overran = 0;
  for (const auto& worker : workers_) {
    bool ended = false;
    {
      std::unique_lock lock(worker->end->mutex);
      ended = worker->end->cv.wait_for(lock, bound, [&] { return worker->end->ended; });
    }
    if (ended) {
      worker->thread.join();
    } else {
      // It keeps the shared state alive and ends at its next stop check.
      Trace("update: the " + worker->name + " worker did not stop within " + std::to_string(bound.count()) + " ms");
      worker->thread.detach();
      ++overran;
    }
  }
  workers_.clear();
  return overran;
}

int UpdateWork::ItemCount() const {
  return shared_->Count();
}

std::optional<UpdateItem> UpdateWork::Item(int index) const {
  return shared_->Snapshot(index);
}

std::vector<UpdateItem> UpdateWork::Items() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->items;
}

bool UpdateWork::AnyChecked() const {
  std::lock_guard lock(shared_->mutex);
  return std::any_of(shared_->items.begin(), shared_->items.end(), [](const UpdateItem& item) { return item.checked; });
}

void UpdateWork::SetChecked(int index, bool checked) {
  shared_->Change([&](Shared::News& news) {
    UpdateItem* item = shared_->At(index);
    if (!item || !item->checkEnabled || item->checked == checked) return;
    item->checked = checked;
    news.changed.insert(index);
  });
}

void UpdateWork::QueueCheckedUpdates() {
  shared_->Change([&](Shared::News& news) {
    for (std::size_t i = 0; i < shared_->items.size(); ++i) {
      UpdateItem& item = shared_->items[i];
      if (item.info.state != kStateNewer && item.info.state != kStateNewerAlso) continue;
      if (item.checked) {
        shared_->SetStateLocked(news, static_cast<int>(i), kStateQueued);
      } else if (item.checkEnabled) {
        item.checkEnabled = false;
        news.changed.insert(static_cast<int>(i));
      }
    }
    shared_->updateStarted = true;
  });
}

void UpdateWork::HandleRelay(std::int64_t wParam, std::int64_t lParam) {
  shared_->Change([&](Shared::News& news) {
    Shared& s = *shared_;
    const int index = s.installing;
    UpdateItem* item = s.At(index);
    Trace("update: installer report " + std::to_string(wParam) + ", " + std::to_string(lParam) +
          (item ? " about " + item->info.name : std::string(" with no item being installed")));
    if (!item) return;
    switch (wParam) {
      case 1: {
        item->info.currentVersion = item->info.newVersion;
        item->info.newVersion.clear();
        s.SetStateLocked(news, index, kStateUpToDate);
        item->checked = false;
        news.changed.insert(index);
        s.installerStarted = 0;
        const bool othersPending = std::any_of(s.items.begin(), s.items.end(), [](const UpdateItem& other) {
          return other.checked && other.info.state != kStateUpToDate;
        });
        if (othersPending) return;
        bool something = false;
        for (std::size_t i = 0; i < s.items.size(); ++i) {
          UpdateItem& other = s.items[i];
          if (other.info.state == kStateUpToDate) continue;
          something = true;
          if (!other.checkEnabled) {
            other.checkEnabled = true;
            news.changed.insert(static_cast<int>(i));
          }
        }
        s.SetStatusLocked(news, something ? kStatusHaveUpdate : kStatusLatest);
        return;
      }
      case 2:
        if (s.installerStarted != 0 && s.installerStarted != 1) s.SetStateLocked(news, index, kStateFailed);
        s.SettleStatusLocked(news);
        return;
      case 3:
        s.installerStarted = -1;
        s.SetStateLocked(news, index, kStateFailed);
        s.SettleStatusLocked(news);
        return;
      case 4: {
        const int percent = static_cast<int>(std::clamp<std::int64_t>(lParam, 0, 100));
        if (item->progress != percent) {
          item->progress = percent;
          news.changed.insert(index);
        }
        return;
      }
      default:
        return;
    }
  });
}

bool UpdateWork::UpdateRunning() const {
  std::lock_guard lock(shared_->mutex);
  return std::any_of(shared_->items.begin(), shared_->items.end(),
                     [](const UpdateItem& item) { return !IsRestingState(item.info.state); });
}

int UpdateWork::Status() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->status;
}

std::string UpdateWork::LastCheckDate() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->lastCheckDate;
}

int UpdateWork::InstallerStarted() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->installerStarted;
}

}  // namespace norvane::update
