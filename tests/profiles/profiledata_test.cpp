// Profile documents: loading, completion from the default profile, every section's read and write rules.
#include <gtest/gtest.h>

#include "platform/atomic_file.h"
#include "profiles/hs6533_profiledata.h"
#include "profiles/json_file_util.h"
#include "profiles/keyboard_profiledata.h"
#include "profiles/mouse_profiledata.h"
#include "tests/support/temp_folder.h"

namespace norvane {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

const std::filesystem::path kDefaults = std::filesystem::path(NORVANE_SOURCE_DIR) / "DefaultData";

Json::Value ReadDoc(const std::filesystem::path& path) {
  return JsonFileUtil().ReadJsonValue(path);
}

// A document of the given kind whose entry comes from text (the body of "Device"[0]).
template <typename Document>
Document WithEntry(const TempFolder& folder, const std::string& entry_text) {
  const auto path = folder / "p.Json";
  WriteText(path, R"({"Device": [)" + entry_text + R"(], "profilename": "P", "profileUUID": "p"})");
  Document document;
  document.SetFilePath(path);
  document.LoadEntry(path);
  return document;
}

TEST(ProfileDocument, SparseFileIsCompletedFromTheDefaultAndKeepsItsNameAndId) {
  TempFolder folder;
  const auto path = folder / "2024_01_01_00_00_00_000.Json";
  WriteText(path, R"({"profilename": "Mine", "profileUUID": "2024_01_01_00_00_00_000", "Extra": [1]})");
  CKeyboardProfiledata document;
  document.SetDefaultPath(kDefaults / "keyboard.Json");
  document.SetFilePath(path);
  const Json::Value entry = document.LoadEntry(path);
  ASSERT_TRUE(entry.isObject());
  EXPECT_TRUE(document.GetLastLoadResult().ok);
  const Json::Value stored = ReadDoc(path);
  EXPECT_EQ(stored["profilename"].asString(), "Mine");
  EXPECT_EQ(stored["profileUUID"].asString(), "2024_01_01_00_00_00_000");
  EXPECT_EQ(stored["Extra"][0].asInt(), 1);
  EXPECT_EQ(stored["Device"][0], ReadDoc(kDefaults / "keyboard.Json")["Device"][0]);
  EXPECT_EQ(document.GetKeyList().size(), 170u);
}

TEST(ProfileDocument, CorruptProfileIsKeptAsideAndDefaultsLoad) {
  TempFolder folder;
  const auto path = folder / "x.Json";
  WriteText(path, "{ broken");
  CMouseProfiledata document;
  document.SetDefaultPath(kDefaults / "mouse.Json");
  document.LoadEntry(path);
  EXPECT_EQ(ReadText(folder / "x.Json.bak"), "{ broken");
  EXPECT_EQ(document.GetDpiStages().size(), 5u);
  EXPECT_TRUE(ReadDoc(path)["Device"][0].isObject());
}

TEST(ProfileDocument, WrongShapedDocumentIsKeptAsideBeforeRepair) {
  TempFolder folder;
  const auto path = folder / "x.Json";
  WriteText(path, R"({"Device": {"not": "an array"}})");
  CBasicProfiledata document;
  document.SetDefaultPath(kDefaults / "MousePad.Json");
  document.LoadEntry(path);
  EXPECT_EQ(ReadText(folder / "x.Json.bak"), R"({"Device": {"not": "an array"}})");
  EXPECT_TRUE(ReadDoc(path)["Device"].isArray());
}

TEST(ProfileDocument, MissingDefaultLeavesEveryGetterAtItsDefault) {
  TempFolder folder;
  CKeyboardProfiledata document;
  document.SetDefaultPath(folder / "absent.Json");
  EXPECT_TRUE(document.LoadEntry(folder / "new.Json").isNull());
  EXPECT_EQ(document.GetLightInfo(), LightEffect{});
  EXPECT_EQ(document.GetSystemStages(), KeyboardSystemStages{});
  EXPECT_TRUE(document.GetKeyList().empty());
  EXPECT_FALSE(document.Save().ok) << "no file path was set";
}

TEST(ProfileDocument, SaveKeepsEverythingOutsideTheEntryAndReportsFailure) {
  TempFolder folder;
  auto document = WithEntry<CBasicProfiledata>(folder, R"({"LightInfo": {"SelectItem": 1}}, {"second": 2})");
  LightEffect light;
  light.mode = 7;
  document.SetLightInfo(light);
  ASSERT_TRUE(document.Save());
  Json::Value stored = ReadDoc(folder / "p.Json");
  EXPECT_EQ(stored["Device"][0]["LightInfo"]["SelectItem"].asInt(), 7);
  EXPECT_EQ(stored["Device"][1]["second"].asInt(), 2);
  EXPECT_EQ(stored["profilename"].asString(), "P");

  light.mode = 9;
  document.SetLightInfo(light);
  ScopedWriteFailure failure(10);
  EXPECT_FALSE(document.Save().ok);
  EXPECT_EQ(ReadDoc(folder / "p.Json")["Device"][0]["LightInfo"]["SelectItem"].asInt(), 7);
}

TEST(ProfileDocument, LightInfoRoundTripWithFlagsAndTruncation) {
  TempFolder folder;
  auto document = WithEntry<CBasicProfiledata>(
      folder, R"({"LightInfo": {"SelectItem": 300, "Light": 4, "Speed": "fast", "Fx": 1, "MultiColor": 5,
                 "Red": 1, "Green": 2, "Blue": 3, "ZZCCLedMode": 4, "CustomGroup": 5, "OldLedmode": 6}})");
  const LightEffect light = document.GetLightInfo();
  EXPECT_EQ(light.mode, 300 & 0xFF);
  EXPECT_EQ(light.speed, 0) << "a string reads as missing";
  EXPECT_EQ(light.multi_color, 1);
  EXPECT_EQ(light.old_led_mode, 6);
  document.SetLightInfo(light);
  ASSERT_TRUE(document.Save());
  const Json::Value info = ReadDoc(folder / "p.Json")["Device"][0]["LightInfo"];
  EXPECT_EQ(info["MultiColor"].asInt(), 1);
  EXPECT_EQ(info["SelectItem"].asInt(), 44);
  EXPECT_EQ(info.size(), 11u);
  for (const char* key : {"SelectItem", "Light", "Speed", "Fx", "MultiColor", "Red", "Green", "Blue",
                          "ZZCCLedMode", "CustomGroup", "OldLedmode"}) {
    EXPECT_TRUE(info.isMember(key)) << key;
  }
}

