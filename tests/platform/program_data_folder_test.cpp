// The program finds its skins and default data from where its executable lies: beside it in the build
// tree, in ../share/norvane when installed.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/xdg_paths.h"
#include "tests/support/temp_folder.h"

namespace norvane {
namespace {

TEST(ProgramDataFolder, BesideTheExecutableInTheBuildTreeAndInShareWhenInstalled) {
  testing::TempFolder folder;
  const std::filesystem::path build = folder.path() / "build" / "bin";
  std::filesystem::create_directories(build / "skin");
  EXPECT_EQ(ProgramDataFolderFor(build), build / "");

  const std::filesystem::path installed = folder.path() / "usr" / "bin";
  std::filesystem::create_directories(installed);
  std::filesystem::create_directories(folder.path() / "usr" / "share" / "norvane" / "skin");
  EXPECT_EQ(ProgramDataFolderFor(installed), folder.path() / "usr" / "share" / "norvane" / "");
}

TEST(ProgramDataFolder, DefaultDataFollowsTheProgramDataFolderUnlessOverridden) {
  testing::ScopedEnv noOverride("NORVANE_DEFAULT_DATA", nullptr);
  EXPECT_EQ(DefaultDataFolder(), ProgramDataFolder() / "DefaultData" / "");
  testing::ScopedEnv overridden("NORVANE_DEFAULT_DATA", "/somewhere/else");
  EXPECT_EQ(DefaultDataFolder(), std::filesystem::path("/somewhere/else/"));
}

}  // namespace
}  // namespace norvane
