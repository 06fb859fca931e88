// Saving survives a killed process. The saver program writes a profile and a macro file in a loop and is
// killed with SIGKILL at random moments; after every kill each file must be a whole version written by the
// program (never empty, cut short or mixed), the profile's generations never go back, and no damaged file
// was ever found (it would have been kept as ".bak"). A damaged file found at start is kept as ".bak"
// before the repair replaces it.
//
// NORVANE_KILLS sets the number of kills (60 by default; scripts/soak asks for 1,000).

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/atomic_file.h"
#include "profiles/json_file_util.h"
#include "tests/support/program_starts.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace norvane::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kDefaultProfile = fs::path(NORVANE_SOURCE_DIR) / "DefaultData" / "keyboard.Json";

int KillsToRun() {
  const char* text = std::getenv("NORVANE_KILLS");
  const int kills = text ? std::atoi(text) : 0;
  return kills > 0 ? kills : 60;
}

// One run of the saver, killed when the object goes if it still runs.
class SaverRun {
 public:
  explicit SaverRun(const fs::path& folder) {
    const std::string program = NORVANE_CRASH_SAVER;
    const std::string folderText = folder.string();
    const std::string defaultText = kDefaultProfile.string();
    std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>(folderText.c_str()),
                               const_cast<char*>(defaultText.c_str()), nullptr};
    if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
  }
  ~SaverRun() { Kill(); }
  SaverRun(const SaverRun&) = delete;
  SaverRun& operator=(const SaverRun&) = delete;

  [[nodiscard]] bool started() const { return pid_ > 0; }

  // Kills it; true when it was still running (had it ended, a save failed).
  bool Kill() {
    if (pid_ <= 0) return false;
    const bool running = ::waitpid(pid_, &status_, WNOHANG) == 0;
    if (running) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status_, 0);
    }
    pid_ = -1;
    return running;
  }
  [[nodiscard]] int status() const { return status_; }

 private:
  pid_t pid_ = -1;
  int status_ = 0;
};

// What a file holds: nothing (missing), a whole document the program wrote, or something else.
struct FileCheck {
  bool exists = false;
  bool whole = false;
  Json::Value value;
};

FileCheck Check(const fs::path& path) {
  FileCheck check;
  std::string bytes;
  if (!fs::exists(path)) return check;
  check.exists = true;
  if (!ReadWholeFile(path, bytes) || bytes.empty()) return check;
  // Whole means: it parses, and it is exactly the text the program writes for what it holds.
  check.whole = JsonFileUtil::TryParseJson(bytes, check.value) && JsonFileUtil::StyledText(check.value) == bytes;
  return check;
}

int HiddenFilesIn(const fs::path& folder) {
  int count = 0;
  for (const auto& item : fs::directory_iterator(folder)) count += item.path().filename().string().front() == '.';
  return count;
}

class CrashSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!kTestsStartPrograms) GTEST_SKIP() << kNoProgramsUnderThreadSanitizer;
  }

  // The profile's generation after checking that every file is whole; -1 with a failure recorded when not.
  long long CheckFolder(long long lastGeneration, int kill) {
    const FileCheck profile = Check(folder_ / "Profile1.Json");
    long long generation = lastGeneration;
    if (profile.exists) {
      EXPECT_TRUE(profile.whole) << "kill " << kill << ": the profile is not a whole document";
      const Json::Value& counted = profile.value["Device"][0]["KillTestGeneration"];
      if (counted.isIntegral()) {
        generation = counted.asInt64();
        EXPECT_GE(generation, lastGeneration) << "kill " << kill << ": the profile went back to an older save";
      }
    }
    EXPECT_FALSE(fs::exists(folder_ / "Profile1.Json.bak")) << "kill " << kill << ": a damaged profile was found";

    const FileCheck list = Check(folder_ / "macro.config");
    if (list.exists) {
      EXPECT_TRUE(list.whole) << "kill " << kill << ": the macro list is not a whole document";
      EXPECT_EQ(list.value["MacroInfo"].size(), 1u) << "kill " << kill;
      const std::string guid = list.value["MacroInfo"][0]["Guid"].asString();
      const FileCheck macro = Check(folder_ / (guid + ".mac"));
      if (macro.exists) {
        EXPECT_TRUE(macro.whole) << "kill " << kill << ": the macro file is not a whole document";
        EXPECT_EQ(macro.value["Version"], 64) << "kill " << kill;
        const Json::ArrayIndex events = macro.value["Events"].size();
        EXPECT_TRUE(events >= 1 && events <= 40) << "kill " << kill << ": " << events << " events";
      }
    }
    return ::testing::Test::HasFailure() ? -1 : generation;
  }

  // How long a saver takes here from its start to its first finished save (a sanitizer build or a loaded
  // machine takes many times longer than a plain one); -1 when it never got there.
  long long MillisecondsToFirstSave() {
    const auto started = std::chrono::steady_clock::now();
    SaverRun saver(folder_.path());
    if (!saver.started()) return -1;
    while (std::chrono::steady_clock::now() - started < std::chrono::seconds(20)) {
      const FileCheck profile = Check(folder_.path() / "Profile1.Json");
      if (profile.whole && profile.value["Device"][0]["KillTestGeneration"].isIntegral()) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
            .count();
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return -1;
  }

  TempFolder folder_;
};

TEST_F(CrashSafetyTest, EveryFileHoldsAWholeSaveWhereverTheSaverIsKilled) {
  const int kills = KillsToRun();
  std::mt19937 random(20261210);
  const long long firstSave = MillisecondsToFirstSave();
  ASSERT_GE(firstSave, 0) << "the saver never finished a save";
  // Short waits land in the start (the load, the first saves), longer ones in the saving loop; the range
  // follows this machine's pace, so that most kills land while saving however slow the build.
  std::uniform_int_distribution<long long> waitMs(0, std::max<long long>(100, 3 * firstSave));
  long long generation = CheckFolder(0, 0);
  ASSERT_GE(generation, 0);
  int killedRunning = 0;
  for (int kill = 1; kill <= kills; ++kill) {
    SaverRun saver(folder_.path());
    ASSERT_TRUE(saver.started()) << "cannot start " << NORVANE_CRASH_SAVER;
    std::this_thread::sleep_for(std::chrono::milliseconds(waitMs(random)));
    if (saver.Kill()) {
      ++killedRunning;
    } else {
      ADD_FAILURE() << "kill " << kill << ": the saver ended by itself (status " << saver.status() << ")";
    }
    generation = CheckFolder(generation, kill);
    ASSERT_GE(generation, 0) << "stopped at the first damaged file";
  }
  // A run whose saver never got to save proves nothing.
  EXPECT_GT(generation, kills / 10) << "too few saves finished between the kills";
  std::printf("crash safety: %d kills (%d while saving), %lld saves finished, %d temporary files left; first save "
              "after %lld ms\n",
              kills, killedRunning, generation, HiddenFilesIn(folder_.path()), firstSave);
}

TEST_F(CrashSafetyTest, ADamagedProfileFoundAtStartIsKeptAsBakBeforeTheRepair) {
  std::string whole;
  ASSERT_TRUE(ReadWholeFile(kDefaultProfile, whole));
  const std::string damaged = whole.substr(0, whole.size() / 2);
  WriteText(folder_ / "Profile1.Json", damaged);

  SaverRun saver(folder_.path());
  ASSERT_TRUE(saver.started());
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  long long generation = 0;
  while (generation < 3 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
    const FileCheck profile = Check(folder_ / "Profile1.Json");
    if (profile.whole) generation = profile.value["Device"][0].get("KillTestGeneration", 0).asInt64();
  }
  EXPECT_TRUE(saver.Kill()) << "the saver ended by itself (status " << saver.status() << ")";
  EXPECT_GE(generation, 3) << "the repaired profile was never saved again";
  EXPECT_EQ(ReadText(folder_ / "Profile1.Json.bak"), damaged) << "the damaged file is kept as it was found";
}

}  // namespace
}  // namespace norvane::testing
