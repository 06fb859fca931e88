// The profile list on a real folder: every operation, its result codes and the faults it must not have.
#include "profiles/profile_list.h"

#include <gtest/gtest.h>

#include "platform/atomic_file.h"
#include "platform/xdg_paths.h"
#include "profiles/json_file_util.h"
#include "profiles/profile_names.h"
#include "tests/support/temp_folder.h"

namespace norvane {
namespace {

using testing::ReadText;
using testing::ScopedEnv;
using testing::TempFolder;
using testing::WriteText;

const std::filesystem::path kDefaults = std::filesystem::path(NORVANE_SOURCE_DIR) / "DefaultData";

// A clock that stands still unless told to move, so that identifiers are predictable and collide.
class FixedTime final : public TimeSource {
 public:
  std::chrono::system_clock::time_point Now() const override { return now; }
  std::chrono::system_clock::time_point now = std::chrono::system_clock::from_time_t(1704164645);
};

Json::Value ReadDoc(const std::filesystem::path& path) {
  return JsonFileUtil().ReadJsonValue(path);
}

class ProfileListTest : public ::testing::Test {
 protected:
  ProfileListTest() : data_home_("XDG_DATA_HOME", root_.path().c_str()), tz_("TZ", "UTC"), list_(time_) {
    tzset();
    folder_ = UserDataFolder() / "keyboard";
    list_.SetDeviceKind(1);
    list_.SetFolders(folder_, kDefaults / "keyboard.Json");
  }

  std::filesystem::path ListFile() const { return folder_ / "ProfileList.ini"; }
  Json::Value ListDoc() const { return ReadDoc(ListFile()); }
  int StoredSelect() const { return ListDoc()["profileselect"].asInt(); }
  std::size_t FilesInFolder() const {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_)) ++count;
    return count;
  }
  void WriteList(const std::string& text) {
    std::filesystem::create_directories(folder_);
    WriteText(ListFile(), text);
  }

  TempFolder root_;
  ScopedEnv data_home_;
  ScopedEnv tz_;
  FixedTime time_;
  CDeviceProfileList list_;
  std::filesystem::path folder_;
};

TEST(ProfileNames, NamingRules) {
  EXPECT_EQ(NameForNewProfile({"profile1", "PROFILE3"}), "profile2");
  EXPECT_EQ(NameForNewProfile({"profile1", "profile2"}), "profile3");
  EXPECT_EQ(NameForNewProfile({"Profile1"}), "profile2");
  EXPECT_EQ(NameForCopy("A", {"A", "a COPY"}), "A copy copy");
  EXPECT_EQ(NameForImport("Game", {"Game", "Game(1)"}), "Game(1)(2)");
  EXPECT_EQ(NameForImport("New", {"Game"}), "New");
  EXPECT_TRUE(IsBlankName("   "));
  EXPECT_FALSE(IsBlankName(" a "));
}

TEST_F(ProfileListTest, FirstLoadCreatesProfile1FromTheDefault) {
  ASSERT_TRUE(list_.LoadProfileList().done());
  EXPECT_EQ(list_.GetProfileCount(), 1);
  EXPECT_EQ(list_.GetSelectedIndex(), 0);
  EXPECT_EQ(list_.GetNameText(), "Profile1");
  EXPECT_EQ(list_.GetCurrentProfileId(), "2024_01_02_03_04_05_000");
  const Json::Value stored = ListDoc();
  EXPECT_EQ(stored["profilelist"][0]["profilename"].asString(), "Profile1");
  EXPECT_EQ(stored["profilelist"][0]["profileislink"].asInt(), 0);
  EXPECT_EQ(stored["profilelist"][0]["profilelinkmame"].asString(), "");
  EXPECT_EQ(stored["profileselect"].asInt(), 0);
  const Json::Value profile = ReadDoc(list_.GetProfilePath(0));
  EXPECT_EQ(profile["profileUUID"].asString(), list_.GetCurrentProfileId());
  EXPECT_EQ(profile["Device"], ReadDoc(kDefaults / "keyboard.Json")["Device"]);
  EXPECT_EQ(list_.GetProfilePath(0).parent_path(), folder_.parent_path() / "keyboard");
}

