// The macro editor's list on a real folder: the files each operation writes, byte for byte, the names it
// chooses, what it refuses, and that identifiers which are not plain names never reach a file.
#include "macro/macro_library.h"

#include <gtest/gtest.h>

#include "macro/macro_names.h"
#include "platform/atomic_file.h"
#include "tests/support/temp_folder.h"

namespace norvane::macro {
namespace {

using testing::ReadText;
using testing::ScopedEnv;
using testing::TempFolder;
using testing::WriteText;

// A clock that stands still unless told to move, so that identifiers are predictable and collide.
class FixedTime final : public TimeSource {
 public:
  std::chrono::system_clock::time_point Now() const override { return now; }
  std::chrono::system_clock::time_point now = std::chrono::system_clock::from_time_t(1704164645);
};

// Five macros whose files hold one event each, named after their position.
constexpr const char* kFiveMacros = R"({"MacroInfo": [
    {"Guid": "g0", "MacroName": "m0"}, {"Guid": "g1", "MacroName": "m1"}, {"Guid": "g2", "MacroName": "m2"},
    {"Guid": "g3", "MacroName": "m3"}, {"Guid": "g4", "MacroName": "m4"}]})";
constexpr const char* kOneEvent =
    R"({"Events": [{"Action": "down", "Button": 4, "Delay": "1", "Type": 10}]})";

class MacroLibraryTest : public ::testing::Test {
 protected:
  MacroLibraryTest() : tz_("TZ", "UTC"), folder_(root_ / "device"), library_(folder_, time_) {
    tzset();
    std::filesystem::create_directories(folder_);
  }

  std::filesystem::path ListFile() const { return folder_ / "macro.config"; }
  void WriteList(const std::string& text) {
    WriteText(ListFile(), text);
    library_.Load();
  }
  void WriteFiveMacros() {
    for (int i = 0; i < 5; ++i) WriteText(folder_ / ("g" + std::to_string(i) + ".mac"), kOneEvent);
    WriteList(kFiveMacros);
  }

  TempFolder root_;
  ScopedEnv tz_;
  FixedTime time_;
  std::filesystem::path folder_;
  MacroLibrary library_;
};

TEST_F(MacroLibraryTest, AddWritesTheListAndSaveTheMacroFile) {
  library_.Load();
  EXPECT_EQ(library_.Add(), "macro_1");
  EXPECT_EQ(ReadText(ListFile()),
            "{\n"
            "   \"MacroInfo\" : \n"
            "   [\n"
            "      {\n"
            "         \"Guid\" : \"2024_01_02_03_04_05_000\",\n"
            "         \"MacroName\" : \"macro_1\"\n"
            "      }\n"
            "   ]\n"
            "}\n");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "2024_01_02_03_04_05_000.mac")) << "no file before a save";
  EXPECT_TRUE(library_.Events(0).empty());

  const std::vector<MacroEvent> events = {{"down", 4, 300, 10}, {"up", 4, 70000, 10}};
  ASSERT_TRUE(library_.Save(0, events));
  EXPECT_EQ(ReadText(folder_ / "2024_01_02_03_04_05_000.mac"),
            "{\n"
            "   \"Events\" : \n"
            "   [\n"
            "      {\n"
            "         \"Action\" : \"down\",\n"
            "         \"Button\" : 4,\n"
            "         \"Delay\" : \"300\",\n"
            "         \"Type\" : 10\n"
            "      },\n"
            "      {\n"
            "         \"Action\" : \"up\",\n"
            "         \"Button\" : 4,\n"
            "         \"Delay\" : \"70000\",\n"
            "         \"Type\" : 10\n"
            "      }\n"
            "   ],\n"
            "   \"Guid\" : \"2024_01_02_03_04_05_000\",\n"
            "   \"MacroName\" : \"macro_1\",\n"
            "   \"Version\" : 64\n"
            "}\n");
  EXPECT_EQ(library_.Events(0), events);
}

TEST_F(MacroLibraryTest, NewNamesTakeTheFirstFreeNumberIgnoringCase) {
  WriteList(
      R"({"MacroInfo": [{"Guid": "a", "MacroName": "macro_1"}, {"Guid": "b", "MacroName": "macro_3"}]})");
  EXPECT_EQ(library_.Add(), "macro_2");
  WriteList(R"({"MacroInfo": [{"Guid": "a", "MacroName": "MACRO_1"}]})");
  EXPECT_EQ(library_.Add(), "macro_2");
  EXPECT_EQ(library_.Names(), (std::vector<std::string>{"MACRO_1", "macro_2"}));
}