TEST(ProfileDocument, NullAndWrongTypedSectionsReadAsDefaultsAndReadsAddNothing) {
  TempFolder folder;
  auto document = WithEntry<CKeyboardProfiledata>(
      folder, R"({"LightInfo": null, "AudioLightInfo": [1, 2], "SystemStages": "x", "KeyList": {"a": 1}})");
  EXPECT_EQ(document.GetLightInfo(), LightEffect{});
  EXPECT_EQ(document.GetAudioLightInfo(), AudioLightInfo{});
  EXPECT_EQ(document.GetSystemStages(), KeyboardSystemStages{});
  EXPECT_TRUE(document.GetKeyList().empty());
  EXPECT_TRUE(document.GetLightList().empty());
  EXPECT_FALSE(document.GetEntry().isMember("LightList")) << "reading a missing section adds nothing";
  document.SetSystemStages({1, 2, 3, 4, 5, 6});
  EXPECT_EQ(document.GetSystemStages(), (KeyboardSystemStages{1, 2, 3, 4, 5, 6}));
}

TEST(ProfileDocument, AudioLightRoundTrip) {
  TempFolder folder;
  auto document = WithEntry<CKeyboardProfiledata>(folder, R"({"AudioLightInfo": {"7ColorFlags": true}})");
  EXPECT_EQ(document.GetAudioLightInfo().seven_color, 1);
  const AudioLightInfo audio{3, 10, 20, 30, 40, 50, 60, 1, 0};
  document.SetAudioLightInfo(audio);
  ASSERT_TRUE(document.Save());
  CKeyboardProfiledata reloaded;
  reloaded.LoadEntry(folder / "p.Json");
  EXPECT_EQ(reloaded.GetAudioLightInfo(), audio);
  EXPECT_EQ(reloaded.GetEntry()["AudioLightInfo"]["7ColorFlags"].asInt(), 1);
}