TEST_F(ProfileListTest, ReloadKeepsTheListAndTheSelection) {
  ASSERT_TRUE(list_.LoadProfileList().done());
  ASSERT_TRUE(list_.AddProfile().done());
  ASSERT_TRUE(list_.SelectProfile(1).done());
  CDeviceProfileList again(time_);
  again.SetFolders(folder_, kDefaults / "keyboard.Json");
  ASSERT_TRUE(again.LoadProfileList().done());
  EXPECT_EQ(again.Names(), (std::vector<std::string>{"Profile1", "profile2"}));
  EXPECT_EQ(again.GetSelectedIndex(), 1);
  EXPECT_EQ(again.GetCurrentProfileId(), list_.GetCurrentProfileId());
}

TEST_F(ProfileListTest, DamagedListIsKeptAsideAndReplaced) {
  WriteList("{ not json");
  ASSERT_TRUE(list_.LoadProfileList().done());
  EXPECT_EQ(list_.Names(), std::vector<std::string>{"Profile1"});
  EXPECT_EQ(ReadText(folder_ / "ProfileList.ini.bak"), "{ not json");
}

TEST_F(ProfileListTest, SelectionOutsideTheListSelectsTheFirstAndNeverGrowsTheList) {
  WriteList(
      R"({"profilelist": [{"profilename": "A", "profileUUID": "a"}, {"profilename": "B", "profileUUID": "b"}],
               "profileselect": 1000000})");
  ASSERT_TRUE(list_.LoadProfileList().done());
  EXPECT_EQ(list_.GetSelectedIndex(), 0);
  EXPECT_EQ(list_.GetCurrentProfileId(), "a");
  EXPECT_EQ(StoredSelect(), 0);
  EXPECT_EQ(ListDoc()["profilelist"].size(), 2u);
  ASSERT_TRUE(list_.SelectProfile(-4).done());
  EXPECT_EQ(list_.GetSelectedIndex(), 0);
  ASSERT_TRUE(list_.SelectProfile(7).done());
  EXPECT_EQ(list_.GetSelectedIndex(), 0);
}

TEST_F(ProfileListTest, HostileIdentifiersAreRefusedAndTouchNothingOutside) {
  const auto victim = root_ / "victim.Json";
  WriteText(victim, "precious");
  std::filesystem::create_directories(folder_ / "sub");
  WriteList(R"({"profilelist": [{"profilename": "Evil", "profileUUID": "../../../victim"},
                                {"profilename": "Empty", "profileUUID": ""},
                                {"profilename": "Sub", "profileUUID": "sub/x"},
                                {"profilename": "Number", "profileUUID": 5},
                                {"profilename": "Good", "profileUUID": "good"},
                                {"profilename": "Twin", "profileUUID": "good"}],
               "profileselect": 0})");
  ASSERT_TRUE(list_.LoadProfileList().done());
  EXPECT_EQ(list_.Names(), std::vector<std::string>{"Good"});
  ASSERT_TRUE(list_.AddProfile().done());
  ASSERT_TRUE(list_.SelectProfile(0).done());
  ASSERT_TRUE(list_.DeleteProfile().done());
  ASSERT_TRUE(list_.ResetProfile().done());
  EXPECT_EQ(ReadText(victim), "precious");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "sub/x.Json"));
}

TEST_F(ProfileListTest, AddNamesProfilesAndKeepsStoredSelectionInStep) {
  ASSERT_TRUE(list_.LoadProfileList().done());
  ASSERT_TRUE(list_.AddProfile().done());
  ASSERT_TRUE(list_.AddProfile().done());
  EXPECT_EQ(list_.Names(), (std::vector<std::string>{"Profile1", "profile2", "profile3"}));
  EXPECT_EQ(list_.GetSelectedIndex(), 0);
  EXPECT_EQ(StoredSelect(), 0) << "the stored selection agrees with the one in use";
  // The clock did not move: identifiers still differ and name distinct files.
  EXPECT_NE(list_.GetProfilePath(1), list_.GetProfilePath(2));
  EXPECT_EQ(ReadDoc(list_.GetProfilePath(2))["profilename"].asString(), "profile3");
  EXPECT_EQ(FilesInFolder(), 4u);
}

