// The profile bar over the profile list: its combo, name edit, menu and tabs stay in step with the files
// of the device folder, also when a file operation fails.

#include <gtest/gtest.h>
#include <json/json.h>

#include <QAbstractButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/atomic_file.h"
#include "platform/xdg_paths.h"
#include "profiles/json_file_util.h"
#include "tests/controls/strip_test_window.h"
#include "uilib/option.h"

namespace norvane::controls::test {
namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Json::Value ReadDoc(const std::filesystem::path& path) {
  return JsonFileUtil().ReadJsonValue(path);
}

class DeviceProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::remove_all(folder_);
    ASSERT_TRUE(window_.Create(nullptr, "profiles", false));
    bar_ = window_.ProfileBar();
    ASSERT_NE(bar_, nullptr) << "the skin element \"DeviceProfile\" builds the bar";
    combo_ = dynamic_cast<ui::CComboUI*>(bar_->FindSubControl("device_profile_combo"));
    ASSERT_NE(combo_, nullptr);
    Load(1);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  void Load(int kind) {
    bar_->SetDeviceKind(kind);
    bar_->SetFolders(folder_, DefaultDataFolder() / "keyboard.Json");
    ASSERT_TRUE(bar_->LoadProfileList().done());
  }

  std::vector<std::string> ComboTexts() const {
    std::vector<std::string> texts;
    for (int i = 0; i < combo_->GetCount(); ++i) texts.push_back(combo_->GetItemText(i).ToUtf8());
    return texts;
  }
  std::filesystem::path ListFile() const { return folder_ / "ProfileList.ini"; }
  std::filesystem::path ProfileFile(int index) const { return PathFromBar(bar_->GetProfilePath(index)); }
  static std::filesystem::path PathFromBar(const ui::CDuiString& text) {
    const std::string utf8 = text.ToUtf8();
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
  }

  const std::filesystem::path folder_ = UserDataFolder() / "keyboard";
  StripWindow window_;
  CDeviceProfileUI* bar_ = nullptr;
  ui::CComboUI* combo_ = nullptr;
};

TEST_F(DeviceProfileTest, ANewDeviceStartsWithOneProfile) {
  EXPECT_EQ(ComboTexts(), std::vector<std::string>{"Profile1"});
  EXPECT_EQ(bar_->GetSelectedIndex(), 0);
  EXPECT_EQ(bar_->GetNameText(), "Profile1");
  EXPECT_TRUE(std::filesystem::is_regular_file(ProfileFile(0)));
  EXPECT_EQ(ReadDoc(ProfileFile(0))["profileUUID"].asString(), bar_->GetCurrentProfileId().ToUtf8());
  EXPECT_FALSE(bar_->IsProfileMenuShown()) << "the menu starts folded";
}

TEST_F(DeviceProfileTest, TabsFollowTheDeviceKind) {
  auto tabShown = [&](const char* name) { return bar_->FindSubControl(name)->IsVisible(); };
  EXPECT_FALSE(tabShown("cursor_Op_tab"));
  EXPECT_TRUE(tabShown("key_Op_tab"));
  EXPECT_FALSE(tabShown("magic_Op_tab"));
  Load(7);
  EXPECT_FALSE(tabShown("key_Op_tab"));
  EXPECT_TRUE(tabShown("6533_voice_Op_tab"));
  EXPECT_TRUE(tabShown("Virtual7.1_Op_tab"));

  bar_->SelectTab(3);
  auto selected = [&](const char* name) {
    return dynamic_cast<ui::COptionUI*>(bar_->FindSubControl(name))->IsSelected();
  };
  EXPECT_TRUE(selected("macro_Op_tab"));
  bar_->SelectTab(1);
  EXPECT_TRUE(selected("deng_Op_tab"));
  EXPECT_FALSE(selected("macro_Op_tab"));
  bar_->SelectTab(9);
  EXPECT_TRUE(selected("deng_Op_tab")) << "an unknown tab number changes nothing";
}