TEST(ProfileDocument, LightListMarksPresentElements) {
  TempFolder folder;
  auto document = WithEntry<CBasicProfiledata>(
      folder, R"({"LightList": [null, {"LEDREGMode": 2, "LEDDirection": 9, "LEDMultiColor": true, "red": 256,
                 "green": 1, "blue": 2, "LEDBrightness": 3, "LEDSpeed": 4}, 17]})");
  const auto list = document.GetLightList();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], LightEffect{});
  EXPECT_EQ(list[1].present, 1);
  EXPECT_EQ(list[1].direction, 1) << "the direction of a list element is a flag";
  EXPECT_EQ(list[1].multi_color, 1);
  EXPECT_EQ(list[1].red, 0);
  EXPECT_EQ(list[1].speed, 4);
  EXPECT_EQ(list[2].present, 0);
}

TEST(ProfileDocument, KeyListPacksAssignmentsAndLeavesDefaultsAndLaterKeys) {
  TempFolder folder;
  auto document = WithEntry<CBasicProfiledata>(
      folder, R"({"KeyList": [{"Assignment": 258, "DefaultAssignment": 1}, {"Assignment": "x"},
                 {"Assignment": 99, "DefaultAssignment": 98}]})");
  auto keys = document.GetKeyList();
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].current, (KeyFunction{0, 1, 2}));
  EXPECT_EQ(keys[0].default_function, (KeyFunction{0, 0, 1}));
  EXPECT_EQ(keys[2].key_index, 2);
  EXPECT_EQ(keys[2].default_key_index, 2);
  EXPECT_EQ(keys[1].current, KeyFunction{});
  keys.resize(2);
  keys[1].current = {0x70, 3, 1};
  keys[1].default_function = {0x20, 0, 4};
  document.SetKeyList(keys);
  ASSERT_TRUE(document.Save());
  const Json::Value list = ReadDoc(folder / "p.Json")["Device"][0]["KeyList"];
  EXPECT_EQ(list[0]["Assignment"].asInt(), 258);
  EXPECT_EQ(list[1]["Assignment"].asInt(), 0x700301);
  EXPECT_FALSE(list[1].isMember("DefaultAssignment")) << "defaults are never written";
  EXPECT_EQ(list[2]["Assignment"].asInt(), 99);
  EXPECT_EQ(list[2]["DefaultAssignment"].asInt(), 98);
}

TEST(ProfileDocument, SecondaryEntryIsSeparateFromTheCurrentOne) {
  TempFolder folder;
  auto document = WithEntry<CBasicProfiledata>(folder, R"({"KeyList": [{"Assignment": 1}]})");
  const auto other = folder / "other.Json";
  WriteText(other,
            R"({"Device": [{"KeyList": [{"Assignment": 5}, {"Assignment": 6}]}], "profilename": "O"})");
  document.LoadSecondary(other);
  auto keys = document.GetSecondaryKeyList();
  ASSERT_EQ(keys.size(), 2u);
  keys[1].current = {0, 0, 7};
  document.SetSecondaryKeyList(keys);
  ASSERT_TRUE(document.SaveSecondaryTo(other));
  EXPECT_EQ(ReadDoc(other)["Device"][0]["KeyList"][1]["Assignment"].asInt(), 7);
  EXPECT_EQ(ReadDoc(other)["profilename"].asString(), "O");
  EXPECT_EQ(document.GetKeyList().size(), 1u);
}

