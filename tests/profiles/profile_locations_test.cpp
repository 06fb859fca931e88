// Device folders, default profile paths and the tabs each device kind shows.
#include "profiles/profile_locations.h"

#include <gtest/gtest.h>

#include "platform/xdg_paths.h"
#include "profiles/profile_tabs.h"
#include "tests/support/temp_folder.h"

namespace norvane {
namespace {

using testing::ScopedEnv;
using testing::TempFolder;

TEST(ProfileLocations, DeviceFoldersAreCreatedBelowTheUserDataFolder) {
  TempFolder root;
  ScopedEnv data("XDG_DATA_HOME", root.path().c_str());
  const auto folder = DeviceDataFolder(kMousePadFolder);
  EXPECT_EQ(folder, root.path() / "R27 有线" / "MousePad" / "");
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_TRUE(DeviceDataFolder("../escape").empty());
  EXPECT_FALSE(std::filesystem::exists(root.path() / "R27 有线" / "escape"));
}

TEST(ProfileLocations, DefaultProfilesAreNamedAfterTheDeviceFolder) {
  SetDefaultDataFolderOverride("/defaults");
  EXPECT_EQ(DefaultProfilePath(kHeadsetFolder), std::filesystem::path("/defaults/HD.Json"));
  EXPECT_EQ(DefaultProfilePath(kKeyboardFolder), std::filesystem::path("/defaults/keyboard.Json"));
  EXPECT_TRUE(DefaultProfilePath("a/b").empty());
  SetDefaultDataFolderOverride({});
  for (std::string_view name : {kKeyboardFolder, kMouseFolder, kMousePadFolder, kHeadsetFolder}) {
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(NORVANE_SOURCE_DIR) / "DefaultData" /
                                        (std::string(name) + ".Json")))
        << name;
  }
}

TEST(ProfileTabs, EachKindShowsItsTabs) {
  auto visible = [](int kind) {
    std::string shown;
    for (int n = 1; n <= 8; ++n) shown += IsProfileTabVisible(kind, ProfileTabName(n)) ? '1' : '0';
    return shown;
  };
  EXPECT_EQ(visible(1), "11110000");
  EXPECT_EQ(visible(2), "11111000");
  EXPECT_EQ(visible(6), "11111000");
  EXPECT_EQ(visible(3), "10000000");
  EXPECT_EQ(visible(5), "10000000");
  EXPECT_EQ(visible(4), "10010000");
  EXPECT_EQ(visible(7), "10000111");
  EXPECT_TRUE(ProfileTabName(0).empty());
  EXPECT_TRUE(ProfileTabName(9).empty());
}

}  // namespace
}  // namespace norvane
