// The JSON helper: tolerant reads, typed accessors, atomic writes, damaged files kept aside.
#include "profiles/json_file_util.h"

#include <gtest/gtest.h>

#include "platform/atomic_file.h"
#include "profiles/json_access.h"
#include "tests/support/temp_folder.h"

namespace norvane {
namespace {

using testing::ReadText;
using testing::ScopedEnv;
using testing::TempFolder;
using testing::WriteText;

Json::Value Parse(const std::string& text) {
  Json::Value value;
  EXPECT_TRUE(JsonFileUtil::TryParseJson(text, value)) << text;
  return value;
}

TEST(JsonAccess, WrongTypesReadAsMissingWithoutThrowing) {
  const Json::Value doc = Parse(R"({"s": "12", "a": [1, 2], "o": {"k": 7}, "n": null})");
  EXPECT_EQ(json::ReadInteger<int>(doc, "s"), 0);
  EXPECT_EQ(json::ReadInteger<int>(doc, "a"), 0);
  EXPECT_EQ(json::ReadInteger<int>(doc["a"], "k"), 0) << "a key lookup in an array reads as missing";
  EXPECT_TRUE(json::Element(doc["o"], 0).isNull()) << "an index into an object reads as missing";
  EXPECT_TRUE(json::Element(doc["a"], -1).isNull());
  EXPECT_TRUE(json::Element(doc["a"], 2).isNull());
  EXPECT_EQ(json::ReadString(doc, "o"), "");
  EXPECT_EQ(json::ReadInteger<int>(json::Member(doc, "o"), "k"), 7);
  EXPECT_EQ(doc["a"].size(), 2u) << "reading never grows an array";
}

TEST(JsonAccess, IntegersAreTruncatedToTheFieldWidth) {
  const Json::Value doc = Parse(R"({"big": 258, "neg": -1, "real": 3.9, "huge": 1e300, "wide": 70000})");
  EXPECT_EQ(json::ReadInteger<std::uint8_t>(doc, "big"), 2);
  EXPECT_EQ(json::ReadInteger<std::uint8_t>(doc, "neg"), 255);
  EXPECT_EQ(json::ReadInteger<std::uint8_t>(doc, "real"), 3);
  EXPECT_EQ(json::ReadInteger<std::uint8_t>(doc, "huge"), 0);
  EXPECT_EQ(json::ReadInteger<std::uint16_t>(doc, "wide"), 70000 & 0xFFFF);
}

TEST(JsonAccess, FlagsAreAnyNonZeroNumberOrTrue) {
  const Json::Value doc =
      Parse(R"({"t": true, "f": false, "five": 5, "one": 1, "zero": 0, "half": 0.5, "s": "1"})");
  EXPECT_EQ(json::ReadFlag(doc, "t"), 1);
  EXPECT_EQ(json::ReadFlag(doc, "five"), 1);
  EXPECT_EQ(json::ReadFlag(doc, "one"), 1);
  EXPECT_EQ(json::ReadFlag(doc, "half"), 1);
  EXPECT_EQ(json::ReadFlag(doc, "f"), 0);
  EXPECT_EQ(json::ReadFlag(doc, "zero"), 0);
  EXPECT_EQ(json::ReadFlag(doc, "s"), 0);
  EXPECT_EQ(json::ReadFlag(doc, "missing"), 0);
}

TEST(JsonAccess, WritesReplaceWrongTypesAndRefuseHugeIndexes) {
  Json::Value doc = Parse(R"({"section": "oops", "list": {"x": 1}})");
  json::MemberForWrite(json::MemberForWrite(doc, "section"), "key") = 1;
  EXPECT_EQ(doc["section"]["key"].asInt(), 1);
  EXPECT_EQ(json::ElementForWrite(doc["list"], -1), nullptr);
  EXPECT_EQ(json::ElementForWrite(doc["list"], json::kMaxWritableIndex + 1), nullptr);
  EXPECT_TRUE(doc["list"].isObject()) << "a refused write changes nothing";
  ASSERT_NE(json::ElementForWrite(doc["list"], 2), nullptr);
  EXPECT_EQ(doc["list"].size(), 3u);
}

TEST(JsonFileUtil, ReadsMissingEmptyAndBrokenFilesAsNull) {
  TempFolder folder;
  JsonFileUtil util;
  EXPECT_TRUE(util.ReadJsonValue(folder / "absent.json").isNull());
  WriteText(folder / "empty.json", "");
  EXPECT_TRUE(util.ReadJsonValue(folder / "empty.json").isNull());
  WriteText(folder / "broken.json", "{\"a\": ");
  EXPECT_TRUE(util.ReadJsonValue(folder / "broken.json").isNull());
  WriteText(folder / "deep.json", std::string(100000, '[') + std::string(100000, ']'));
  EXPECT_TRUE(util.ReadJsonValue(folder / "deep.json").isNull()) << "deep nesting is refused, not a crash";
  EXPECT_TRUE(util.readjsonFile(folder.path()).empty()) << "a folder is not a file";
}

TEST(JsonFileUtil, WritesStyledTextThatReadsBackWithItsComments) {
  TempFolder folder;
  JsonFileUtil util;
  const auto path = folder / "doc.json";
  Json::Value doc = Parse("{\n   // kept\n   \"name\" : \"有线\",\n   \"n\" : 3\n}\n");
  ASSERT_TRUE(util.WriteJsonValue(path, doc));
  const std::string text = ReadText(path);
  EXPECT_NE(text.find("// kept"), std::string::npos);
  EXPECT_NE(text.find("有线"), std::string::npos) << "strings are written as UTF-8";
  EXPECT_EQ(text.back(), '\n');
  EXPECT_NE(text.substr(text.size() - 2, 1), "\n") << "exactly one trailing newline";
  EXPECT_EQ(util.ReadJsonValue(path)["n"].asInt(), 3);
}

TEST(JsonFileUtil, UnparsableFileIsKeptAsideBeforeItIsOverwritten) {
  TempFolder folder;
  JsonFileUtil util;
  const auto path = folder / "profile.Json";
  WriteText(path, "this is not json");
  ASSERT_TRUE(util.WriteJsonValue(path, Json::Value(1)));
  EXPECT_EQ(ReadText(folder / "profile.Json.bak"), "this is not json");
  EXPECT_EQ(util.ReadJsonValue(path).asInt(), 1);
  // A readable file is simply replaced.
  ASSERT_TRUE(util.WriteJsonValue(path, Json::Value(2)));
  EXPECT_EQ(ReadText(folder / "profile.Json.bak"), "this is not json");
}

TEST(JsonFileUtil, OversizedFileReadsAsNullAndIsKeptBeforeReplacement) {
  TempFolder folder;
  JsonFileUtil util;
  const auto path = folder / "huge.json";
  std::filesystem::resize_file((WriteText(path, "{}"), path), (64u << 20) + 1);
  EXPECT_TRUE(util.readjsonFile(path).empty());
  ASSERT_TRUE(util.WriteJsonValue(path, Json::Value(1)));
  EXPECT_EQ(std::filesystem::file_size(folder / "huge.json.bak"), (64u << 20) + 1);
}

TEST(JsonFileUtil, FailedWriteReportsAndKeepsOldFile) {
  TempFolder folder;
  JsonFileUtil util;
  const auto path = folder / "doc.json";
  ASSERT_TRUE(util.WriteJsonValue(path, Parse(R"({"keep": 1})")));
  ScopedWriteFailure failure(5);
  const FileResult result = util.WriteJsonValue(path, Parse(R"({"keep": 2})"));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(util.ReadJsonValue(path)["keep"].asInt(), 1);
}

TEST(JsonFileUtil, TimeNamesAndFileStems) {
  ScopedEnv tz("TZ", "UTC");
  tzset();
  const auto when = std::chrono::system_clock::from_time_t(1704164645) + std::chrono::milliseconds(7);
  EXPECT_EQ(JsonFileUtil::MakeTimeName(when), "2024_01_02_03_04_05_007");
  EXPECT_EQ(JsonFileUtil::MakeTimeName(when).size(), 23u);
  EXPECT_EQ(JsonFileUtil::FileStem("/some/folder/Game.json"), "Game");
  EXPECT_EQ(JsonFileUtil::FileStem("archive.tar.json"), "archive.tar");
}

}  // namespace
}  // namespace norvane