TEST(KeyboardDocument, LightColorsFillMissingPositionsAndAreStoredOnSave) {
  TempFolder folder;
  auto document = WithEntry<CKeyboardProfiledata>(folder, R"({"LightInfo": {}})");
  const auto colors = document.GetLightColors(2, 4);
  ASSERT_EQ(colors.size(), 4u);
  EXPECT_EQ(colors[3], LightColor{});
  ASSERT_TRUE(document.Save());
  const Json::Value info = ReadDoc(folder / "p.Json")["Device"][0]["CustomLightMode"]["LightColorInfo"];
  ASSERT_EQ(info[2].size(), 4u);
  EXPECT_EQ(info[2][3]["Alpha"].asInt(), 0);

  document.SetLightColors({{1, 2, 3, 4, 1}, {5, 6, 7, 8, 1}}, 2);
  const auto read = document.GetLightColors(2, 3);
  EXPECT_EQ(read[0], (LightColor{1, 2, 3, 4, 0})) << "the set mark is not stored";
  EXPECT_EQ(read[1], (LightColor{5, 6, 7, 8, 0}));
  EXPECT_EQ(read[2], LightColor{});
}

TEST(KeyboardDocument, ImplausibleGroupIndexesReadAsDefaultAndWriteNothing) {
  TempFolder folder;
  auto document = WithEntry<CKeyboardProfiledata>(
      folder, R"({"CustomLightMode": {"CustomLightModeGroupIndex": 4000000000, "LightColorInfo": []}})");
  EXPECT_EQ(document.GetLightColorGroup(), 0);
  const Json::Value before = document.GetEntry();
  EXPECT_EQ(document.GetLightColors(-1, 3).size(), 3u);
  EXPECT_EQ(document.GetLightColors(1 << 30, 3).size(), 3u);
  document.SetLightColors({{1, 1, 1, 1, 0}}, 1 << 30);
  document.SetLightColorGroup(-5);
  EXPECT_EQ(document.GetEntry(), before);
  document.SetLightColorGroup(3);
  EXPECT_EQ(document.GetLightColorGroup(), 3);
}