TEST_F(ProfileListTest, AddStopsAtFiftyProfiles) {
  ASSERT_TRUE(list_.LoadProfileList().done());
  for (int i = 1; i < 50; ++i) ASSERT_TRUE(list_.AddProfile().done());
  EXPECT_EQ(list_.AddProfile().code, ProfileListResult::kNothingDone);
  EXPECT_EQ(list_.GetProfileCount(), 50);
}

TEST_F(ProfileListTest, DeleteSelectsANeighbourSoLaterEditsNeverGoToTheDeletedFile) {
  ASSERT_TRUE(list_.LoadProfileList().done());
  ASSERT_TRUE(list_.AddProfile().done());
  ASSERT_TRUE(list_.AddProfile().done());
  const auto first = list_.GetProfilePath(0);
  const auto second_id = ReadDoc(list_.GetProfilePath(1))["profileUUID"].asString();
  ASSERT_TRUE(list_.SelectProfile(0).done());
  ASSERT_TRUE(list_.DeleteProfile().done());
  EXPECT_FALSE(std::filesystem::exists(first));
  EXPECT_EQ(StoredSelect(), 0);
  EXPECT_EQ(list_.GetSelectedIndex(), 0);
  EXPECT_EQ(list_.GetCurrentProfileId(), second_id);

  ASSERT_TRUE(list_.SelectProfile(1).done());
  ASSERT_TRUE(list_.DeleteProfile().done());
  EXPECT_EQ(StoredSelect(), 0);
  EXPECT_EQ(list_.GetCurrentProfileId(), second_id);
  EXPECT_EQ(list_.DeleteProfile().code, ProfileListResult::kNothingDone) << "the last profile stays";
  EXPECT_EQ(FilesInFolder(), 2u);
}

TEST_F(ProfileListTest, DeletingTheThirdOfThreeStoresSelectionOne) {
  ASSERT_TRUE(list_.LoadProfileList().done());
  ASSERT_TRUE(list_.AddProfile().done());
  ASSERT_TRUE(list_.AddProfile().done());
  ASSERT_TRUE(list_.SelectProfile(2).done());
  ASSERT_TRUE(list_.DeleteProfile().done());
  EXPECT_EQ(StoredSelect(), 1);
  EXPECT_EQ(list_.GetNameText(), "profile2");
}

TEST_F(ProfileListTest, CopyDuplicatesTheSelectedProfileUnderANewName) {
  ASSERT_TRUE(list_.LoadProfileList().done());
  JsonFileUtil util;
  Json::Value profile = ReadDoc(list_.GetProfilePath(0));
  profile["Device"][0]["LightInfo"]["Red"] = 12;
  ASSERT_TRUE(util.WriteJsonValue(list_.GetProfilePath(0), profile));
  ASSERT_TRUE(list_.CopyProfile().done());
  ASSERT_TRUE(list_.CopyProfile().done());
  EXPECT_EQ(list_.Names(), (std::vector<std::string>{"Profile1", "Profile1 copy", "Profile1 copy copy"}));
  const Json::Value copy = ReadDoc(list_.GetProfilePath(1));
  EXPECT_EQ(copy["Device"][0]["LightInfo"]["Red"].asInt(), 12);
  EXPECT_EQ(copy["profilename"].asString(), "Profile1 copy");
  EXPECT_EQ(copy["profileUUID"].asString(), list_.GetProfilePath(1).stem().string());
  EXPECT_EQ(StoredSelect(), 0);
}

