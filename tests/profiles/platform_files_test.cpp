// Atomic writes and the program's folders.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/xdg_paths.h"
#include "tests/support/temp_folder.h"

namespace norvane {
namespace {

using testing::ReadText;
using testing::ScopedEnv;
using testing::TempFolder;
using testing::WriteText;

std::size_t FilesIn(const std::filesystem::path& folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

TEST(AtomicFile, WritesNewFilesAndReplacesOldOnes) {
  TempFolder folder;
  const auto path = folder / "a.json";
  ASSERT_TRUE(WriteFileAtomically(path, "first"));
  EXPECT_EQ(ReadText(path), "first");
  ASSERT_TRUE(WriteFileAtomically(path, "second, longer"));
  EXPECT_EQ(ReadText(path), "second, longer");
  EXPECT_EQ(FilesIn(folder.path()), 1u) << "no temporary file may stay behind";
}

TEST(AtomicFile, FailureMidwayLeavesOldFileAndNoTemporary) {
  TempFolder folder;
  const auto path = folder / "profile.Json";
  WriteText(path, "old content");
  FileResult result;
  {
    ScopedWriteFailure failure(3);
    result = WriteFileAtomically(path, "new content that never fully arrives");
  }
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("profile.Json"), std::string::npos) << result.error;
  EXPECT_EQ(ReadText(path), "old content");
  EXPECT_EQ(FilesIn(folder.path()), 1u);
}

TEST(StagedFile, TargetChangesOnlyOnCommitAndAnUncommittedStageLeavesNothing) {
  TempFolder folder;
  const auto path = folder / "a.Json";
  WriteText(path, "old");
  {
    StagedFile staged(path, "new");
    ASSERT_TRUE(staged.staged());
    EXPECT_EQ(ReadText(path), "old");
    EXPECT_EQ(FilesIn(folder.path()), 2u);
  }
  EXPECT_EQ(ReadText(path), "old");
  EXPECT_EQ(FilesIn(folder.path()), 1u) << "the temporary goes with its object";

  StagedFile first(path, "new");
  StagedFile moved(std::move(first));
  ASSERT_TRUE(moved.Commit());
  EXPECT_EQ(ReadText(path), "new");
  EXPECT_FALSE(moved.Commit()) << "a stage is used once";
  EXPECT_FALSE(first.Commit());  // NOLINT(bugprone-use-after-move): a moved-from stage holds nothing
  EXPECT_EQ(ReadText(path), "new");
  EXPECT_EQ(FilesIn(folder.path()), 1u);
}

TEST(StagedFile, FailuresKeepTheTargetAndNoTemporary) {
  TempFolder folder;
  const auto path = folder / "a.Json";
  WriteText(path, "old");
  {
    ScopedWriteFailure failure(2);
    StagedFile staged(path, "new content");
    EXPECT_FALSE(staged.staged());
    EXPECT_FALSE(staged.Commit());
  }
  EXPECT_EQ(FilesIn(folder.path()), 1u);
  // A folder in the target's place cannot be replaced by a file.
  std::filesystem::create_directories(folder / "dir.Json" / "inside");
  StagedFile onto_folder(folder / "dir.Json", "x");
  ASSERT_TRUE(onto_folder.staged());
  const FileResult committed = onto_folder.Commit();
  EXPECT_FALSE(committed);
  EXPECT_NE(committed.error.find("dir.Json"), std::string::npos) << committed.error;
  EXPECT_EQ(ReadText(path), "old");
  EXPECT_FALSE(StagedFile(folder / "missing" / "x", "x").staged());
}

TEST(AtomicFile, NewFilesFollowTheUmaskAndReplacedFilesKeepTheirMode) {
  TempFolder folder;
  const mode_t old_mask = ::umask(027);
  ASSERT_TRUE(WriteFileAtomically(folder / "new", "x"));
  ::umask(old_mask);
  const auto permissions = [](const std::filesystem::path& path) {
    return std::filesystem::status(path).permissions() & std::filesystem::perms::mask;
  };
  using std::filesystem::perms;
  EXPECT_EQ(permissions(folder / "new"), perms::owner_read | perms::owner_write | perms::group_read);
  std::filesystem::permissions(folder / "new", perms::owner_read | perms::owner_write);
  ASSERT_TRUE(WriteFileAtomically(folder / "new", "y"));
  EXPECT_EQ(permissions(folder / "new"), perms::owner_read | perms::owner_write);
}

TEST(AtomicFile, ReportsAMissingFolder) {
  TempFolder folder;
  const FileResult result = WriteFileAtomically(folder / "missing/sub/file", "x");
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.error.empty());
}

TEST(AtomicFile, CopyOntoItselfKeepsTheFileAndCopyReplacesTarget) {
  TempFolder folder;
  const auto source = folder / "source";
  const auto target = folder / "target";
  WriteText(source, "payload");
  WriteText(target, "old");
  EXPECT_TRUE(CopyFileAtomically(source, source));
  EXPECT_EQ(ReadText(source), "payload");
  EXPECT_TRUE(CopyFileAtomically(source, target));
  EXPECT_EQ(ReadText(target), "payload");
  EXPECT_FALSE(CopyFileAtomically(folder / "absent", target));
  EXPECT_EQ(ReadText(target), "payload") << "a failed copy must not touch the target";
}

// A write killed midway leaves its hidden temporary; the next write of the same file removes the old ones and
// nothing else: not a write still going on elsewhere (a fresh temporary), not another file's, not the user's.
TEST(AtomicFile, AWriteClearsTheTemporariesAKilledWriteLeftOfTheSameFile) {
  TempFolder folder;
  const auto aged = [&](const std::string& name) {
    WriteText(folder / name, "partial");
    std::filesystem::last_write_time(folder / name,
                                     std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5));
  };
  aged(".Profile1.Json.a1B2c3");
  aged(".Profile1.Json.Zz9yY8");
  aged(".Profile2.Json.a1B2c3");      // another file's
  aged(".Profile1.Json.bak");         // not six letters and digits
  aged(".Profile1.Json.a1-2c3");      // not what the temporary name is made of
  WriteText(folder / ".Profile1.Json.q7W8e9", "being written");  // fresh: another process may be writing