TEST(MouseDocument, DpiStagesMergeIntoAMemberThatNeverShrinks) {
  TempFolder folder;
  auto document = WithEntry<CMouseProfiledata>(
      folder, R"({"DPIStages": {"StageActive": 2, "StageDPIs": [{"StageDPIX": 70000, "StageColorR": 9},
                 {"StageActive": 1}]}})");
  document.SetDpiStages(std::vector<DpiStage>(4, DpiStage{1, 1, 10, 10, 1, 1, 1}));
  document.LoadEntry(folder / "p.Json");
  const auto stages = document.GetDpiStages();
  ASSERT_EQ(stages.size(), 4u);
  EXPECT_EQ(stages[0].dpi_x, 70000 & 0xFFFF);
  EXPECT_EQ(stages[0].red, 9);
  EXPECT_EQ(stages[1], (DpiStage{1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(stages[3], (DpiStage{1, 1, 10, 10, 1, 1, 1}));
  EXPECT_EQ(document.GetActiveDpiStage(), 2);
}

TEST(MouseDocument, DpiStagesAndActiveStageRoundTrip) {
  TempFolder folder;
  auto document = WithEntry<CMouseProfiledata>(folder, R"({"DPIStages": {"StageActive": -3}})");
  document.GetDpiStages();
  EXPECT_EQ(document.GetActiveDpiStage(), 0) << "a negative stage from a file reads as stage 0";
  const std::vector<DpiStage> stages{{1, 0, 400, 400, 255, 0, 0}, {0, 1, 800, 1600, 0, 255, 0}};
  document.SetDpiStages(stages);
  document.SetActiveDpiStage(1);
  ASSERT_TRUE(document.Save());
  CMouseProfiledata reloaded;
  reloaded.LoadEntry(folder / "p.Json");
  EXPECT_EQ(reloaded.GetDpiStages(), stages);
  EXPECT_EQ(reloaded.GetActiveDpiStage(), 1);
  const Json::Value stage = reloaded.GetEntry()["DPIStages"]["StageDPIs"][1];
  for (const char* key :
       {"StageActive", "StageXY", "StageDPIX", "StageDPIY", "StageColorR", "StageColorG", "StageColorB"}) {
    EXPECT_TRUE(stage.isMember(key)) << key;
  }
}

TEST(MouseDocument, SystemStagesUseTheirOddKeyNames) {
  TempFolder folder;
  auto document = WithEntry<CMouseProfiledata>(folder, R"({"ReportStages": {"StageActive": 4}})");
  EXPECT_EQ(document.GetSystemStages(), MouseSystemStages{}) << "no SystemStages: everything zero";
  const MouseSystemStages stages{5, 10, 1, 1, 3, 2};
  document.SetSystemStages(stages);
  ASSERT_TRUE(document.Save());
  const Json::Value entry = ReadDoc(folder / "p.Json")["Device"][0];
  EXPECT_EQ(entry["SystemStages"]["ScorllPage"].asInt(), 1);
  EXPECT_EQ(entry["SystemStages"]["WheelScorlllinse"].asInt(), 3);
  EXPECT_EQ(entry["ReportStages"]["StageActive"].asInt(), 2);
  EXPECT_EQ(document.GetSystemStages(), stages);
}

TEST(MouseDocument, CorrectInfoFromTheDefaultProfile) {
  TempFolder folder;
  CMouseProfiledata document;
  document.SetDefaultPath(kDefaults / "mouse.Json");
  document.LoadEntry(folder / "new.Json");
  const auto entries = document.GetCorrectInfo();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].select, 1);
  EXPECT_EQ(entries[2].name, "Strong");
}

TEST(HeadsetDocument, EqualizerRowsFollowTheType) {
  TempFolder folder;
  auto document = WithEntry<CHs6533Profiledata>(folder, R"({"SystemSetStages": {"EqType": 3}})");
  EXPECT_EQ(document.GetEqValues(0), std::vector<std::int32_t>(10, 0)) << "a missing row reads as zeros";
  EXPECT_EQ(document.GetEntry()["EQHzValueInfo"][1].size(), 10u) << "and is written as zeros";
  const std::vector<std::int32_t> values{7, 11, 2, -3, -1, 4, 9, 12, 9, 5, 99};
  EXPECT_TRUE(document.SetEqValues(0, values));
  EXPECT_EQ(document.GetEqValues(1), std::vector<std::int32_t>(values.begin(), values.begin() + 10));
  EXPECT_EQ(document.GetEqValues(99), document.GetEqValues(1)) << "unknown types share row 1";
  EXPECT_TRUE(document.GetEqValues(13).empty());
  EXPECT_FALSE(document.SetEqValues(13, values));
  const Json::Value before = document.GetEntry();
  EXPECT_FALSE(document.SetEqValues(5, {1, 2, 3})) << "fewer than ten values write nothing";
  EXPECT_EQ(document.GetEntry(), before);
}