TEST_F(ProfileListTest, ImportTakesTheFileStemAndAcceptsOnlyProfiles) {
  ASSERT_TRUE(list_.LoadProfileList().done());
  const auto game = root_ / "Game.json";
  WriteText(game,
            R"({"profilename": "Whatever", "profileUUID": "old", "Device": [{"LightInfo": {"Red": 3}}]})");
  ASSERT_TRUE(list_.ImportProfile(game).done());
  ASSERT_TRUE(list_.ImportProfile(game).done());
  ASSERT_TRUE(list_.ImportProfile(game).done());
  EXPECT_EQ(list_.Names(), (std::vector<std::string>{"Profile1", "Game", "Game(1)", "Game(1)(2)"}));
  const Json::Value imported = ReadDoc(list_.GetProfilePath(1));
  EXPECT_EQ(imported["profilename"].asString(), "Game");
  EXPECT_EQ(imported["Device"][0]["LightInfo"]["Red"].asInt(), 3);

  WriteText(root_ / "notjson.json", "hello");
  WriteText(root_ / "noname.json", R"({"profileUUID": "x"})");
  WriteText(root_ / "array.json", R"([1, 2])");
  for (const char* name : {"notjson.json", "noname.json", "array.json", "absent.json"}) {
    EXPECT_EQ(list_.ImportProfile(root_ / name).code, ProfileListResult::kNothingDone) << name;
  }
  EXPECT_EQ(list_.GetProfileCount(), 4);
}

TEST_F(ProfileListTest, ExportWritesTheSelectedProfile) {
  ASSERT_TRUE(list_.LoadProfileList().done());
  const auto target = root_ / "out.json";
  ASSERT_TRUE(list_.ExportProfile(target).done());
  EXPECT_EQ(ReadDoc(target), ReadDoc(list_.GetProfilePath(0)));
  std::filesystem::remove(list_.GetProfilePath(0));
  EXPECT_EQ(list_.ExportProfile(target).code, ProfileListResult::kFileError)
      << "nothing to export is an error";
  EXPECT_EQ(ReadDoc(target)["profilename"].asString(), "Profile1") << "and leaves an earlier export alone";
}

TEST_F(ProfileListTest, ResetRestoresTheDefaultButKeepsNameAndId) {
  ASSERT_TRUE(list_.LoadProfileList().done());
  ASSERT_EQ(list_.RenameProfile("Mine").code, 1);
  const auto path = list_.GetProfilePath(0);
  Json::Value profile = ReadDoc(path);
  profile["Device"][0]["LightInfo"]["Red"] = 1;
  ASSERT_TRUE(JsonFileUtil().WriteJsonValue(path, profile));
  ASSERT_TRUE(list_.ResetProfile().done());
  const Json::Value reset = ReadDoc(path);
  EXPECT_EQ(reset["Device"], ReadDoc(kDefaults / "keyboard.Json")["Device"]);
  EXPECT_EQ(reset["profilename"].asString(), "Mine");
  EXPECT_EQ(reset["profileUUID"].asString(), list_.GetCurrentProfileId());
}

TEST_F(ProfileListTest, ResetWithoutADefaultProfileChangesNothing) {
  ASSERT_TRUE(list_.LoadProfileList().done());
  const std::string before = ReadText(list_.GetProfilePath(0));
  list_.SetFolders(folder_, root_ / "absent.Json");
  EXPECT_EQ(list_.ResetProfile().code, ProfileListResult::kFileError);
  EXPECT_EQ(ReadText(list_.GetProfilePath(0)), before);
}

