// The profile document behind the page: loading, resetting to the defaults, and the wireless status.
#include <gtest/gtest.h>

#include "keyboard_fixture.h"
#include "tests/support/callback_page_view.h"
#include "platform/xdg_paths.h"
#include "tests/support/temp_folder.h"

namespace norvane::devices::testing {
namespace {

using emulator::MemoryArea;

class KeyboardProfileTest : public KeyboardTest {
 protected:
  norvane::testing::CallbackPageView view_;
};

TEST_F(KeyboardProfileTest, DefaultsReplaceTheProfileOnlyWhenTheyCanBeRead) {
  OpenWired();
  ASSERT_EQ(page->LoadProfile(), 1);
  page->SelectKey(64);
  KeyAssignment changed = page->KeyList()[64];
  changed.current = {0x30, 0xE9, 0x00};
  page->SetSelectedKeyAssignment(changed);
  page->SaveProfile();
  const std::string saved = norvane::testing::ReadText(ProfileFile());

  // Defaults that cannot be read leave the user's profile as it is.
  norvane::testing::TempFolder broken;
  norvane::testing::WriteText(broken / "keyboard.Json", "{ not json");
  SetDefaultDataFolderOverride(broken.path());
  page->LoadDefaultProfile();
  EXPECT_EQ(page->KeyList()[64].current, changed.current);
  EXPECT_EQ(norvane::testing::ReadText(ProfileFile()), saved);

  SetDefaultDataFolderOverride(norvane::testing::SourceDefaultData());
  int refreshes = 0;
  view_.Attach(*page, {.refreshPage = [&] { ++refreshes; }});
  page->LoadDefaultProfile();
  EXPECT_EQ(page->KeyList()[64].current, (KeyFunction{0x20, 0x00, 0x04}));
  EXPECT_EQ(refreshes, 1);
  CKeyboardProfiledata stored;
  stored.LoadEntry(ProfileFile());
  EXPECT_EQ(stored.GetKeyList()[64].current, (KeyFunction{0x20, 0x00, 0x04}))
      << "saved as the current profile";
}

TEST_F(KeyboardProfileTest, AProfileStemThatIsNoPlainNameLoadsNothing) {
  ASSERT_EQ(page->LoadProfile(), 1);
  const auto keys = page->KeyList();
  page->SetProfileStem("../../elsewhere");
  EXPECT_EQ(page->LoadProfile(), 0);
  EXPECT_EQ(page->KeyList(), keys);
}

TEST_F(KeyboardProfileTest, StaleMacroAssignmentsFallBackToTheirDefaults) {
  ASSERT_EQ(page->LoadProfile(), 1);
  WriteMacros({1, 1});
  page->SelectKey(64);
  KeyAssignment macro = page->KeyList()[64];
  macro.current = {0x70, 1, 0};
  page->SetSelectedKeyAssignment(macro);
  page->DropStaleMacroKeys();
  EXPECT_EQ(page->KeyList()[64].current, macro.current) << "macro 1 exists";
  WriteMacros({1});
  page->DropStaleMacroKeys();
  EXPECT_EQ(page->KeyList()[64].current, (KeyFunction{0x20, 0x00, 0x04}));
}

TEST_F(KeyboardProfileTest, TheWirelessStatusMarksTheReceiverLink) {
  OpenReceiver();
  page->SetWirelessCapable(true);
  std::vector<uint8_t> shown;
  view_.Attach(*page, {.showWirelessStatus = [&](std::span<const uint8_t> status) {
    shown.assign(status.begin(), status.end());
  }});
  EXPECT_EQ(page->IsWirelessLinkUp(), 1);
  page->ReadWirelessStatus();
  EXPECT_EQ(shown, (std::vector<uint8_t>{85, 1, 0, 1, 0, 0}));

  shown.clear();
  page->SetWirelessState(1);  // the status read waits while the state is set
  page->ReadWirelessStatus();
  EXPECT_TRUE(shown.empty());
  page->SetWirelessState(0);
  Emulator().SetLinkUp(Receiver(), false);
  EXPECT_EQ(page->IsWirelessLinkUp(), 0);
  page->ReadWirelessStatus();
  EXPECT_TRUE(shown.empty());
}

}  // namespace
}  // namespace norvane::devices::testing