TEST(HeadsetDocument, CustomPresetsAndNames) {
  TempFolder folder;
  auto document = WithEntry<CHs6533Profiledata>(folder, R"({"CustomEQNameInfo": [{"Name": "Bass"}, 3]})");
  EXPECT_EQ(document.GetCustomEqNames(), (std::vector<std::string>{"Bass", ""}));
  document.SetCustomEqNames({"Game", "影院"});
  EXPECT_EQ(document.GetCustomEqNames(), (std::vector<std::string>{"Game", "影院"}));
  const std::vector<std::int32_t> values{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_TRUE(document.SetCustomEqValues(1, values));
  EXPECT_EQ(document.GetCustomEqValues(1), values);
  const Json::Value before = document.GetEntry();
  EXPECT_FALSE(document.SetCustomEqValues(-1, values));
  EXPECT_FALSE(document.SetCustomEqValues(1 << 28, values));
  EXPECT_FALSE(document.SetCustomEqValues(0, {1}));
  EXPECT_EQ(document.GetCustomEqValues(1 << 28), std::vector<std::int32_t>(10, 0));
  EXPECT_EQ(document.GetEntry(), before);
}

TEST(HeadsetDocument, SystemSetStagesRoundTrip) {
  TempFolder folder;
  auto document = WithEntry<CHs6533Profiledata>(folder, "{}");
  const HeadsetSystemSetStages stages{1, 2, 13, 4, 1, 80, 0, -5};
  document.SetSystemSetStages(stages);
  ASSERT_TRUE(document.Save());
  CHs6533Profiledata reloaded;
  reloaded.LoadEntry(folder / "p.Json");
  EXPECT_EQ(reloaded.GetSystemSetStages(), stages);
  EXPECT_TRUE(reloaded.GetEntry()["SystemSetStages"].isMember("CustomEqSeletIndex"));
  EXPECT_TRUE(reloaded.GetEntry()["SystemSetStages"].isMember("MicMoniterValue"));
}

TEST(CustomLightSteps, ResolveAgainstTheDeviceFolderAndStayInside) {
  TempFolder folder;
  const auto device = folder / "keyboard";
  std::filesystem::create_directories(device);
  WriteText(
      device / "vexor_light.config",
      R"({"LightInfo": [[{"Guid": ""}, {"Guid": "steps"}, {"Guid": "../outside"}, {"Guid": "/etc/x"},
                          {"Guid": "sub/steps"}, {"Guid": 12}]]})");
  WriteText(
      device / "steps.light",
      R"({"LEDEffectList": [{"LEDREGMode": 3, "LEDMultiColor": 5, "red": 1, "Time": 500, "Cyle": 2}]})");
  WriteText(folder / "outside.light", R"({"LEDEffectList": [{"LEDREGMode": 1}]})");
  std::filesystem::create_directories(device / "sub");
  WriteText(device / "sub" / "steps.light", R"({"LEDEffectList": [{"LEDREGMode": 1}]})");

  auto document = WithEntry<CKeyboardProfiledata>(folder, "{}");
  document.SetLightConfigPath(device / "vexor_light.config");
  document.LoadLightConfig(device / "vexor_light.config");
  LightEffect light;
  light.mode = 1;
  document.SetLightInfo(light);
  const auto steps = document.GetCustomLightSteps();
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].effect.mode, 3);
  EXPECT_EQ(steps[0].effect.multi_color, 5) << "step files keep the multi-colour value as an integer";
  EXPECT_EQ(steps[0].time, 500);
  EXPECT_EQ(steps[0].cycle, 2);
  // Only plain names in the folder: no way up, nothing absolute, no sub-folders, nothing that is no text.
  for (std::uint8_t mode : {0, 2, 3, 4, 5, 200}) {
    light.mode = mode;
    document.SetLightInfo(light);
    EXPECT_TRUE(document.GetCustomLightSteps().empty()) << int(mode);
  }
}