TEST_F(ProfileListTest, HeadsetResetKeepsCustomEqualizerPresets) {
  CDeviceProfileList headset(time_);
  const auto folder = UserDataFolder() / "HD";
  headset.SetDeviceKind(7);
  headset.SetFolders(folder, kDefaults / "HD.Json");
  ASSERT_TRUE(headset.LoadProfileList().done());
  const auto path = headset.GetProfilePath(0);
  Json::Value profile = ReadDoc(path);
  profile["Device"][0]["CustomEQNameInfo"][0]["Name"] = "Mine";
  profile["Device"][0]["CustomEQHzValueInfo"][0][0]["value"] = 4;
  profile["Device"][0]["SystemSetStages"]["MicInValue"] = 3;
  ASSERT_TRUE(JsonFileUtil().WriteJsonValue(path, profile));
  ASSERT_TRUE(headset.ResetProfile().done());
  const Json::Value entry = ReadDoc(path)["Device"][0];
  EXPECT_EQ(entry["CustomEQNameInfo"][0]["Name"].asString(), "Mine");
  EXPECT_EQ(entry["CustomEQHzValueInfo"][0][0]["value"].asInt(), 4);
  EXPECT_EQ(entry["SystemSetStages"]["MicInValue"].asInt(), 80);
}

TEST_F(ProfileListTest, RenameResultCodes) {
  ASSERT_TRUE(list_.LoadProfileList().done());
  ASSERT_TRUE(list_.AddProfile().done());
  EXPECT_EQ(list_.RenameProfile("a & b").code, ProfileListResult::kAmpersandInName);
  EXPECT_EQ(list_.RenameProfile("   ").code, ProfileListResult::kBlankName);
  EXPECT_EQ(list_.RenameProfile("PROFILE2").code, ProfileListResult::kNothingDone);
  EXPECT_EQ(list_.RenameProfile("PROFILE1").code, 1) << "its own name in other letter case is fine";
  EXPECT_EQ(list_.GetNameText(), "PROFILE1");
  EXPECT_EQ(ListDoc()["profilelist"][0]["profilename"].asString(), "PROFILE1");
  EXPECT_EQ(ReadDoc(list_.GetProfilePath(0))["profilename"].asString(), "PROFILE1");
}

TEST_F(ProfileListTest, OperationsWithNothingSelectedDoNothing) {
  EXPECT_EQ(list_.GetSelectedIndex(), -1);
  EXPECT_EQ(list_.RenameProfile("x").code, ProfileListResult::kNothingDone);
  EXPECT_EQ(list_.CopyProfile().code, ProfileListResult::kNothingDone);
  EXPECT_EQ(list_.ExportProfile(root_ / "out.json").code, ProfileListResult::kNothingDone);
  EXPECT_EQ(list_.DeleteProfile().code, ProfileListResult::kNothingDone);
  EXPECT_EQ(list_.ResetProfile().code, ProfileListResult::kNothingDone);
  EXPECT_FALSE(std::filesystem::exists(root_ / "out.json"));
  EXPECT_TRUE(list_.GetProfilePath(0).empty());
}

TEST_F(ProfileListTest, FailedWritesAreReportedAndChangeNothing) {
  ASSERT_TRUE(list_.LoadProfileList().done());
  const std::string list_before = ReadText(ListFile());
  const std::size_t files_before = FilesInFolder();
  {
    ScopedWriteFailure failure(0);
    const ProfileListResult added = list_.AddProfile();
    EXPECT_EQ(added.code, ProfileListResult::kFileError);
    EXPECT_FALSE(added.error.empty());
    EXPECT_EQ(list_.CopyProfile().code, ProfileListResult::kFileError);
    EXPECT_EQ(list_.RenameProfile("New").code, ProfileListResult::kFileError);
  }
  EXPECT_EQ(ReadText(ListFile()), list_before);
  EXPECT_EQ(FilesInFolder(), files_before);
  EXPECT_EQ(list_.Names(), std::vector<std::string>{"Profile1"});
  EXPECT_EQ(ReadDoc(list_.GetProfilePath(0))["profilename"].asString(), "Profile1");

  ASSERT_TRUE(list_.AddProfile().done());
  ASSERT_TRUE(list_.SelectProfile(1).done());
  {
    ScopedWriteFailure failure(0);
    EXPECT_EQ(list_.DeleteProfile().code, ProfileListResult::kFileError);
  }
  EXPECT_EQ(list_.GetProfileCount(), 2);
  EXPECT_TRUE(std::filesystem::exists(list_.GetProfilePath(1)));
}

}  // namespace
}  // namespace norvane
