// Starting with the session: the settings value writes or removes the autostart entry, a hand-made entry
// of the same name is never touched, and the Exec line survives executables in awkward folders.

#include "platform/autostart_entry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/registry_settings.h"
#include "tests/support/temp_folder.h"

namespace norvane {
namespace {

using testing::ReadText;
using testing::WriteText;

class AutostartTest : public ::testing::Test {
 protected:
  RegistrySettings SettingsWith(const std::string& lines) {
    WriteText(folder_ / "registry.ini", lines);
    return RegistrySettings(folder_ / "registry.ini");
  }

  testing::TempFolder folder_;
  std::filesystem::path entry_ = folder_.path() / "config" / "autostart" / "org.norvane.Norvane.desktop";
  std::filesystem::path program_ = "/usr/bin/norvane";
};

TEST_F(AutostartTest, OnWritesAnEntryThatStartsTheProgramMinimisedAndOffRemovesIt) {
  const AutostartOutcome on = ApplyAutostartSetting(SettingsWith("AUTOSTART=1\n"), entry_, program_);
  EXPECT_EQ(on.change, AutostartChange::kWritten) << on.error;
  const std::string text = ReadText(entry_);
  EXPECT_TRUE(text.starts_with("[Desktop Entry]\n")) << text;
  EXPECT_NE(text.find("\nExec=/usr/bin/norvane --minimized\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nType=Application\n"), std::string::npos) << text;

  // Asked again, nothing changes.
  EXPECT_EQ(ApplyAutostartSetting(SettingsWith("AUTOSTART=1\n"), entry_, program_).change,
            AutostartChange::kNone);

  const AutostartOutcome off = ApplyAutostartSetting(SettingsWith("AUTOSTART=0\n"), entry_, program_);
  EXPECT_EQ(off.change, AutostartChange::kRemoved) << off.error;
  EXPECT_FALSE(std::filesystem::exists(entry_));
}

TEST_F(AutostartTest, WithoutTheValueOrTheKeyTheEntryIsLeftAsItIs) {
  ASSERT_EQ(ApplyAutostartSetting(SettingsWith("AUTOSTART=1\n"), entry_, program_).change,
            AutostartChange::kWritten);
  EXPECT_EQ(ApplyAutostartSetting(SettingsWith("LANGUAGE=520\n"), entry_, program_).change,
            AutostartChange::kNone);
  EXPECT_EQ(ApplyAutostartSetting(RegistrySettings(folder_ / "missing.ini"), entry_, program_).change,
            AutostartChange::kNone);
  EXPECT_TRUE(std::filesystem::exists(entry_));
}

TEST_F(AutostartTest, AnEntryTheUserWroteIsNeitherReplacedNorRemoved) {
  std::filesystem::create_directories(entry_.parent_path());
  const std::string own = "[Desktop Entry]\nType=Application\nName=Mine\nExec=norvane --trace\n";
  WriteText(entry_, own);
  EXPECT_EQ(ApplyAutostartSetting(SettingsWith("AUTOSTART=1\n"), entry_, program_).change,
            AutostartChange::kKeptForeign);
  EXPECT_EQ(ApplyAutostartSetting(SettingsWith("AUTOSTART=0\n"), entry_, program_).change,
            AutostartChange::kKeptForeign);
  EXPECT_EQ(ReadText(entry_), own);
}

TEST_F(AutostartTest, AnOwnEntryForAnotherPlaceOfTheProgramIsRewritten) {
  ASSERT_EQ(ApplyAutostartSetting(SettingsWith("AUTOSTART=1\n"), entry_, "/opt/old/norvane").change,
            AutostartChange::kWritten);
  EXPECT_EQ(ApplyAutostartSetting(SettingsWith("AUTOSTART=1\n"), entry_, program_).change,
            AutostartChange::kWritten);
  EXPECT_NE(ReadText(entry_).find("Exec=/usr/bin/norvane --minimized"), std::string::npos);
}

TEST(AutostartExec, ArgumentsWithReservedCharactersAreQuotedAndEscaped) {
  EXPECT_EQ(QuoteExecArgument("/usr/bin/norvane"), "/usr/bin/norvane");
  // A space asks for quotes; inside them '$' and '"' take a backslash, and the file's own escaping then
  // doubles every backslash.
  EXPECT_EQ(QuoteExecArgument("/home/a b/norvane"), "\"/home/a b/norvane\"");
  EXPECT_EQ(QuoteExecArgument("/x/$HOME/n"), "\"/x/\\\\$HOME/n\"");
  EXPECT_EQ(QuoteExecArgument("/x/say \"hi\"/n"), "\"/x/say \\\\\"hi\\\\\"/n\"");
  EXPECT_EQ(QuoteExecArgument("/x/back\\slash"), "\"/x/back\\\\\\\\slash\"");
  // '%' would start a field code.
  EXPECT_EQ(QuoteExecArgument("/x/100%/n"), "/x/100%%/n");
}

}  // namespace
}  // namespace norvane
