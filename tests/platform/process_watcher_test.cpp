// The process watcher: processes of the chosen programs are reported as they start and end, with either
// way of noticing them, and a look at /proc does nothing when nothing was started.

#include "platform/process_watcher.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/copied_program.h"
#include "tests/support/temp_folder.h"

namespace norvane {
namespace {

using namespace std::chrono_literals;

// What the listener heard, for the test thread to wait on.
class Heard {
 public:
  ProcessWatcher::Listener Listener() {
    return [this](const std::vector<ProcessInfo>& running) {
      std::lock_guard lock(mutex_);
      lists_.push_back(running);
      changed_.notify_all();
    };
  }
  // Waits until the latest list holds exactly these pids.
  bool WaitFor(std::vector<int> pids, std::chrono::milliseconds limit = 5s) {
    std::sort(pids.begin(), pids.end());
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return !lists_.empty() && Pids(lists_.back()) == pids; });
  }
  std::size_t Count() {
    std::lock_guard lock(mutex_);
    return lists_.size();
  }
  std::vector<ProcessInfo> Last() {
    std::lock_guard lock(mutex_);
    return lists_.empty() ? std::vector<ProcessInfo>{} : lists_.back();
  }

 private:
  static std::vector<int> Pids(const std::vector<ProcessInfo>& list) {
    std::vector<int> pids;
    for (const ProcessInfo& info : list) pids.push_back(info.pid);
    std::sort(pids.begin(), pids.end());
    return pids;
  }
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::vector<ProcessInfo>> lists_;
};

// A /proc of our own making.
class FakeProc {
 public:
  explicit FakeProc(const std::filesystem::path& root) : root_(root) { SetLastPid(1); }
  void Add(int pid, const std::string& exe) {
    const std::filesystem::path folder = root_ / std::to_string(pid);
    std::filesystem::create_directories(folder);
    Exec(pid, exe);
  }
  void Exec(int pid, const std::string& exe) {
    const std::filesystem::path folder = root_ / std::to_string(pid);
    std::filesystem::remove(folder / "exe");
    std::filesystem::create_symlink(exe, folder / "exe");
    const std::string name = std::filesystem::path(exe).filename().string();
    testing::WriteText(folder / "cmdline", exe + std::string(1, '\0') + "--flag" + std::string(1, '\0'));
    testing::WriteText(folder / "comm", name.substr(0, 15) + "\n");
  }
  void Remove(int pid) { std::filesystem::remove_all(root_ / std::to_string(pid)); }
  void SetLastPid(int pid) {
    testing::WriteText(root_ / "loadavg", "0.10 0.20 0.30 1/99 " + std::to_string(pid) + "\n");
  }

 private:
  std::filesystem::path root_;
};

class ScanTest : public ::testing::Test {
 protected:
  ProcessWatcher::Options Options() {
    ProcessWatcher::Options options;
    options.procRoot = folder_.path();
    options.scanInterval = 20ms;
    options.tryConnector = false;
    return options;
  }
  testing::TempFolder folder_;
  FakeProc proc_{folder_.path()};
  Heard heard_;
};

TEST_F(ScanTest, StartsAndEndsOfTheChosenProgramsAreReportedAndNothingElse) {
  proc_.Add(10, "/usr/bin/bash");
  ProcessWatcher watcher(Options(), heard_.Listener());
  watcher.SetPrograms({"game"});
  ASSERT_TRUE(watcher.Start());
  ASSERT_TRUE(heard_.WaitFor({}));
  EXPECT_EQ(watcher.ActiveBackend(), ProcessWatcher::Backend::kScan);

  proc_.Add(11, "/opt/game/game");
  proc_.Add(12, "/usr/bin/ls");
  proc_.SetLastPid(12);
  ASSERT_TRUE(heard_.WaitFor({11}));
  EXPECT_EQ(heard_.Last().front().exe, "/opt/game/game");
  EXPECT_EQ(heard_.Last().front().argv0, "/opt/game/game");
  EXPECT_EQ(heard_.Last().front().comm, "game");

  proc_.Remove(11);
  ASSERT_TRUE(heard_.WaitFor({}));

  // Another program chosen: what already runs of it is found at once.
  watcher.SetPrograms({"ls", "bash"});
  ASSERT_TRUE(heard_.WaitFor({10, 12}));
}