TEST(MacroNames, ImportedNamesGrowTheirCandidate) {
  EXPECT_EQ(NameForImportedMacro("walk", {}), "walk");
  EXPECT_EQ(NameForImportedMacro("walk", {"WALK"}), "walk_1");
  EXPECT_EQ(NameForImportedMacro("walk", {"walk", "walk_1"}), "walk_1_2");
  EXPECT_EQ(NameForImportedMacro("a", {"a", "a_1", "a_1_2"}), "a_1_2_3");
  EXPECT_EQ(NameForImportedMacro("a", {"a", "a_2"}), "a_1") << "each attempt adds to the one before";
  EXPECT_EQ(NameForImportedMacro("  ", {"macro_1"}), "macro_2");
  EXPECT_EQ(TrimBlanks(" \t a b \n"), "a b");
}

TEST_F(MacroLibraryTest, FiftyMacrosAreTheMost) {
  std::string text = R"({"MacroInfo": [)";
  for (int i = 0; i < 50; ++i)
    text += (i ? "," : "") + std::string(R"({"Guid": "g)") + std::to_string(i) + "\"}";
  WriteList(text + "]}");
  ASSERT_EQ(library_.Count(), 50u);
  WriteText(root_ / "walk.mac", kOneEvent);
  EXPECT_EQ(library_.Add(), "");
  EXPECT_EQ(library_.Import(root_ / "walk.mac"), "");
  EXPECT_EQ(library_.Count(), 50u);
  EXPECT_EQ(ReadText(ListFile()), text + "]}") << "the list file is not touched";
}

TEST_F(MacroLibraryTest, MacrosMadeInOneMillisecondGetDistinctIdentifiers) {
  library_.Load();
  WriteText(folder_ / "2024_01_02_03_04_05_001.mac", kOneEvent);  // a stray file keeps its name too
  for (int i = 0; i < 3; ++i) ASSERT_FALSE(library_.Add().empty());
  time_.now += std::chrono::milliseconds(999);
  ASSERT_FALSE(library_.Add().empty());
  ASSERT_FALSE(library_.Add().empty());
  const std::span<const MacroEntry> entries = library_.Entries();
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].guid, "2024_01_02_03_04_05_000");
  EXPECT_EQ(entries[1].guid, "2024_01_02_03_04_05_002");
  EXPECT_EQ(entries[2].guid, "2024_01_02_03_04_05_003");
  EXPECT_EQ(entries[3].guid, "2024_01_02_03_04_05_999");
  EXPECT_EQ(entries[4].guid, "2024_01_02_03_04_06_000");
}

TEST_F(MacroLibraryTest, RenameRefusesAmpersandsBlanksAndTakenNames) {
  WriteFiveMacros();
  struct Case {
    const char* text;
    RenameOutcome outcome;
    std::string_view message;
  };
  for (const Case& c : {Case{"M2", RenameOutcome::kTaken, "message_text_5"},  // its own name, other case
                        Case{" m4 ", RenameOutcome::kTaken, "message_text_5"},
                        Case{"a&b", RenameOutcome::kAmpersand, "message_text_30"},
                        Case{" & ", RenameOutcome::kAmpersand, "message_text_30"},
                        Case{"", RenameOutcome::kBlank, "message_text_5"},
                        Case{" \t\n", RenameOutcome::kBlank, "message_text_5"}}) {
    const RenameResult result = library_.Rename(2, c.text);
    EXPECT_EQ(result.outcome, c.outcome) << c.text;
    EXPECT_EQ(result.MessageId(), c.message) << c.text;
  }
  EXPECT_EQ(ReadText(ListFile()), kFiveMacros) << "no refusal writes";
  EXPECT_EQ(library_.Rename(5, "new").outcome, RenameOutcome::kNoSuchMacro);

  const RenameResult renamed = library_.Rename(2, "  jump ");
  EXPECT_TRUE(renamed.renamed());
  EXPECT_EQ(renamed.MessageId(), "");
  library_.Load();
  EXPECT_EQ(library_.Names(), (std::vector<std::string>{"m0", "m1", "jump", "m3", "m4"}));
}

