// Starting downloaded files: installers run directly as the user with their output discarded and are waited
// for without blocking a stop; documents go to the desktop's opener, which is not waited for.

#include "update/installer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "tests/support/temp_folder.h"

namespace norvane::update {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class InstallerTest : public ::testing::Test {
 protected:
  fs::path Script(const std::string& name, const std::string& body) {
    const fs::path path = folder_ / name;
    norvane::testing::WriteText(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0600);  // as a download leaves it
    return path;
  }
  bool WaitForFile(const fs::path& path) {
    for (int i = 0; i < 300 && !fs::exists(path); ++i) std::this_thread::sleep_for(10ms);
    return fs::exists(path);
  }

  norvane::testing::TempFolder folder_;
  std::shared_ptr<IInstallerRunner> runner_ = MakeProcessInstallerRunner();
};

TEST_F(InstallerTest, RunsTheFileDirectlyAsTheUserAndWaitsForItsEnd) {
  const fs::path mark = folder_ / "mark";
  // "$0" is the file itself: no shell command line was made of its name.
  const fs::path installer = Script("setup one.run", "echo \"$0\" > '" + mark.string() + "'\necho noise\necho more >&2\nexit 3\n");
  const InstallerRun run = runner_->Run(installer, {});
  ASSERT_TRUE(run.started) << run.error;
  EXPECT_FALSE(run.stopped);
  EXPECT_EQ(run.exitStatus, 3);
  EXPECT_EQ(norvane::testing::ReadText(mark), installer.string() + "\n");
  struct stat info {};
  ASSERT_EQ(::stat(installer.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u) << "executable for the user only";
}

TEST_F(InstallerTest, FilesThatCannotRunAreReportedNotStarted) {
  const fs::path text = folder_ / "page.html";
  norvane::testing::WriteText(text, "<html>not an installer</html>");
  const InstallerRun garbage = runner_->Run(text, {});
  EXPECT_FALSE(garbage.started) << "no shell makes a script of it";
  EXPECT_FALSE(garbage.error.empty());
  EXPECT_FALSE(runner_->Run(folder_ / "missing", {}).started);
}

TEST_F(InstallerTest, AStopEndsTheWaitAndLeavesTheInstallerRunning) {
  const fs::path done = folder_ / "done";
  const fs::path installer = Script("slow.run", "sleep 0.5\ntouch '" + done.string() + "'\n");
  std::stop_source stop;
  std::thread stopper([&] {
    std::this_thread::sleep_for(100ms);
    stop.request_stop();
  });
  const auto started = std::chrono::steady_clock::now();
  const InstallerRun run = runner_->Run(installer, stop.get_token());
  stopper.join();
  EXPECT_TRUE(run.started);
  EXPECT_TRUE(run.stopped);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 400ms);
  EXPECT_TRUE(WaitForFile(done)) << "the installer was not killed";
}

TEST_F(InstallerTest, DocumentsGoToTheDesktopsOpenerWithoutWaiting) {
  const fs::path seen = folder_ / "opened";
  const fs::path opener = Script("opener", "sleep 0.3\necho \"$1\" > '" + seen.string() + "'\n");
  ::chmod(opener.c_str(), 0700);
  const auto opening = MakeProcessInstallerRunner(opener.string());
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(opening->Open(folder_ / "notes.pdf"));
  EXPECT_LT(std::chrono::steady_clock::now() - started, 250ms) << "not waited for";
  ASSERT_TRUE(WaitForFile(seen));
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(norvane::testing::ReadText(seen), (folder_ / "notes.pdf").string() + "\n");
  EXPECT_FALSE(MakeProcessInstallerRunner((folder_ / "no-such-opener").string())->Open(folder_ / "x"));
}

}  // namespace
}  // namespace norvane::update
