// Where the update list's facts come from: the entries from the model table and the connected devices'
// release numbers, the last check's date in "updatetime.config", and the service's configured address.

#include <gtest/gtest.h>

#include <ctime>

#include "profiles/json_file_util.h"
#include "tests/support/temp_folder.h"
#include "update/update_entries.h"
#include "update/update_query.h"
#include "update/update_service_address.h"
#include "update/update_time.h"

namespace norvane::update {
namespace {

namespace fs = std::filesystem;

// The model table's rows: mouse, keyboard, mouse pad, then the program.
constexpr int kMouseRow = 0, kKeyboardRow = 1, kPadRow = 2;

TEST(UpdateEntriesTest, ConnectedDevicesGiveTheirReleaseNumbersAndTheProgramItsVersion) {
  TabVersion mouse{true, kMouseRow, true, false, true, 0x0102, 0};
  TabVersion keyboard{true, kKeyboardRow, false, false, false, 0x0110, 0};  // page there, device not
  const std::vector<TabVersion> tabs = {mouse, keyboard};
  const std::vector<UpdateEntry> entries = BuildUpdateEntries(tabs, 105);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[kMouseRow].version, 0x0102);
  EXPECT_EQ(entries[kMouseRow].second, 1);
  EXPECT_EQ(BuildAppKey(entries[kMouseRow]), "VEXOR_1_ZR204A_MS_1");
  EXPECT_EQ(entries[kKeyboardRow].version, 0) << "a closed channel has no version";
  EXPECT_EQ(entries[kPadRow].version, 0);
  EXPECT_EQ(entries[3].version, 105);
  EXPECT_EQ(entries[3].name, "AP");
  EXPECT_EQ(entries[3].versionLabel, "P2000");

  const std::vector<UpdateEntry> listed = ListedEntries(entries);
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0].name, "MS");
  EXPECT_EQ(listed[1].name, "AP");
}

TEST(UpdateEntriesTest, TheReceiverLinkCountsWhileItsTabShows) {
  TabVersion onReceiver{true, kMouseRow, true, true, true, 0x0120, 0x0103};
  EXPECT_EQ(BuildUpdateEntries(std::vector{onReceiver}, 1)[kMouseRow].version, 0x0103);
  EXPECT_EQ(BuildAppKey(BuildUpdateEntries(std::vector{onReceiver}, 1)[kMouseRow]), "VEXOR_1_ZR204A_MS_-1");
  onReceiver.tabVisible = false;
  EXPECT_EQ(BuildUpdateEntries(std::vector{onReceiver}, 1)[kMouseRow].version, 0) << "a hidden tab says nothing";
}

TEST(UpdateEntriesTest, ATabWithoutAPageClearsTheEntryOfItsPlace) {
  const TabVersion keyboardFirst{true, kKeyboardRow, true, false, true, 0x0110, 0};
  const TabVersion noPage{};  // second tab, no page: clears entry 1
  const TabVersion notATab{false, -1};
  const std::vector<UpdateEntry> entries = BuildUpdateEntries(std::vector{keyboardFirst, noPage, notATab}, 1);
  EXPECT_EQ(entries[kKeyboardRow].version, 0);
  EXPECT_EQ(BuildUpdateEntries(std::vector{keyboardFirst, notATab}, 1)[kKeyboardRow].version, 0x0110)
      << "an item that is no device tab changes nothing";
}

TEST(UpdateTimeTest, TheFileKeepsTheDateAndIsStartedWhenItHoldsNone) {
  norvane::testing::TempFolder folder;
  const fs::path file = folder / "updatetime.config";
  EXPECT_EQ(ReadOrStartUpdateTime(file, "2024-3-5"), "2024-3-5");
  EXPECT_EQ(JsonFileUtil().ReadJsonValue(file), JsonFileUtil::ParseJson(R"({"updatelasttime": {"value": "2024-3-5"}})"));
  EXPECT_EQ(ReadOrStartUpdateTime(file, "2025-1-1"), "2024-3-5") << "a stored date stays";

  norvane::testing::WriteText(file, R"({"updatelasttime": {"value": 20240305}})");
  EXPECT_EQ(ReadOrStartUpdateTime(file, "2025-1-1"), "2025-1-1") << "a number is no date text";
  norvane::testing::WriteText(file, "not json");
  EXPECT_EQ(ReadOrStartUpdateTime(file, "2025-1-2"), "2025-1-2");
  EXPECT_TRUE(fs::exists(folder / "updatetime.config.bak")) << "the unreadable file is kept aside";
  ASSERT_TRUE(WriteUpdateTime(file, "2025-2-3").ok);
  EXPECT_EQ(ReadOrStartUpdateTime(file, "x"), "2025-2-3");
}

TEST(UpdateTimeTest, DatesHaveNoLeadingZeros) {
  std::tm local{};
  local.tm_year = 2024 - 1900;
  local.tm_mon = 2;
  local.tm_mday = 5;
  local.tm_hour = 12;
  local.tm_isdst = -1;
  const auto when = std::chrono::system_clock::from_time_t(std::mktime(&local));
  EXPECT_EQ(DateText(when), "2024-3-5");
}

TEST(UpdateServiceAddressTest, TheEnvironmentComesFirstThenTheFile) {
  norvane::testing::TempFolder folder;
  const fs::path file = folder / "update-service.ini";
  EXPECT_EQ(ReadUpdateServiceAddress(file, std::nullopt).updatesUrl, "") << "nothing configured";
  EXPECT_EQ(ReadUpdateServiceAddress(file, std::nullopt).problem, "");

  norvane::testing::WriteText(file, "# the service\n\nBASE_URL = https://updates.example.org/v2/api/\n");
  EXPECT_EQ(ReadUpdateServiceAddress(file, std::nullopt).updatesUrl, "https://updates.example.org/v2/api/updates");
  EXPECT_EQ(ReadUpdateServiceAddress(file, "http://127.0.0.1:8765/api/").updatesUrl,
            "http://127.0.0.1:8765/api/updates");
  EXPECT_EQ(ReadUpdateServiceAddress(file, "").updatesUrl, "https://updates.example.org/v2/api/updates")
      << "an empty variable counts as unset";

  norvane::testing::WriteText(file, "URL=http://x/api/\n");
  EXPECT_EQ(ReadUpdateServiceAddress(file, std::nullopt).updatesUrl, "");
  EXPECT_NE(ReadUpdateServiceAddress(file, std::nullopt).problem, "");
}

TEST(UpdateServiceAddressTest, OnlyWebAddressesWhosePathEndsInApi) {
  for (const char* good : {"http://127.0.0.1:8765/api/", "https://h/api/", "HTTPS://h.example/x/api/"}) {
    EXPECT_TRUE(IsUpdateBaseUrl(good)) << good;
  }
  for (const char* bad : {"file:///srv/api/", "ftp://h/api/", "http://h/api", "http://h/apis/", "http:///api/",
                          "http://h/api/?x=1", "http://h/a pi/api/", "h/api/", ""}) {
    EXPECT_FALSE(IsUpdateBaseUrl(bad)) << bad;
  }
  const UpdateServiceAddress refused = ReadUpdateServiceAddress("/nonexistent", "file:///api/");
  EXPECT_EQ(refused.updatesUrl, "");
  EXPECT_NE(refused.problem.find("NORVANE_UPDATE_URL"), std::string::npos);
}

}  // namespace
}  // namespace norvane::update