TEST_F(ScanTest, ALauncherThatBecomesTheGameAfterItWasFirstSeenIsNoticed) {
  ProcessWatcher watcher(Options(), heard_.Listener());
  watcher.SetPrograms({"game"});
  ASSERT_TRUE(watcher.Start());
  ASSERT_TRUE(heard_.WaitFor({}));
  proc_.Add(20, "/usr/bin/sh");
  proc_.SetLastPid(20);
  std::this_thread::sleep_for(60ms);  // seen as the shell
  proc_.Exec(20, "/opt/game/game");   // the shell's exec: no new process id
  EXPECT_TRUE(heard_.WaitFor({20}));
}

TEST_F(ScanTest, WhileNothingIsStartedTheProcessListIsNotRead) {
  proc_.Add(10, "/usr/bin/bash");
  ProcessWatcher watcher(Options(), heard_.Listener());
  watcher.SetPrograms({"game"});
  ASSERT_TRUE(watcher.Start());
  ASSERT_TRUE(heard_.WaitFor({}));
  std::this_thread::sleep_for(100ms);
  const std::uint64_t scans = watcher.FullScans();
  std::this_thread::sleep_for(300ms);  // fifteen intervals
  EXPECT_EQ(watcher.FullScans(), scans);
  EXPECT_EQ(heard_.Count(), 1u);
  proc_.SetLastPid(33);
  std::this_thread::sleep_for(100ms);
  EXPECT_GT(watcher.FullScans(), scans);
  EXPECT_EQ(heard_.Count(), 1u);  // nothing of interest: nothing said
}

TEST_F(ScanTest, WithoutAChosenProgramNothingIsReadHoweverManyStartAndAChoiceFindsWhatRuns) {
  proc_.Add(10, "/opt/game/game");
  ProcessWatcher watcher(Options(), heard_.Listener());
  ASSERT_TRUE(watcher.Start());
  ASSERT_TRUE(heard_.WaitFor({}));
  for (int pid = 11; pid < 20; ++pid) {
    proc_.Add(pid, "/usr/bin/ls");
    proc_.SetLastPid(pid);
    std::this_thread::sleep_for(25ms);
  }
  EXPECT_EQ(watcher.FullScans(), 0u);

  watcher.SetPrograms({"game"});
  ASSERT_TRUE(heard_.WaitFor({10}));
  // The last rule gone: the game no longer counts, and the watcher rests again.
  watcher.SetPrograms({});
  ASSERT_TRUE(heard_.WaitFor({}));
  std::this_thread::sleep_for(50ms);
  const std::uint64_t scans = watcher.FullScans();
  proc_.SetLastPid(40);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(watcher.FullScans(), scans);
}

void CheckRealProgram(bool tryConnector) {
  testing::TempFolder folder;
  // Named after this test process: tests run side by side watch the same machine.
  testing::CopiedProgram program(folder.path() / ("norvane-watched-" + std::to_string(getpid())));
  Heard heard;
  ProcessWatcher::Options options;
  options.tryConnector = tryConnector;
  options.scanInterval = 50ms;
  ProcessWatcher watcher(options, heard.Listener());
  watcher.SetPrograms({"norvane-watched-" + std::to_string(getpid())});
  ASSERT_TRUE(watcher.Start());
  ASSERT_TRUE(heard.WaitFor({}));
  program.Start();
  ASSERT_TRUE(heard.WaitFor({program.Pid()}));
  const auto ended = std::chrono::steady_clock::now();
  program.Stop();
  ASSERT_TRUE(heard.WaitFor({}));
  // The end is seen at once, not at the next look.
  EXPECT_LT(std::chrono::steady_clock::now() - ended, 1s);
}

TEST(ProcessWatcherTest, ARealProgramIsSeenStartingAndEndingByScanning) {
  CheckRealProgram(false);
}

TEST(ProcessWatcherTest, ARealProgramIsSeenStartingAndEndingByTheKernelsEventsWhereAllowed) {
  ProcessWatcher probe({}, {});
  ASSERT_TRUE(probe.Start());
  while (probe.ActiveBackend() == ProcessWatcher::Backend::kNone) std::this_thread::sleep_for(1ms);
  const bool connector = probe.ActiveBackend() == ProcessWatcher::Backend::kConnector;
  probe.Stop();
  if (!connector) GTEST_SKIP() << "this user may not listen to the kernel's process events";
  CheckRealProgram(true);
}

}  // namespace
}  // namespace norvane