TEST(DefaultData, EveryDefaultProfileLoadsWithItsSections) {
  TempFolder folder;
  CKeyboardProfiledata keyboard;
  keyboard.SetDefaultPath(kDefaults / "keyboard.Json");
  keyboard.LoadEntry(folder / "k.Json");
  EXPECT_EQ(keyboard.GetKeyList().size(), 170u);
  EXPECT_EQ(keyboard.GetKeyList()[16].default_function, (KeyFunction{0xA0, 0x1B, 0x00}));
  EXPECT_EQ(keyboard.GetLightColors(0, 170).size(), 170u);
  EXPECT_EQ(keyboard.GetLightInfo().brightness, 4);

  CMouseProfiledata mouse;
  mouse.SetDefaultPath(kDefaults / "mouse.Json");
  mouse.LoadEntry(folder / "m.Json");
  EXPECT_EQ(mouse.GetKeyList().size(), 11u);
  EXPECT_EQ(mouse.GetKeyList()[0].current, (KeyFunction{0x10, 0x01, 0x00}));

  CBasicProfiledata pad;
  pad.SetDefaultPath(kDefaults / "MousePad.Json");
  EXPECT_TRUE(pad.LoadEntry(folder / "p.Json").isMember("LightInfo"));

  CHs6533Profiledata headset;
  headset.SetDefaultPath(kDefaults / "HD.Json");
  headset.LoadEntry(folder / "h.Json");
  EXPECT_EQ(headset.GetEqValues(2), (std::vector<std::int32_t>{7, 11, 6, -3, -11, -1, 6, 13, 6, 13}));
  EXPECT_EQ(headset.GetSystemSetStages().eq_type, 5);
}

// Profiles read from memory (what the fuzz targets use) must read as the same files do, and touch nothing.
TEST(ProfileDocumentFromText, GivesTheEntryTheSameFileGivesAndWritesNothing) {
  const Json::Value defaults = ReadDoc(kDefaults / "mouse.Json");
  const std::vector<std::string> texts = {
      R"({"Device": [{"LightInfo": {"SelectItem": 3}}], "profilename": "P", "profileUUID": "p"})",
      R"({"profilename": "Sparse", "profileUUID": "s"})",  // completed from the defaults
      "{ broken",
      R"([1, 2])",                        // another shape
      R"({"Device": {"not": "a list"}})",
      ""};
  for (const std::string& text : texts) {
    TempFolder folder;
    const auto path = folder / "p.Json";
    WriteText(path, text);
    CMouseProfiledata fromFile;
    fromFile.SetDefaultPath(kDefaults / "mouse.Json");
    const Json::Value expected = fromFile.LoadEntry(path);

    TempFolder empty;
    CMouseProfiledata fromText;
    fromText.SetFilePath(empty / "never.Json");
    EXPECT_EQ(fromText.LoadEntryFromText(text, defaults), expected) << text;
    EXPECT_EQ(fromText.GetLightInfo().mode, fromFile.GetLightInfo().mode) << text;
    EXPECT_TRUE(std::filesystem::is_empty(empty.path())) << text;
  }
  CMouseProfiledata nothing;
  EXPECT_TRUE(nothing.LoadEntryFromText("{}", Json::Value()).isNull()) << "no entry and nothing to repair with";
}

TEST(CustomLightSteps, FromTextNameOnlyPlainFilesBesideTheConfiguration) {
  CKeyboardProfiledata document;
  document.SetLightConfigPath("/device/vexor_light.config");
  document.LoadLightConfigFromText(R"({"LightInfo": [[{"Guid": "steps"}, {"Guid": "../up"}]]})");
  LightEffect light;
  light.mode = 0;
  document.SetLightInfo(light);
  EXPECT_EQ(document.CustomLightStepsFile(), std::filesystem::path("/device/steps.light"));
  light.mode = 1;
  document.SetLightInfo(light);
  EXPECT_TRUE(document.CustomLightStepsFile().empty());

  const auto steps = CBasicProfiledata::ParseLightSteps(
      R"({"LEDEffectList": [{"LEDREGMode": 3, "Time": 500, "Cyle": 2}, 7, {"LEDREGMode": 1}]})");
  ASSERT_EQ(steps.size(), 3u) << "an element that is no object reads as a step of defaults";
  EXPECT_EQ(steps[0].effect.mode, 3);
  EXPECT_EQ(steps[0].time, 500);
  EXPECT_EQ(steps[0].cycle, 2);
  EXPECT_TRUE(CBasicProfiledata::ParseLightSteps("[").empty());
}

}  // namespace
}  // namespace norvane