  ASSERT_TRUE(WriteFileAtomically(folder / "Profile1.Json", "new"));
  EXPECT_EQ(ReadText(folder / "Profile1.Json"), "new");
  std::vector<std::string> left;
  for (const auto& item : std::filesystem::directory_iterator(folder.path())) {
    left.push_back(item.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{".Profile1.Json.a1-2c3", ".Profile1.Json.bak", ".Profile1.Json.q7W8e9",
                                            ".Profile2.Json.a1B2c3", "Profile1.Json"}));
}

TEST(XdgPaths, FoldersFollowTheEnvironmentAndKeepTheirName) {
  ScopedEnv data("XDG_DATA_HOME", "/data/home");
  ScopedEnv config("XDG_CONFIG_HOME", "/config/home");
  EXPECT_EQ(UserDataFolder().string(), "/data/home/R27 有线/");
  EXPECT_EQ(ConfigFolder().string(), "/config/home/R27 有线/");
}

TEST(XdgPaths, UnsetOrRelativeVariablesFallBackBelowHome) {
  ScopedEnv home("HOME", "/home/someone");
  ScopedEnv data("XDG_DATA_HOME", "relative/path");
  ScopedEnv config("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(UserDataFolder().string(), "/home/someone/.local/share/R27 有线/");
  EXPECT_EQ(ConfigFolder().string(), "/home/someone/.config/R27 有线/");
}

TEST(XdgPaths, DefaultDataFolderCanBeOverridden) {
  {
    ScopedEnv env("NORVANE_DEFAULT_DATA", nullptr);
    EXPECT_EQ(DefaultDataFolder().parent_path().filename(), "DefaultData");
  }
  {
    ScopedEnv env("NORVANE_DEFAULT_DATA", "/opt/defaults");
    EXPECT_EQ(DefaultDataFolder().string(), "/opt/defaults/");
    SetDefaultDataFolderOverride("/explicit");
    EXPECT_EQ(DefaultDataFolder().string(), "/explicit/");
    SetDefaultDataFolderOverride({});
    EXPECT_EQ(DefaultDataFolder().string(), "/opt/defaults/");
  }
}

TEST(XdgPaths, PlainFileNames) {
  EXPECT_TRUE(IsPlainFileName("2024_01_02_03_04_05_006"));
  EXPECT_TRUE(IsPlainFileName("..."));
  EXPECT_TRUE(IsPlainFileName("name with spaces 有线"));
  EXPECT_FALSE(IsPlainFileName(""));
  EXPECT_FALSE(IsPlainFileName("."));
  EXPECT_FALSE(IsPlainFileName(".."));
  EXPECT_FALSE(IsPlainFileName("../evil"));
  EXPECT_FALSE(IsPlainFileName("a/b"));
  EXPECT_FALSE(IsPlainFileName("a\\b"));
  EXPECT_FALSE(IsPlainFileName(std::string_view("a\0b", 3)));
}

}  // namespace
}  // namespace norvane
