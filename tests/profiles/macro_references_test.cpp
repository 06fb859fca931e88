// Deleting a macro across a device folder's profiles: which keys change and how, that a plan writes
// nothing, and that a commit changes every profile or none.
#include "profiles/macro_references.h"

#include <gtest/gtest.h>

#include "platform/atomic_file.h"
#include "tests/support/temp_folder.h"

namespace norvane {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

// Assignments are type << 16 | data1 << 8 | data2, written in decimal as the files hold them.
// The current profile: a key on macro 1 (0x700100, default A 0x200004), one on macro 0 (0x700000) and
// the key B (0x200005).
constexpr const char* kCurrent =
    R"({"Device": [{"KeyList": [{"Assignment": 7340288, "DefaultAssignment": 2097156},
                                {"Assignment": 7340032, "DefaultAssignment": 2097157},
                                {"Assignment": 2097157, "DefaultAssignment": 2097157}]}],
        "profilename": "current"})";
// Another profile: macro 2 with cycle count 3 (0x710203) and macro 3 with end mode 2 (0x700302).
constexpr const char* kOther =
    R"({"Device": [{"KeyList": [{"Assignment": 7406083, "DefaultAssignment": 2097156},
                                {"Assignment": 7340802, "DefaultAssignment": 2097157}]}],
        "profilename": "other"})";
constexpr const char* kNoMacros = R"({"Device": [{"KeyList": [{"Assignment": 2097156}]}]})";
constexpr const char* kDamaged = R"({"Device": [{"KeyList": [)";

class MacroRemovalTest : public ::testing::Test {
 protected:
  MacroRemovalTest() {
    WriteText(folder_ / "p0.Json", kCurrent);
    WriteText(folder_ / "p1.Json", kOther);
    WriteText(folder_ / "p2.Json", kNoMacros);
    WriteText(folder_ / "p3.Json", kDamaged);
  }

  std::vector<std::filesystem::path> Profiles() const {
    return {folder_ / "p0.Json", folder_ / "p1.Json", folder_ / "p2.Json", folder_ / "p3.Json"};
  }
  void ExpectProfilesAsWritten() const {
    EXPECT_EQ(ReadText(folder_ / "p0.Json"), kCurrent);
    EXPECT_EQ(ReadText(folder_ / "p1.Json"), kOther);
    EXPECT_EQ(ReadText(folder_ / "p2.Json"), kNoMacros);
    EXPECT_EQ(ReadText(folder_ / "p3.Json"), kDamaged);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 4) << "no temporaries";
  }

  TempFolder folder_;
};

TEST(MacroReferences, KeysOnTheMacroGetTheirDefaultAndLaterOnesMoveDown) {
  struct Case {
    KeyFunction current;
    KeyFunction expected;
  };
  const KeyFunction key_a{0x20, 0, 0x04};
  for (const Case& c :
       {Case{{0x70, 1, 2}, key_a}, Case{{0x71, 1, 9}, key_a}, Case{{0x70, 2, 2}, {0x70, 1, 2}},
        Case{{0x71, 5, 9}, {0x71, 4, 9}}, Case{{0x70, 0, 1}, {0x70, 0, 1}}, Case{{0x72, 3, 0}, {0x72, 3, 0}},
        Case{{0x20, 2, 0}, {0x20, 2, 0}}}) {
    const KeyAssignment key{0, c.current, 0, key_a};
    EXPECT_EQ(FunctionAfterMacroRemoval(key, 1), c.expected) << c.current.Pack();
  }
}

TEST_F(MacroRemovalTest, APlanNamesTheChangedProfilesAndWritesNothing) {
  const MacroRemovalPlan plan = PlanMacroRemoval(Profiles(), folder_ / "p0.Json", 1);
  ASSERT_EQ(plan.changed.size(), 2u);
  EXPECT_EQ(plan.changed[0].path, folder_ / "p0.Json");
  EXPECT_EQ(plan.changed[1].path, folder_ / "p1.Json");
  EXPECT_TRUE(plan.currentUsesMacro);
  // Cancelled: the plan goes and nothing anywhere has changed.
  ExpectProfilesAsWritten();

  EXPECT_FALSE(PlanMacroRemoval(Profiles(), folder_ / "p1.Json", 1).currentUsesMacro)
      << "the current profile's keys only move to the macro one lower";
  EXPECT_FALSE(PlanMacroRemoval(Profiles(), folder_ / "p0.Json", 3).currentUsesMacro);
  EXPECT_EQ(PlanMacroRemoval(Profiles(), folder_ / "p0.Json", 4).changed.size(), 0u);
}