TEST_F(DeviceProfileTest, OperationsKeepComboAndFilesInStep) {
  ASSERT_TRUE(bar_->AddProfile().done());
  EXPECT_EQ(ComboTexts(), (std::vector<std::string>{"Profile1", "profile2"}));
  EXPECT_EQ(bar_->GetSelectedIndex(), 0) << "adding does not change the selection";
  EXPECT_TRUE(std::filesystem::is_regular_file(ProfileFile(1)));

  ASSERT_TRUE(bar_->SelectProfile(1, false).done());
  EXPECT_EQ(bar_->GetNameText(), "profile2");
  EXPECT_EQ(ReadDoc(ListFile())["profileselect"].asInt(), 1);
  EXPECT_EQ(bar_->GetCurrentProfileId().ToUtf8(),
            ReadDoc(ListFile())["profilelist"][1]["profileUUID"].asString());

  ASSERT_TRUE(bar_->CopyProfile().done());
  EXPECT_EQ(ComboTexts().back(), "profile2 copy");
  EXPECT_EQ(bar_->GetProfileCount(), 3);

  EXPECT_EQ(bar_->RenameProfile("Game").code, ProfileListResult::kDone);
  EXPECT_EQ(ComboTexts()[1], "Game");
  EXPECT_EQ(combo_->GetItemUserData(1), "Game");
  EXPECT_EQ(bar_->GetNameText(), "Game");
  EXPECT_EQ(ReadDoc(ProfileFile(1))["profilename"].asString(), "Game");

  const std::filesystem::path removed = ProfileFile(1);
  ASSERT_TRUE(bar_->DeleteProfile().done());
  EXPECT_EQ(ComboTexts(), (std::vector<std::string>{"Profile1", "profile2 copy"}));
  EXPECT_FALSE(std::filesystem::exists(removed));
  EXPECT_EQ(bar_->GetSelectedIndex(), 0);
  EXPECT_EQ(ReadDoc(ListFile())["profileselect"].asInt(), 0);
}

TEST_F(DeviceProfileTest, RejectedRenamesExplainThemselves) {
  ASSERT_TRUE(bar_->AddProfile().done());
  const std::string listBefore = ReadText(ListFile());
  const struct {
    const char* name;
    int code;
    const char* messageId;
  } cases[] = {
      {"A&B", 3, "message_text_30"}, {"   ", 2, "message_text_25"}, {"PROFILE2", 0, "message_text_5"}};
  for (const auto& c : cases) {
    const ProfileListResult result = bar_->RenameProfile(c.name);
    EXPECT_EQ(result.code, c.code) << c.name;
    EXPECT_EQ(ProfileResultMessageId(result, true), c.messageId) << c.name;
  }
  EXPECT_EQ(ReadText(ListFile()), listBefore);
  EXPECT_EQ(ComboTexts()[0], "Profile1");
  EXPECT_EQ(bar_->RenameProfile("PROFILE1").code, 1) << "its own name in other letter case is fine";
  EXPECT_EQ(ProfileResultMessageId(ProfileListResult{}, true), "");
}

TEST_F(DeviceProfileTest, ExportThenImportAddsTheFileUnderItsName) {
  const std::filesystem::path exported = folder_.parent_path() / "Game.json";
  ASSERT_TRUE(bar_->ExportProfile(ui::CDuiString(exported.string())).done());
  EXPECT_EQ(ReadDoc(exported)["profilename"].asString(), "Profile1");

  ASSERT_TRUE(bar_->ImportProfile(ui::CDuiString(exported.string())).done());
  ASSERT_TRUE(bar_->ImportProfile(ui::CDuiString(exported.string())).done());
  EXPECT_EQ(ComboTexts(), (std::vector<std::string>{"Profile1", "Game", "Game(1)"}));
  EXPECT_NE(ReadDoc(ProfileFile(1))["profileUUID"], ReadDoc(ProfileFile(0))["profileUUID"]);

  const std::filesystem::path junk = folder_.parent_path() / "junk.json";
  std::ofstream(junk) << "not json";
  const ProfileListResult refused = bar_->ImportProfile(ui::CDuiString(junk.string()));
  EXPECT_EQ(refused.code, ProfileListResult::kNothingDone);
  EXPECT_EQ(bar_->GetProfileCount(), 3);
  std::filesystem::remove(exported);
  std::filesystem::remove(junk);
}

