// The settings key file: the three read outcomes, writes that keep the rest of the file, and malformed files
// that are set aside instead of being overwritten.

#include "platform/registry_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "tests/support/temp_folder.h"

namespace norvane {
namespace {

namespace fs = std::filesystem;

class RegistrySettingsTest : public ::testing::Test {
 protected:
  fs::path KeyFile() const { return folder_ / "registry.ini"; }

  void WriteKey(const std::string& bytes) const { testing::WriteText(KeyFile(), bytes); }

  std::string ReadBack(const fs::path& path) const {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    return bytes;
  }

  testing::TempFolder temp_;
  const fs::path& folder_ = temp_.path();
};

TEST_F(RegistrySettingsTest, MissingKeyIsNeverCreatedByReadsOrWrites) {
  const RegistrySettings settings(folder_ / "sub" / "registry.ini");
  const SettingsReadResult read = settings.ReadValue(kLanguageValueName);
  EXPECT_EQ(read.lookup, SettingsLookup::kKeyMissing);
  EXPECT_TRUE(read.problem.empty());

  const FileResult write = settings.WriteValue(kLanguageValueName, 1033);
  EXPECT_FALSE(write);
  EXPECT_NE(write.error.find("does not exist"), std::string::npos) << write.error;
  EXPECT_FALSE(fs::exists(folder_ / "sub"));
}

TEST_F(RegistrySettingsTest, KeyWithoutTheValueDiffersFromMissingKey) {
  WriteKey("# settings\nOTHER=7\n");
  const SettingsReadResult read = RegistrySettings(KeyFile()).ReadValue(kLanguageValueName);
  EXPECT_EQ(read.lookup, SettingsLookup::kValueMissing);
  EXPECT_TRUE(read.problem.empty());

  WriteKey("");
  EXPECT_EQ(RegistrySettings(KeyFile()).ReadValue(kLanguageValueName).lookup, SettingsLookup::kValueMissing);
}

TEST_F(RegistrySettingsTest, ReadsTheWholeThirtyTwoBitRangeAndToleratesHandEditing) {
  WriteKey("\xEF\xBB\xBF; edited by hand\r\n  language = 4294967295 \r\n\r\nZero=0\n");
  const RegistrySettings settings(KeyFile());
  const SettingsReadResult language = settings.ReadValue("LANGUAGE");
  ASSERT_EQ(language.lookup, SettingsLookup::kFound);
  EXPECT_EQ(language.value, 4294967295u);
  const SettingsReadResult zero = settings.ReadValue("ZERO");
  ASSERT_EQ(zero.lookup, SettingsLookup::kFound);
  EXPECT_EQ(zero.value, 0u);
}

TEST_F(RegistrySettingsTest, WriteChangesOnlyItsOwnLineAndKeepsComments) {
  WriteKey("# keep me\nLanguage=520\nOTHER=7\n");
  const RegistrySettings settings(KeyFile());
  ASSERT_TRUE(settings.WriteValue(kLanguageValueName, 1033));
  EXPECT_EQ(ReadBack(KeyFile()), "# keep me\nLANGUAGE=1033\nOTHER=7\n");

  ASSERT_TRUE(settings.WriteValue("NEW", 5));
  EXPECT_EQ(ReadBack(KeyFile()), "# keep me\nLANGUAGE=1033\nOTHER=7\nNEW=5\n");
  EXPECT_EQ(settings.ReadValue(kLanguageValueName).value, 1033u);
  EXPECT_EQ(settings.ReadValue("new").value, 5u);

  for (const char* unstorable : {"", "A=B", "line\nbreak", " padded"}) {
    EXPECT_FALSE(settings.WriteValue(unstorable, 2)) << unstorable;
  }
  EXPECT_EQ(settings.ReadValue(kLanguageValueName).value, 1033u);
}

TEST_F(RegistrySettingsTest, FailedWriteLeavesTheOldValue) {
  WriteKey("LANGUAGE=520\n");
  const RegistrySettings settings(KeyFile());
  {
    ScopedWriteFailure full_disk(3);
    const FileResult write = settings.WriteValue(kLanguageValueName, 1033);
    EXPECT_FALSE(write);
    EXPECT_FALSE(write.error.empty());
  }
  EXPECT_EQ(ReadBack(KeyFile()), "LANGUAGE=520\n");
  EXPECT_EQ(settings.ReadValue(kLanguageValueName).value, 520u);
}

TEST_F(RegistrySettingsTest, MalformedFilesReadAsMissingKeyAndAreKeptAside) {
  const std::string malformed[] = {
      "LANGUAGE=-1\n",
      "LANGUAGE=4294967296\n",
      "LANGUAGE=0x208\n",
      "LANGUAGE\n",
      "=5\n",
      "LANGUAGE=\n",
      "[section]\n",
      "LANGUAGE=1\nlanguage=2\n",
      "LANGUAGE=12 apples\n",
      "LANGUAGE=1\n" + std::string(70 * 1024, '#'),  // far larger than any key we write
  };
  for (const std::string& bytes : malformed) {
    WriteKey(bytes);
    const SettingsReadResult read = RegistrySettings(KeyFile()).ReadValue(kLanguageValueName);
    EXPECT_EQ(read.lookup, SettingsLookup::kKeyMissing) << bytes.substr(0, 40);
    EXPECT_NE(read.problem.find("malformed"), std::string::npos) << read.problem;
    EXPECT_FALSE(fs::exists(KeyFile())) << bytes.substr(0, 40);
    fs::remove(folder_ / "registry.ini.malformed");
    // The same text read from memory reads the same, and nothing is set aside.
    const SettingsReadResult fromText = RegistrySettings::ReadValueFromText(bytes, kLanguageValueName);
    EXPECT_EQ(fromText.lookup, SettingsLookup::kKeyMissing) << bytes.substr(0, 40);
    EXPECT_NE(fromText.problem.find("malformed"), std::string::npos) << fromText.problem;
  }
  EXPECT_EQ(RegistrySettings::ReadValueFromText("\xEF\xBB\xBF# kept\nLANGUAGE = 1033\n", kLanguageValueName).value, 1033u);
  EXPECT_EQ(RegistrySettings::ReadValueFromText("OTHER=1\n", kLanguageValueName).lookup, SettingsLookup::kValueMissing);
}

TEST_F(RegistrySettingsTest, SetAsideNeverOverwritesAnEarlierCopyAndWritesSaveNothing) {
  WriteKey("first garbage\n");
  const RegistrySettings settings(KeyFile());
  EXPECT_EQ(settings.ReadValue(kLanguageValueName).lookup, SettingsLookup::kKeyMissing);

  WriteKey("second garbage\n");
  const FileResult write = settings.WriteValue(kLanguageValueName, 1033);
  EXPECT_FALSE(write);
  EXPECT_NE(write.error.find("registry.ini.malformed-2"), std::string::npos) << write.error;

  EXPECT_EQ(ReadBack(folder_ / "registry.ini.malformed"), "first garbage\n");
  EXPECT_EQ(ReadBack(folder_ / "registry.ini.malformed-2"), "second garbage\n");
  EXPECT_FALSE(fs::exists(KeyFile()));
}

TEST_F(RegistrySettingsTest, FolderInPlaceOfTheFileIsAMissingKeyAndStaysUntouched) {
  fs::create_directory(KeyFile());
  const RegistrySettings settings(KeyFile());
  const SettingsReadResult read = settings.ReadValue(kLanguageValueName);
  EXPECT_EQ(read.lookup, SettingsLookup::kKeyMissing);
  EXPECT_FALSE(read.problem.empty());
  EXPECT_FALSE(settings.WriteValue(kLanguageValueName, 1));
  EXPECT_TRUE(fs::is_directory(KeyFile()));
}

TEST_F(RegistrySettingsTest, CreateKeyIfMissingMakesAnEmptyKeyOnceAndKeepsAnExistingOne) {
  const RegistrySettings settings(folder_ / "a" / "b" / "registry.ini");
  ASSERT_TRUE(settings.CreateKeyIfMissing());
  EXPECT_EQ(settings.ReadValue(kLanguageValueName).lookup, SettingsLookup::kValueMissing);
  ASSERT_TRUE(settings.WriteValue(kLanguageValueName, 1033));
  ASSERT_TRUE(settings.CreateKeyIfMissing());
  EXPECT_EQ(settings.ReadValue(kLanguageValueName).value, 1033u);
}

}  // namespace
}  // namespace norvane