TEST_F(MacroLibraryTest, NamesWithMarkupOrOfAnyLengthAreKeptAsTheyAre) {
  WriteFiveMacros();
  const std::string markup = R"(<b>"x"</b> \n {})";
  const std::string long_name(10000, 'w');
  ASSERT_TRUE(library_.Rename(0, markup).renamed());
  ASSERT_TRUE(library_.Rename(1, long_name).renamed());
  ASSERT_TRUE(library_.Save(0, std::vector<MacroEvent>{{"down", 1, 0, 1}}));
  library_.Load();
  EXPECT_EQ(library_.Names()[0], markup);
  EXPECT_EQ(library_.Names()[1], long_name);
  EXPECT_EQ(library_.Events(0), (std::vector<MacroEvent>{{"down", 1, 0, 1}}));
}

TEST_F(MacroLibraryTest, DeleteRemovesTheEntryAndItsFile) {
  WriteFiveMacros();
  EXPECT_EQ(library_.Delete(2), 2);
  EXPECT_EQ(ReadText(ListFile()),
            "{\n"
            "   \"MacroInfo\" : \n"
            "   [\n"
            "      {\n"
            "         \"Guid\" : \"g0\",\n"
            "         \"MacroName\" : \"m0\"\n"
            "      },\n"
            "      {\n"
            "         \"Guid\" : \"g1\",\n"
            "         \"MacroName\" : \"m1\"\n"
            "      },\n"
            "      {\n"
            "         \"Guid\" : \"g3\",\n"
            "         \"MacroName\" : \"m3\"\n"
            "      },\n"
            "      {\n"
            "         \"Guid\" : \"g4\",\n"
            "         \"MacroName\" : \"m4\"\n"
            "      }\n"
            "   ]\n"
            "}\n");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "g2.mac"));
  for (const char* kept : {"g0.mac", "g1.mac", "g3.mac", "g4.mac"}) {
    EXPECT_EQ(ReadText(folder_ / kept), kOneEvent) << kept;
  }
  EXPECT_EQ(library_.Names(), (std::vector<std::string>{"m0", "m1", "m3", "m4"}));
  EXPECT_EQ(library_.Delete(4), -1);
  EXPECT_EQ(library_.Delete(-1), -1);

  std::filesystem::remove(folder_ / "g3.mac");
  EXPECT_EQ(library_.Delete(2), 2) << "a macro never saved deletes as well";
}

TEST_F(MacroLibraryTest, AFileTwoEntriesShareStaysUntilTheLastGoes) {
  WriteText(folder_ / "same.mac", kOneEvent);
  WriteList(R"({"MacroInfo": [{"Guid": "same", "MacroName": "a"}, {"Guid": "same", "MacroName": "b"}]})");
  EXPECT_EQ(library_.Delete(0), 0);
  EXPECT_EQ(library_.Events(0).size(), 1u);
  EXPECT_EQ(library_.Delete(0), 0);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "same.mac"));
}

TEST_F(MacroLibraryTest, AFailedWriteLeavesListAndFilesAsTheyWere) {
  WriteFiveMacros();
  {
    ScopedWriteFailure full_disk(10);
    EXPECT_EQ(library_.Add(), "");
    EXPECT_EQ(library_.Rename(0, "new").outcome, RenameOutcome::kFileError);
    EXPECT_EQ(library_.Delete(1), -1);
    EXPECT_FALSE(library_.Save(2, std::vector<MacroEvent>{}));
    WriteText(root_ / "walk.mac", kOneEvent);
    EXPECT_EQ(library_.Import(root_ / "walk.mac"), "");
    // Short enough to be written as the macro's file; the list after it is not.
    WriteText(root_ / "tiny.mac", "{}");
    EXPECT_EQ(library_.Import(root_ / "tiny.mac"), "");
  }
  EXPECT_EQ(library_.Names(), (std::vector<std::string>{"m0", "m1", "m2", "m3", "m4"}));
  EXPECT_EQ(ReadText(ListFile()), kFiveMacros);
  EXPECT_EQ(ReadText(folder_ / "g1.mac"), kOneEvent);
  EXPECT_EQ(ReadText(folder_ / "g2.mac"), kOneEvent);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 6) << "no file left behind";
}

