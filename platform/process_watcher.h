#pragma once
// Notices the processes of chosen programs starting and ending, on a thread of its own.
//
// What runs is compared with what ran before (the process list, and each new process's executable, name and
// command) only when something may have started:
// - the kernel's process events (the proc connector) tell so where this user may listen to them: a start
//   is seen within a fifth of a second, and a burst of starts costs one look;
// - otherwise a look at /proc every scan interval: while the last process id handed out has not moved,
//   that is one small read and nothing else.
// A process is read again at each look for a few seconds after it was first seen, since launchers (and
// compatibility layers) replace or rename their program just after they started. The end of a watched
// process is seen at once through a process file descriptor. While no program is chosen (no profile rule
// names one) the thread only waits: it costs nothing however busy the machine is.
//
// The listener hears, on the watcher's thread, the complete list of running processes of the chosen
// programs each time that list changes (once at the start as well, empty or not). It should hand the list
// on rather than work on it there.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/process_info.h"

namespace norvane {

class ProcessWatcher {
 public:
  enum class Backend { kNone, kConnector, kScan };

  struct Options {
    std::filesystem::path procRoot = "/proc";
    std::chrono::milliseconds scanInterval{1000};
    // Tests and benchmarks may ask for the scan on a machine where the process events work.
    bool tryConnector = true;
  };

  using Listener = std::function<void(const std::vector<ProcessInfo>& running)>;

  ProcessWatcher(Options options, Listener listener);
  ~ProcessWatcher();
  ProcessWatcher(const ProcessWatcher&) = delete;
  ProcessWatcher& operator=(const ProcessWatcher&) = delete;

  // The programs to watch (names or paths, see ProgramMatches). Any thread; the running list is worked
  // out again for the new set.
  void SetPrograms(std::vector<std::string> programs);

  // Starts the thread; false when it could not be started (nothing is then watched).
  bool Start();
  // Ends the thread; it wakes at once and has nothing that blocks.
  void Stop();

  // The way in use once the thread runs (kNone before).
  Backend ActiveBackend() const { return backend_.load(); }
  // How many times the process list was compared as a whole (for benchmarks and tests).
  std::uint64_t FullScans() const { return fullScans_.load(); }

 private:
  void Run();
  bool OpenConnector();
  void CloseConnector();
  // Waits for the stop, new programs, the kernel's events, ends of watched processes and the next look.
  void Loop();
  // Reads every pending event of the kernel; true when a process was started (or events were lost).
  bool DrainConnector();
  // While no program is chosen: no events listened to and nothing read until programs are chosen (true)
  // or the stop (false).
  bool Rest();
  // Reads every process, as at the start or after events were lost.
  void FullScan();
  // The scan's step: new and young processes read, vanished ones dropped.
  void Rescan();
  void Refilter();
  void Report();
  bool Matches(const ProcessInfo& info) const;
  bool ProgramsChanged();
  void WatchEnds();

  Options options_;
  Listener listener_;

  std::mutex programsMutex_;
  std::vector<std::string> programs_;  // guarded by programsMutex_
  std::atomic<bool> programsDirty_{false};
  std::vector<std::string> threadPrograms_;  // the watcher thread's copy

  std::atomic<Backend> backend_{Backend::kNone};
  std::atomic<std::uint64_t> fullScans_{0};
  int wakeFd_ = -1;  // eventfd: stop, or the programs changed
  std::atomic<bool> stopping_{false};
  std::thread thread_;

  // Watcher thread only.
  int connectorFd_ = -1;
  std::unordered_map<int, ProcessInfo> known_;  // every process seen by the scan
  // Processes first seen a moment ago, read again at each look until then: a launcher often replaces its
  // program by the game's (exec) just after it started.
  std::map<int, std::chrono::steady_clock::time_point> young_;
  std::string lastPidMark_;
  std::map<int, ProcessInfo> matching_;
  std::map<int, ProcessInfo> reported_;
  bool reportedOnce_ = false;
  std::map<int, int> endFds_;  // pid -> pidfd of each matching process
};

}  // namespace norvane