TEST_F(DeviceProfileTest, ResetRestoresTheTemplateUnderTheSameName) {
  ASSERT_EQ(bar_->RenameProfile("Mine").code, 1);
  Json::Value changed = ReadDoc(ProfileFile(0));
  changed["Device"][0]["LightInfo"]["Red"] = 7;
  ASSERT_TRUE(JsonFileUtil().WriteJsonValue(ProfileFile(0), changed));
  ASSERT_TRUE(bar_->ResetProfile().done());
  const Json::Value reset = ReadDoc(ProfileFile(0));
  EXPECT_EQ(reset["Device"], ReadDoc(DefaultDataFolder() / "keyboard.Json")["Device"]);
  EXPECT_EQ(reset["profilename"].asString(), "Mine");
  EXPECT_EQ(ComboTexts(), std::vector<std::string>{"Mine"});
}

TEST_F(DeviceProfileTest, FailedWritesLeaveBarAndFilesAsTheyWere) {
  ASSERT_TRUE(bar_->AddProfile().done());
  const std::string listBefore = ReadText(ListFile());
  const std::string profileBefore = ReadText(ProfileFile(0));
  const auto filesBefore = std::distance(std::filesystem::directory_iterator(folder_), {});
  {
    ScopedWriteFailure diskFull(0);
    for (const ProfileListResult& result :
         {bar_->AddProfile(), bar_->CopyProfile(), bar_->RenameProfile("Other"), bar_->DeleteProfile()}) {
      EXPECT_EQ(result.code, ProfileListResult::kFileError);
      EXPECT_EQ(ProfileResultMessageId(result), "profile_file_error_text");
    }
    EXPECT_EQ(bar_->ResetProfile().code, ProfileListResult::kFileError);
  }
  EXPECT_EQ(ComboTexts(), (std::vector<std::string>{"Profile1", "profile2"}));
  EXPECT_EQ(bar_->GetNameText(), "Profile1");
  EXPECT_EQ(ReadText(ListFile()), listBefore);
  EXPECT_EQ(ReadText(ProfileFile(0)), profileBefore);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), filesBefore);

  const ProfileListResult exportFailed =
      bar_->ExportProfile(ui::CDuiString((folder_ / "no/such/dir.json").string()));
  EXPECT_EQ(exportFailed.code, ProfileListResult::kFileError);
  EXPECT_EQ(bar_->ImportProfile(ui::CDuiString((folder_ / "absent.json").string())).code,
            ProfileListResult::kNothingDone);
  EXPECT_EQ(ReadText(ListFile()), listBefore);
}

TEST_F(DeviceProfileTest, AComboChoiceSelectsThatProfile) {
  ASSERT_TRUE(bar_->AddProfile().done());
  window_.ShowWindow(true, true);
  combo_->setFocus();
  QTest::keyClick(combo_, Qt::Key_Down);
  EXPECT_GE(window_.profileNotifications, 1);
  EXPECT_EQ(bar_->List().GetSelectedIndex(), 1);
  EXPECT_EQ(bar_->GetNameText(), "profile2");
  EXPECT_EQ(ReadDoc(ListFile())["profileselect"].asInt(), 1);
  EXPECT_EQ(bar_->GetCurrentProfileId().ToUtf8(),
            ReadDoc(ListFile())["profilelist"][1]["profileUUID"].asString());
}

TEST_F(DeviceProfileTest, TheMenuButtonFoldsTheMenu) {
  window_.ShowWindow(true, false);
  auto* toggle = dynamic_cast<QAbstractButton*>(bar_->FindSubControl("profile_fun_spread_btn")->GetWidget());
  ASSERT_NE(toggle, nullptr);
  toggle->click();
  EXPECT_TRUE(bar_->IsProfileMenuShown());
  toggle->click();
  EXPECT_FALSE(bar_->IsProfileMenuShown());
}

}  // namespace
}  // namespace norvane::controls::test