TEST_F(MacroLibraryTest, ImportCopiesTheFileUnderItsStem) {
  WriteFiveMacros();
  const std::string source = "{\"Events\": [], \"Guid\": \"elsewhere\"}\n";
  WriteText(root_ / "m1.mac", source);
  EXPECT_EQ(library_.Import(root_ / "m1.mac"), "m1_1");
  ASSERT_EQ(library_.Count(), 6u);
  EXPECT_EQ(library_.Entries()[5].guid, "2024_01_02_03_04_05_000");
  EXPECT_EQ(ReadText(folder_ / "2024_01_02_03_04_05_000.mac"), source) << "the bytes as they were";
  EXPECT_EQ(library_.Import(root_ / "m1.mac"), "m1_1_2") << "m1 and m1_1 are taken";
  library_.Load();
  EXPECT_EQ(library_.Names(), (std::vector<std::string>{"m0", "m1", "m2", "m3", "m4", "m1_1", "m1_1_2"}));
}

TEST_F(MacroLibraryTest, ImportOfAFileThatCannotBeReadAddsNothing) {
  WriteFiveMacros();
  WriteText(root_ / "broken.mac", "{\"Events\": [");
  WriteText(root_ / "empty.mac", "");
  for (const char* name : {"missing.mac", "broken.mac", "empty.mac"}) {
    EXPECT_EQ(library_.Import(root_ / name), "") << name;
  }
  std::filesystem::create_directories(root_ / "folder.mac");
  EXPECT_EQ(library_.Import(root_ / "folder.mac"), "");
  EXPECT_EQ(library_.Count(), 5u);
  EXPECT_EQ(ReadText(ListFile()), kFiveMacros);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 6);
}

TEST_F(MacroLibraryTest, ExportCopiesASavedMacroAndNothingElse) {
  WriteFiveMacros();
  ASSERT_TRUE(library_.Export(1, root_ / "out.mac"));
  EXPECT_EQ(ReadText(root_ / "out.mac"), kOneEvent);
  EXPECT_TRUE(library_.Export(1, folder_ / "g1.mac")) << "onto itself: nothing to do";
  EXPECT_EQ(ReadText(folder_ / "g1.mac"), kOneEvent);

  ASSERT_EQ(library_.Add(), "macro_1");
  WriteText(root_ / "target.mac", "keep me");
  EXPECT_FALSE(library_.Export(5, root_ / "target.mac")) << "never saved";
  EXPECT_EQ(ReadText(root_ / "target.mac"), "keep me");
  EXPECT_FALSE(library_.Export(9, root_ / "target.mac"));
  EXPECT_EQ(ReadText(root_ / "target.mac"), "keep me");
}

TEST_F(MacroLibraryTest, IdentifiersThatAreNotPlainNamesNeverReachAFile) {
  std::filesystem::create_directories(folder_ / "a");
  std::filesystem::create_directories(root_ / "abs");
  const std::filesystem::path up = root_ / "x.mac";
  const std::filesystem::path absolute = root_ / "abs" / "x.mac";
  const std::filesystem::path below = folder_ / "a" / "b.mac";
  for (const auto& target : {up, absolute, below}) WriteText(target, kOneEvent);
  const std::string absolute_guid = (root_ / "abs" / "x").string();
  WriteList(R"({"MacroInfo": [{"Guid": "../x", "MacroName": "up"}, {"Guid": ")" + absolute_guid +
            R"(", "MacroName": "abs"}, {"Guid": "a/b", "MacroName": "below"}, {"MacroName": "none"}]})");
  ASSERT_EQ(library_.Names(), (std::vector<std::string>{"up", "abs", "below", "none"}));

  WriteText(root_ / "target.mac", "keep me");
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(library_.FileOf(i).empty()) << i;
    EXPECT_TRUE(library_.Events(i).empty()) << i;
    EXPECT_FALSE(library_.Save(i, std::vector<MacroEvent>{{"down", 1, 0, 1}})) << i;
    EXPECT_FALSE(library_.Export(i, root_ / "target.mac")) << i;
  }
  EXPECT_TRUE(library_.Rename(0, "renamed").renamed()) << "listed and named as any other";
  for (int i = 3; i >= 0; --i) EXPECT_EQ(library_.Delete(i), i);
  EXPECT_EQ(library_.Count(), 0u);
  for (const auto& target : {up, absolute, below}) EXPECT_EQ(ReadText(target), kOneEvent) << target;
  EXPECT_EQ(ReadText(root_ / "target.mac"), "keep me");
}

}  // namespace
}  // namespace norvane::macro
