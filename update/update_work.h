#pragma once
// The update work of one settings window: the list of items (one per listed entry) and the three workers
// that fill and act on it.
//
// - The check worker adds an item per entry (state 7, local version), asks the service about each, takes
//   the answers in, checks the items with something newer and sets the list's status; then it ends.
// - The download worker waits for the user's update start, then downloads every checked item in state 3
//   or 8 (state 4 with its progress, then 5, or 8 when it failed), pausing 4 s between downloads.
// - The install worker starts every checked item in state 5 (after 1 s: state 6): an installer is run and
//   waited for and started again while its item is still installing, at most three runs per update start,
//   each run given a few seconds after its end for a late report; a file the service marks with device id 1
//   is opened with the desktop's handler instead. Only an installer's report "1" (through the settings
//   window, HandleRelay) makes an item done; "3" makes it failed.
//
// The list is the one truth about the items: workers and the window's thread change it under its lock, and
// every change is told to the listener, which the window uses to redraw from a snapshot on its own thread.
// Workers never touch the window. Stop asks every worker to end and ends every wait of theirs at once
// (HTTP transfers, sleeps, an installer being waited for, which is left running); a worker that still
// overruns the bound is left to end on its own and keeps alive what it uses.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "update/http_client.h"
#include "update/installer.h"
#include "update/stop_sleep.h"
#include "update/update_info.h"

namespace norvane::update {

// The list's status line.
enum UpdateStatus : int {
  kStatusChecking = 0,       // "GetUpdateInfoText", with the busy ring
  kStatusHaveUpdate = 1,     // "HaveUpdateInfoText"
  kStatusUnreachable = 2,    // "NoUpdateInfoText": no entry reached the service
  kStatusUpdating = 3,       // "ISUpdateINGText"
  kStatusLatest = 4,         // "UpdateIsLastText" + the last check's date
  kStatusNotConfigured = 5,  // "NoUpdateServiceText": no update service is configured
};
[[nodiscard]] std::string_view StatusTextId(int status);

// One list item as the window shows it.
struct UpdateItem {
  UpdateInfo info;
  bool checked = false;
  bool checkEnabled = false;
  int progress = 0;  // percent, shown while the state shows progress
};

// Told of every change, from any thread, never while the list is locked. Implementations queue the news
// for the window's thread and read the list there.
class IUpdateListener {
 public:
  virtual ~IUpdateListener() = default;
  virtual void ItemAdded(int index) = 0;
  virtual void ItemChanged(int index) = 0;
  virtual void StatusChanged(int status) = 0;
  // An installer could not be started at all (the window says "Update failed!").
  virtual void InstallerNotStarted(int index) = 0;
};

// What the workers use; tests replace any of it.
struct UpdateServices {
  // The service's query address (base + "updates"); empty: none configured.
  std::string updatesUrl;
  std::function<UpdateInfo(const std::string& url, std::string_view appKey, std::int32_t version, bool hex,
                           std::stop_token stop)>
      check;
  std::function<DownloadResult(std::string_view url, const std::filesystem::path& file,
                               const DownloadProgress& progress, std::stop_token stop)>
      download;
  std::shared_ptr<IInstallerRunner> installer;
  std::shared_ptr<ISleeper> sleeper;
  std::filesystem::path downloadFolder;  // made private before the first download
  std::filesystem::path timeFile;        // "updatetime.config"
  std::function<std::string()> today;
  std::chrono::milliseconds downloadPause{4000};
  std::chrono::milliseconds installDelay{1000};
  // How long an installer's end is given for its report before the run counts as failed.
  std::chrono::milliseconds lateReportWait{3000};
  int maxInstallerRuns = 3;
};

// The program's own: the service from the configuration, libcurl, real processes and sleeps, the user's
// folders.
[[nodiscard]] UpdateServices DefaultUpdateServices();

class UpdateWork {
 public:
  UpdateWork(std::vector<UpdateEntry> entries, std::shared_ptr<IUpdateListener> listener, UpdateServices services);
  ~UpdateWork();  // Stop()
  UpdateWork(const UpdateWork&) = delete;
  UpdateWork& operator=(const UpdateWork&) = delete;

  // Reads the last check's date (starting the file when it holds none) and starts the three workers.
  void Start();
  // Asks every worker to stop and waits up to `bound` for each. Returns how many overran (left to end on
  // their own). Safe to call again.
  int Stop(std::chrono::milliseconds bound = std::chrono::milliseconds(100));

  // ---- For the window's thread.
  [[nodiscard]] int ItemCount() const;
  [[nodiscard]] std::optional<UpdateItem> Item(int index) const;
  [[nodiscard]] std::vector<UpdateItem> Items() const;
  [[nodiscard]] bool AnyChecked() const;
  // The user checked or unchecked an item (ignored while its check box is disabled).
  void SetChecked(int index, bool checked);
  // The update button: checked items with something newer are queued, the others can no longer be
  // checked; the download worker starts.
  void QueueCheckedUpdates();
  // An installer's report: 1 done, 2 ended (failed unless an installer is waited for or done), 3 failed,
  // 4 progress (lParam percent). Acts on the item being installed; nothing when there is none.
  void HandleRelay(std::int64_t wParam, std::int64_t lParam);
  // True while an item is queued, downloading, downloaded or installing: the window stays open.
  [[nodiscard]] bool UpdateRunning() const;
  [[nodiscard]] int Status() const;
  [[nodiscard]] std::string LastCheckDate() const;
  [[nodiscard]] int InstallerStarted() const;

  // What the window and the workers share (the workers keep it alive while they run).
  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
  struct Worker;
  std::vector<std::unique_ptr<Worker>> workers_;
};

}  // namespace norvane::update