TEST_F(MacroRemovalTest, ACommitRewritesEveryChangedProfileBeforeTheMacroGoes) {
  WriteText(folder_ / "ProfileList.ini", R"({"profilelist": [
      {"profilename": "current", "profileUUID": "p0"}, {"profilename": "other", "profileUUID": "p1"},
      {"profilename": "none", "profileUUID": "p2"}, {"profilename": "damaged", "profileUUID": "p3"}],
      "profileselect": 0})");
  CDeviceProfileList list;
  list.SetFolders(folder_.path(), folder_ / "missing.Json");
  ASSERT_TRUE(list.LoadProfileList().done());
  const MacroRemovalPlan plan = PlanMacroRemoval(list, 1);
  EXPECT_TRUE(plan.currentUsesMacro);

  int removals = 0;
  ASSERT_TRUE(CommitMacroRemoval(plan, [&] {
    ++removals;
    EXPECT_NE(ReadText(folder_ / "p1.Json"), kOther) << "profiles are in place before the macro goes";
    return true;
  }));
  EXPECT_EQ(removals, 1);
  EXPECT_EQ(ReadText(folder_ / "p1.Json"),
            "{\n"
            "   \"Device\" : \n"
            "   [\n"
            "      {\n"
            "         \"KeyList\" : \n"
            "         [\n"
            "            {\n"
            "               \"Assignment\" : 7405827,\n"  // 0x710103: macro 1, cycle count 3
            "               \"DefaultAssignment\" : 2097156\n"
            "            },\n"
            "            {\n"
            "               \"Assignment\" : 7340546,\n"  // 0x700202: macro 2, end mode 2
            "               \"DefaultAssignment\" : 2097157\n"
            "            }\n"
            "         ]\n"
            "      }\n"
            "   ],\n"
            "   \"profilename\" : \"other\"\n"
            "}\n");
  const Json::Value current = JsonFileUtil().ReadJsonValue(folder_ / "p0.Json");
  const Json::Value& keys = current["Device"][0]["KeyList"];
  EXPECT_EQ(keys[0]["Assignment"].asInt(), 2097156) << "the key on macro 1 is A again";
  EXPECT_EQ(keys[1]["Assignment"].asInt(), 7340032);
  EXPECT_EQ(keys[2]["Assignment"].asInt(), 2097157);
  EXPECT_EQ(ReadText(folder_ / "p2.Json"), kNoMacros);
  EXPECT_EQ(ReadText(folder_ / "p3.Json"), kDamaged);
}

TEST_F(MacroRemovalTest, AWriteFailingMidwayLeavesEveryProfileAsItWas) {
  // The second profile's replacement is longer than the first's, so only its write fails.
  const std::string long_name(3000, 'n');
  const std::string other = std::string(kOther).replace(std::string(kOther).find("other"), 5, long_name);
  WriteText(folder_ / "p1.Json", other);
  const MacroRemovalPlan plan = PlanMacroRemoval(Profiles(), folder_ / "p0.Json", 1);
  ASSERT_EQ(plan.changed.size(), 2u);
  ASSERT_LT(plan.changed[0].replacement.size(), 2000u);
  bool removed = false;
  {
    ScopedWriteFailure full_disk(2000);
    EXPECT_FALSE(CommitMacroRemoval(plan, [&] { return removed = true; }));
  }
  EXPECT_FALSE(removed);
  EXPECT_EQ(ReadText(folder_ / "p1.Json"), other);
  WriteText(folder_ / "p1.Json", kOther);  // so that the others are checked as usual
  ExpectProfilesAsWritten();
}

TEST_F(MacroRemovalTest, AMacroThatCannotBeDeletedPutsTheProfilesBack) {
  const MacroRemovalPlan plan = PlanMacroRemoval(Profiles(), folder_ / "p0.Json", 1);
  EXPECT_FALSE(CommitMacroRemoval(plan, [] { return false; }));
  ExpectProfilesAsWritten();
}

TEST_F(MacroRemovalTest, AProfileSavedAfterThePlanStopsTheCommit) {
  const MacroRemovalPlan plan = PlanMacroRemoval(Profiles(), folder_ / "p0.Json", 1);
  const std::string saved = R"({"Device": [{"KeyList": [{"Assignment": 7406083}]}], "profilename": "saved"})";
  WriteText(folder_ / "p1.Json", saved);
  bool removed = false;
  EXPECT_FALSE(CommitMacroRemoval(plan, [&] { return removed = true; }));
  EXPECT_FALSE(removed);
  EXPECT_EQ(ReadText(folder_ / "p0.Json"), kCurrent);
  EXPECT_EQ(ReadText(folder_ / "p1.Json"), saved);
}

}  // namespace
}  // namespace norvane
